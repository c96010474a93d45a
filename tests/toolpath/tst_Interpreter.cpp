// The interpreter: motion words, modal state, arcs of the three planes, reports, figures.
#include "toolpath/Geometry.h"
#include "toolpath/Interpreter.h"
#include "tests/support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <cmath>

using namespace tarmel::toolpath;

namespace {
// A point to four decimals, so that points compare as text.
QString str(const Point3 &p)
{
    const auto n = [](double v) { return QString::number(std::abs(v) < 5e-5 ? 0.0 : v, 'f', 4); };
    return n(p.x) + ' ' + n(p.y) + ' ' + n(p.z);
}

Toolpath run(const QByteArray &program) { return interpretProgram(std::string_view(program.constData(), program.size())); }
} // namespace

class TestInterpreter : public QObject {
    Q_OBJECT
private slots:
    void moves_data()
    {
        QTest::addColumn<QByteArray>("program");
        QTest::addColumn<int>("moveCount");
        QTest::addColumn<QString>("end");      // of the last move
        QTest::addColumn<QString>("midpoint"); // of the last move
        const auto row = [](const char *name, const char *program, int count, Point3 end, Point3 mid) {
            QTest::newRow(name) << QByteArray(program) << count << str(end) << str(mid);
        };
        const double s = 10 / std::sqrt(2.0), si = 25.4 / std::sqrt(2.0);
        row("rapid", "G0 X10 Y5 Z2", 1, {10, 5, 2}, {5, 2.5, 1});
        row("linear, modal", "G1 X10 F100\nY20", 2, {10, 20, 0}, {10, 10, 0});
        row("incremental", "G91 G1 X10 Y10\nX5 Y-3", 2, {15, 7, 0}, {12.5, 8.5, 0});
        row("back to absolute", "G91 G1 X10\nG90 X4", 2, {4, 0, 0}, {7, 0, 0});
        row("inch", "G20 G0 X1 Y2", 1, {25.4, 50.8, 0}, {12.7, 25.4, 0});
        row("inch then mm", "G20 G0 X1\nG21 X1", 2, {1, 0, 0}, {13.2, 0, 0});
        row("inch, incremental", "G20 G91 G0 X1\nX1", 2, {50.8, 0, 0}, {38.1, 0, 0});
        row("lower case, no blanks", "g1x3y4", 1, {3, 4, 0}, {1.5, 2, 0});
        row("block numbers", "N10 G1 X3 Y4\nN20 X6", 2, {6, 4, 0}, {4.5, 4, 0});
        row("comments", "G1 X5 (Y99) ; Z99\n(G0 X100)\n; G0 X200", 1, {5, 0, 0}, {2.5, 0, 0});
        row("CR LF and lone CR", "G0 X1\r\nG0 X2\rG0 X3", 3, {3, 0, 0}, {2.5, 0, 0});
        row("G17 G03 I J", "G0 X10 Y0\nG3 X0 Y10 I-10 J0", 2, {0, 10, 0}, {s, s, 0});
        row("G17 G02 I J", "G0 X0 Y10\nG2 X10 Y0 I0 J-10", 2, {10, 0, 0}, {s, s, 0});
        row("G17 G02 I J below", "G0 X0 Y10\nG2 X0 Y-10 J-10", 2, {0, -10, 0}, {10, 0, 0});
        row("G17 G03 R+", "G0 X10 Y0\nG3 X0 Y10 R10", 2, {0, 10, 0}, {s, s, 0});
        row("G17 G03 R-", "G0 X10 Y0\nG3 X0 Y10 R-10", 2, {0, 10, 0}, {10 + s, 10 + s, 0});
        row("G17 G02 R-", "G0 X0 Y10\nG2 X10 Y0 R-10", 2, {10, 0, 0}, {10 + s, 10 + s, 0});
        row("G17 half circle R", "G0 X10\nG3 X-10 R10", 2, {-10, 0, 0}, {0, 10, 0});
        row("G18 G02 K I", "G18 G0 X10 Z0\nG2 X0 Z10 I-10 K0", 2, {0, 0, 10}, {s, 0, s});
        row("G18 G03 K I", "G18 G0 X10 Z0\nG3 X0 Z10 I-10 K0", 2, {0, 0, 10}, {-s, 0, -s});
        row("G19 G03 J K", "G19 G0 Y10 Z0\nG3 Y0 Z10 J-10 K0", 2, {0, 0, 10}, {0, s, s});
        row("G19 G02 J K", "G19 G0 Y10 Z0\nG2 Y0 Z10 J-10 K0", 2, {0, 0, 10}, {0, -s, -s});
        row("full circle G02", "G0 X5 Y0\nG2 X5 Y0 I-5 J0", 2, {5, 0, 0}, {-5, 0, 0});
        row("full circle G03, no end words", "G0 X5 Y0\nG3 I-5", 2, {5, 0, 0}, {-5, 0, 0});
        row("incremental arc", "G0 X10 Y0\nG91 G3 X-10 Y10 I-10 J0", 2, {0, 10, 0}, {s, s, 0});
        row("helix", "G0 X10\nG3 X10 Y0 Z-5 I-10", 2, {10, 0, -5}, {-10, 0, -2.5});
        row("inch arc", "G20 G0 X1\nG3 X0 Y1 R1", 2, {0, 25.4, 0}, {si, si, 0});
        row("decimal forms", "G1 X.5 Y5. Z-0.25", 1, {0.5, 5, -0.25}, {0.25, 2.5, -0.125});
        row("drilling: holes then rapid", "G81 X10 Y10 Z-5 R2\nX20\nG80\nG0 X0", 3, {0, 10, 0}, {10, 10, 0});
        row("after G80 no move", "G81 X10 Y10 Z-5 R2\nG80\nX30", 1, {10, 10, 0}, {5, 5, 0});
    }

    void moves()
    {
        QFETCH(QByteArray, program);
        const Toolpath path = run(program);
        QTEST(int(path.moves.size()), "moveCount");
        const std::size_t i = path.moves.size() - 1;
        const Move &m = path.moves[i];
        const Point3 s = path.startOf(i);
        QTEST(str(m.end), "end");
        QTEST(str(m.kind == MoveKind::Arc ? arcPoint(path.arcs[m.arc], s, m.end, 0.5)
                                          : Point3{(s.x + m.end.x) / 2, (s.y + m.end.y) / 2, (s.z + m.end.z) / 2}),
              "midpoint");
    }

    // Each move as kind, line and flags ("/" block delete, "!" bad arc); each report as word@firstLine x count.
    void movesAndReports_data()
    {
        QTest::addColumn<QByteArray>("program");
        QTest::addColumn<QString>("moves");
        QTest::addColumn<QString>("reports");
        const auto row = [](const char *name, const char *program, const char *moves, const char *reports) {
            QTest::newRow(name) << QByteArray(program) << QString(moves) << QString(reports);
        };
        row("motion words", "G0 X1\nG1 X2\nG2 X4 R1\nG3 X6 R1\nG00 X0\nG01 X1", "R0 F1 A2 A3 R4 F5", "");
        row("modal motion survives other words", "G1 X1 F10\nM3 S1000\nX2\nT1 M6\nY3", "F0 F2 F4", "");
        row("G-code without axes does not move", "G0\nG1\nG2\nG1 X1", "F3", "");
        row("block delete", "G1 X1\n/G1 X2\n/ X3\nX4", "F0 F1/ F2/ F3", "");
        row("bad arc drawn as a line", "G0 X10\nG3 X0 Y10 I-3 J0", "R0 F1!", "arc@1x1");
        row("radius too short", "G0 X10\nG2 X-10 R4", "R0 F1!", "arc@1x1");
        row("R with start at end", "G2 X0 Y0 R5", "F0!", "arc@0x1");
        row("tolerance accepts rounding", "G0 X10\nG3 X0 Y10.004 I-10 J0", "R0 A1", "");
        row("drilling holes", "G0 Z5\nG83 X1 Y1 Z-3 R1 Q1\nX2\nY2\nG80", "R0 H1 H2 H3", "G83@1x1");
        row("program name, percent, empty lines", "%\nO1000\n\n:2000\nG0 X1\n%", "R4", "");
        row("macro line skipped", "#1=5\nG1 X[#1+1]\nG1 X2", "F2", "#@0x2");
        row("nothing unusual", "G90 G21 G17\nG0 X1 Y1 Z1\nG1 X2 F100 S1000 M3\nM30", "R1 F2", "");
        row("drilling cycle once per kind", "G81 X1 Y1 Z-1 R1\nG81 X2\nG82 X3 P1\nG80", "H0 H1 H2", "G81@0x2;G82@2x1");
        row("subprogram calls", "M98 P100\nM98 P200\nM99", "", "M98@0x2;M99@2x1");
        row("variables", "G0 X1\n#1=5\nG1 X#1\n#2=[#1*2]", "R0", "#@1x3");
        row("macro call", "G65 P9010 A1", "", "G65@0x1;A@0x1");
        row("rotary axis", "G1 X1 A30\nA40", "F0", "A@0x2");
        row("cutter compensation", "G41 D1 G1 X1\nG40 X0", "F0 F1", "G41@0x1");
        row("decimal G-code", "G0 X1\nG64.1 P0.1", "R0", "G64.1@1x1");
        row("inconsistent arcs", "G0 X10\nG3 X0 Y10 I-3 J0\nG2 X50 R1", "R0 F1! F2!", "arc@1x2");
        row("word without number", "G1 X1\nIF [1 GT 0] GOTO 5", "F0", "#@1x1");
        row("program flow names", "G1 X1\nGOTOF LABEL_1\nLABEL_1: X2\ngotof LABEL_1", "F0", "GOTOF@1x2;LABEL_@2x1");
        row("letter without number", "G1 X", "", "X@0x1");
    }

    void movesAndReports()
    {
        QFETCH(QByteArray, program);
        const Toolpath path = run(program);
        QStringList moves, reports;
        for (const Move &m : path.moves)
            moves << QString("RFAH"[int(m.kind)]) + QString::number(m.line) + (m.flags & moveflag::BlockDelete ? "/" : "")
                         + (m.flags & moveflag::BadArc ? "!" : "");
        for (const Report &r : path.reports)
            reports << QStringLiteral("%1@%2x%3").arg(r.word).arg(r.firstLine).arg(r.count);
        QTEST(moves.join(' '), "moves");
        QTEST(reports.join(';'), "reports");
    }

    void figures_data()
    {
        QTest::addColumn<QByteArray>("program");
        QTest::addColumn<QString>("lengths"); // rapid, feed, minutes with rapids at 5000 mm/min
        QTest::addColumn<QString>("min");
        QTest::addColumn<QString>("max");
        const auto row = [](const char *name, const char *program, Point3 lengths, Point3 min, Point3 max) {
            QTest::newRow(name) << QByteArray(program) << str(lengths) << str(min) << str(max);
        };
        // 10 + 20 mm of rapids, 20 mm at 200 and 10 mm at 100: 0.1 + 0.1 + 30 / 5000 minutes.
        row("rectangle path", "G21 G90\nG0 X10\nG1 X10 Y20 F200\nG1 X0 Y20 F100\nG0 X0 Y0", {30, 30, 0.206}, {0, 0, 0}, {10, 20, 0});
        row("half circle, its top at Y10", "G1 X10 F100\nG3 X-10 Y0 R10", {0, 10 + 10 * M_PI, (10 + 10 * M_PI) / 100},
            {-10, 0, 0}, {10, 10, 0});
        row("full circle: extremes on both axes", "G0 X5\nG2 X5 I-5 F50", {5, 10 * M_PI, 0.001 + 10 * M_PI / 50}, {-5, -5, 0},
            {5, 5, 0});
        row("inch feed: one minute", "G20 G1 X1 F1", {0, 25.4, 1}, {0, 0, 0}, {25.4, 0, 0});
        row("no feed: length without time", "G1 X3 Y4", {0, 5, 0}, {0, 0, 0}, {3, 4, 0});
        row("hole depth in bounds, reached by rapid", "G0 Z5\nG81 X3 Y4 Z-2 R1", {10, 0, 0.002}, {0, 0, -2}, {3, 4, 5});
    }

    void figures()
    {
        QFETCH(QByteArray, program);
        const Figures f = run(program).figures;
        QTEST(str({f.rapidLength, f.feedLength, f.minutes(5000)}), "lengths");
        QTEST(str(f.bounds.min), "min");
        QTEST(str(f.bounds.max), "max");
    }

    // Top: Y up; front: Z up; side: Y right; isometric: the three unit axes equally short, Z straight up.
    void projections()
    {
        const double a = std::sqrt(0.5), b = std::sqrt(1 / 6.0), c = std::sqrt(2 / 3.0);
        const std::tuple<ViewAngles, Point3, Point3> rows[] = {
            {topView(), {0, 1, 0}, {0, 1, 0}},       {frontView(), {0, 0, 1}, {0, 1, 0}},
            {sideView(), {0, 1, 0}, {1, 0, 0}},      {isometricView(), {1, 0, 0}, {a, -b, 0}},
            {isometricView(), {0, 1, 0}, {a, b, 0}}, {isometricView(), {0, 0, 1}, {0, c, 0}}};
        for (const auto &[view, point, uv] : rows) {
            const Projection p(view);
            QCOMPARE(str({p.u(point), p.v(point), 0}), str(uv));
        }
    }

    void cancelStopsEarly()
    {
        QByteArray program;
        for (int i = 0; i < 100000; ++i)
            program += "G1 X" + QByteArray::number(i % 100) + "\n";
        std::atomic<bool> cancel{false};
        int lastProgress = -1;
        InterpretOptions options;
        options.cancel = &cancel;
        options.progress = [&](int permille) { cancel = (lastProgress = permille) > 300; };
        const Toolpath stopped = interpretProgram(std::string_view(program.constData(), program.size()), options);
        QVERIFY(!stopped.complete && stopped.moves.size() < 50000 && lastProgress > 300 && lastProgress < 1000);
        cancel = false;
        options.progress = [&](int permille) { lastProgress = permille; };
        const Toolpath whole = interpretProgram(std::string_view(program.constData(), program.size()), options);
        QVERIFY(whole.complete);
        QCOMPARE(whole.lineCount, 100000);
        QCOMPARE(lastProgress, 1000);
    }

    // Every corpus program runs through to its end; the words each one reports are printed.
    void corpusInterprets()
    {
        SKIP_WITHOUT_CORPUS(QStringLiteral("nc"));
        const QDir dir(testsupport::corpusPath(QStringLiteral("nc")));
        const QStringList names = dir.entryList(QDir::Files, QDir::Name);
        QVERIFY(!names.isEmpty());
        int withMoves = 0;
        for (const QString &name : names) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            const Toolpath path = run(bytes);
            QVERIFY(path.complete);
            QVERIFY2(path.lineCount >= bytes.count('\n'), qPrintable(name));
            for (std::size_t i = 1; i < path.moves.size(); ++i)
                QVERIFY2(path.moves[i].line >= path.moves[i - 1].line, qPrintable(name));
            withMoves += !path.moves.empty();
            QStringList words;
            for (const Report &r : path.reports)
                words << QStringLiteral("%1 (ligne %2)").arg(r.word).arg(r.firstLine + 1);
            qInfo("%s: %d moves; not followed: %s", qPrintable(name), int(path.moves.size()), qPrintable(words.join(", ")));
        }
        QVERIFY(withMoves > names.size() / 2);
    }
};

QTEST_GUILESS_MAIN(TestInterpreter)
#include "tst_Interpreter.moc"
