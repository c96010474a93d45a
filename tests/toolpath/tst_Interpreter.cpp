// The interpreter: motion words, modal state, arcs of the three planes, reports, figures.
#include "toolpath/Geometry.h"
#include "toolpath/Interpreter.h"
#include "tests/support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QPointF>
#include <QTest>

#include <cmath>

using namespace tarmel::toolpath;

Q_DECLARE_METATYPE(Point3)
Q_DECLARE_METATYPE(ViewAngles)

namespace {
constexpr double kEps = 1e-6;

QString pointText(const Point3 &p)
{
    return QStringLiteral("(%1, %2, %3)").arg(p.x, 0, 'f', 6).arg(p.y, 0, 'f', 6).arg(p.z, 0, 'f', 6);
}

bool near(const Point3 &a, const Point3 &b)
{
    return std::abs(a.x - b.x) < kEps && std::abs(a.y - b.y) < kEps && std::abs(a.z - b.z) < kEps;
}

// The point halfway along the last move of the path.
Point3 lastMidpoint(const Toolpath &path)
{
    const std::size_t i = path.moves.size() - 1;
    const Move &m = path.moves[i];
    const Point3 s = path.startOf(i);
    if (m.kind == MoveKind::Arc)
        return arcPoint(path.arcs[m.arc], s, m.end, 0.5);
    return {(s.x + m.end.x) / 2, (s.y + m.end.y) / 2, (s.z + m.end.z) / 2};
}

Toolpath run(const QString &program)
{
    const QByteArray bytes = program.toUtf8();
    return interpretProgram(std::string_view(bytes.constData(), bytes.size()));
}

QString reportText(const Toolpath &path)
{
    QStringList parts;
    for (const Report &r : path.reports)
        parts << QStringLiteral("%1@%2x%3").arg(r.word).arg(r.firstLine).arg(r.count);
    return parts.join(QLatin1Char(';'));
}
} // namespace

class TestInterpreter : public QObject {
    Q_OBJECT
private slots:
    void moves_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<int>("moveCount");
        QTest::addColumn<Point3>("end");
        QTest::addColumn<Point3>("midpoint"); // of the last move

        const double s = 10 / std::sqrt(2.0); // 7.0710678…
        QTest::newRow("rapid") << "G0 X10 Y5 Z2" << 1 << Point3{10, 5, 2} << Point3{5, 2.5, 1};
        QTest::newRow("linear, modal") << "G1 X10 F100\nY20" << 2 << Point3{10, 20, 0} << Point3{10, 10, 0};
        QTest::newRow("incremental") << "G91 G1 X10 Y10\nX5 Y-3" << 2 << Point3{15, 7, 0} << Point3{12.5, 8.5, 0};
        QTest::newRow("back to absolute") << "G91 G1 X10\nG90 X4" << 2 << Point3{4, 0, 0} << Point3{7, 0, 0};
        QTest::newRow("inch") << "G20 G0 X1 Y2" << 1 << Point3{25.4, 50.8, 0} << Point3{12.7, 25.4, 0};
        QTest::newRow("inch then mm") << "G20 G0 X1\nG21 X1" << 2 << Point3{1, 0, 0} << Point3{13.2, 0, 0};
        QTest::newRow("lower case, no blanks") << "g1x3y4" << 1 << Point3{3, 4, 0} << Point3{1.5, 2, 0};
        QTest::newRow("block numbers") << "N10 G1 X3 Y4\nN20 X6" << 2 << Point3{6, 4, 0} << Point3{4.5, 4, 0};
        QTest::newRow("comments") << "G1 X5 (Y99) ; Z99\n(G0 X100)\n; G0 X200" << 1 << Point3{5, 0, 0} << Point3{2.5, 0, 0};
        QTest::newRow("CR LF and lone CR") << "G0 X1\r\nG0 X2\rG0 X3" << 3 << Point3{3, 0, 0} << Point3{2.5, 0, 0};
        QTest::newRow("G17 G03 I J") << "G0 X10 Y0\nG3 X0 Y10 I-10 J0" << 2 << Point3{0, 10, 0} << Point3{s, s, 0};
        QTest::newRow("G17 G02 I J") << "G0 X0 Y10\nG2 X10 Y0 I0 J-10" << 2 << Point3{10, 0, 0} << Point3{s, s, 0};
        QTest::newRow("G17 G02 I J below") << "G0 X0 Y10\nG2 X0 Y-10 J-10" << 2 << Point3{0, -10, 0} << Point3{10, 0, 0};
        QTest::newRow("G17 G03 R+") << "G0 X10 Y0\nG3 X0 Y10 R10" << 2 << Point3{0, 10, 0} << Point3{s, s, 0};
        QTest::newRow("G17 G03 R-") << "G0 X10 Y0\nG3 X0 Y10 R-10" << 2 << Point3{0, 10, 0} << Point3{10 + s, 10 + s, 0};
        QTest::newRow("G17 G02 R-") << "G0 X0 Y10\nG2 X10 Y0 R-10" << 2 << Point3{10, 0, 0} << Point3{10 + s, 10 + s, 0};
        QTest::newRow("G17 half circle R") << "G0 X10\nG3 X-10 R10" << 2 << Point3{-10, 0, 0} << Point3{0, 10, 0};
        QTest::newRow("G18 G02 K I") << "G18 G0 X10 Z0\nG2 X0 Z10 I-10 K0" << 2 << Point3{0, 0, 10} << Point3{s, 0, s};
        QTest::newRow("G18 G03 K I") << "G18 G0 X10 Z0\nG3 X0 Z10 I-10 K0" << 2 << Point3{0, 0, 10} << Point3{-s, 0, -s};
        QTest::newRow("G19 G03 J K") << "G19 G0 Y10 Z0\nG3 Y0 Z10 J-10 K0" << 2 << Point3{0, 0, 10} << Point3{0, s, s};
        QTest::newRow("G19 G02 J K") << "G19 G0 Y10 Z0\nG2 Y0 Z10 J-10 K0" << 2 << Point3{0, 0, 10} << Point3{0, -s, -s};
        QTest::newRow("full circle G02") << "G0 X5 Y0\nG2 X5 Y0 I-5 J0" << 2 << Point3{5, 0, 0} << Point3{-5, 0, 0};
        QTest::newRow("full circle G03, no end words") << "G0 X5 Y0\nG3 I-5" << 2 << Point3{5, 0, 0} << Point3{-5, 0, 0};
        QTest::newRow("incremental arc") << "G0 X10 Y0\nG91 G3 X-10 Y10 I-10 J0" << 2 << Point3{0, 10, 0}
                                         << Point3{s, s, 0};
        QTest::newRow("helix") << "G0 X10\nG3 X10 Y0 Z-5 I-10" << 2 << Point3{10, 0, -5} << Point3{-10, 0, -2.5};
        QTest::newRow("inch arc") << "G20 G0 X1\nG3 X0 Y1 R1" << 2 << Point3{0, 25.4, 0}
                                  << Point3{25.4 / std::sqrt(2.0), 25.4 / std::sqrt(2.0), 0};
        QTest::newRow("decimal forms") << "G1 X.5 Y5. Z-0.25" << 1 << Point3{0.5, 5, -0.25} << Point3{0.25, 2.5, -0.125};
        QTest::newRow("drilling: holes then rapid") << "G81 X10 Y10 Z-5 R2\nX20\nG80\nG0 X0" << 3 << Point3{0, 10, 0}
                                                    << Point3{10, 10, 0};
        QTest::newRow("after G80 no move") << "G81 X10 Y10 Z-5 R2\nG80\nX30" << 1 << Point3{10, 10, 0} << Point3{5, 5, 0};
    }

    void moves()
    {
        QFETCH(QString, program);
        QFETCH(int, moveCount);
        QFETCH(Point3, end);
        QFETCH(Point3, midpoint);
        const Toolpath path = run(program);
        QCOMPARE(int(path.moves.size()), moveCount);
        QVERIFY2(near(path.moves.back().end, end), qPrintable(pointText(path.moves.back().end)));
        const Point3 mid = lastMidpoint(path);
        QVERIFY2(near(mid, midpoint), qPrintable(pointText(mid)));
    }

    void kindsAndLines_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("moves"); // kind, line and flags of each move

        QTest::newRow("motion words") << "G0 X1\nG1 X2\nG2 X4 R1\nG3 X6 R1\nG00 X0\nG01 X1" << "R0 F1 A2 A3 R4 F5";
        QTest::newRow("modal motion survives other words") << "G1 X1 F10\nM3 S1000\nX2\nT1 M6\nY3" << "F0 F2 F4";
        QTest::newRow("G-code without axes does not move") << "G0\nG1\nG2\nG1 X1" << "F3";
        QTest::newRow("block delete") << "G1 X1\n/G1 X2\n/ X3\nX4" << "F0 F1/ F2/ F3";
        QTest::newRow("bad arc drawn as a line") << "G0 X10\nG3 X0 Y10 I-3 J0" << "R0 F1!";
        QTest::newRow("radius too short") << "G0 X10\nG2 X-10 R4" << "R0 F1!";
        QTest::newRow("R with start at end") << "G2 X0 Y0 R5" << "F0!";
        QTest::newRow("tolerance accepts rounding") << "G0 X10\nG3 X0 Y10.004 I-10 J0" << "R0 A1";
        QTest::newRow("drilling holes") << "G0 Z5\nG83 X1 Y1 Z-3 R1 Q1\nX2\nY2\nG80" << "R0 H1 H2 H3";
        QTest::newRow("program name, percent, empty lines") << "%\nO1000\n\n:2000\nG0 X1\n%" << "R4";
        QTest::newRow("macro line skipped") << "#1=5\nG1 X[#1+1]\nG1 X2" << "F2";
    }

    void kindsAndLines()
    {
        QFETCH(QString, program);
        QFETCH(QString, moves);
        const Toolpath path = run(program);
        QStringList got;
        for (const Move &m : path.moves) {
            static const char kinds[] = {'R', 'F', 'A', 'H'};
            QString text = QLatin1Char(kinds[int(m.kind)]) + QString::number(m.line);
            if (m.flags & moveflag::BlockDelete)
                text += QLatin1Char('/');
            if (m.flags & moveflag::BadArc)
                text += QLatin1Char('!');
            got << text;
        }
        QCOMPARE(got.join(QLatin1Char(' ')), moves);
    }

    void reports_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("reports"); // word@firstLine x count

        QTest::newRow("none") << "G90 G21 G17\nG0 X1 Y1 Z1\nG1 X2 F100 S1000 M3\nM30" << "";
        QTest::newRow("drilling cycle once per kind") << "G81 X1 Y1 Z-1 R1\nG81 X2\nG82 X3 P1\nG80" << "G81@0x2;G82@2x1";
        QTest::newRow("subprogram calls") << "M98 P100\nM98 P200\nM99" << "M98@0x2;M99@2x1";
        QTest::newRow("variables") << "G0 X1\n#1=5\nG1 X#1\n#2=[#1*2]" << "#@1x3";
        QTest::newRow("macro call") << "G65 P9010 A1" << "G65@0x1;A@0x1";
        QTest::newRow("rotary axis") << "G1 X1 A30\nA40" << "A@0x2";
        QTest::newRow("cutter compensation") << "G41 D1 G1 X1\nG40 X0" << "G41@0x1";
        QTest::newRow("decimal G-code") << "G0 X1\nG64.1 P0.1" << "G64.1@1x1";
        QTest::newRow("inconsistent arcs") << "G0 X10\nG3 X0 Y10 I-3 J0\nG2 X50 R1" << "arc@1x2";
        QTest::newRow("word without number") << "G1 X1\nIF [1 GT 0] GOTO 5" << "#@1x1";
        QTest::newRow("program flow names") << "G1 X1\nGOTOF LABEL_1\nLABEL_1: X2\ngotof LABEL_1" << "GOTOF@1x2;LABEL_@2x1";
        QTest::newRow("letter without number") << "G1 X" << "X@0x1";
    }

    void reports()
    {
        QFETCH(QString, program);
        QFETCH(QString, reports);
        QCOMPARE(reportText(run(program)), reports);
    }

    void figures_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<double>("rapid");
        QTest::addColumn<double>("feed");
        QTest::addColumn<double>("minutes"); // rapids at 5000 mm/min
        QTest::addColumn<Point3>("min");
        QTest::addColumn<Point3>("max");

        // 10 + 20 mm of rapids, 20 mm at 200 and 10 mm at 100: 0.1 + 0.1 + 30 / 5000 minutes.
        QTest::newRow("rectangle path") << "G21 G90\nG0 X10\nG1 X10 Y20 F200\nG1 X0 Y20 F100\nG0 X0 Y0" << 30.0 << 30.0
                                        << 0.206 << Point3{0, 0, 0} << Point3{10, 20, 0};
        // Half a circle of radius 10 at 100 mm/min, its top at Y10.
        QTest::newRow("half circle") << "G1 X10 F100\nG3 X-10 Y0 R10" << 0.0 << 10 + 10 * M_PI << (10 + 10 * M_PI) / 100
                                     << Point3{-10, 0, 0} << Point3{10, 10, 0};
        // Full circle of radius 5 around (0, 0): its extremes on both axes.
        QTest::newRow("full circle") << "G0 X5\nG2 X5 I-5 F50" << 5.0 << 10 * M_PI << 0.001 + 10 * M_PI / 50
                                     << Point3{-5, -5, 0} << Point3{5, 5, 0};
        // Inch feed: 1 inch at 1 inch/min is one minute.
        QTest::newRow("inch feed") << "G20 G1 X1 F1" << 0.0 << 25.4 << 1.0 << Point3{0, 0, 0} << Point3{25.4, 0, 0};
        // No feed programmed: the move's length counts, its time cannot.
        QTest::newRow("no feed") << "G1 X3 Y4" << 0.0 << 5.0 << 0.0 << Point3{0, 0, 0} << Point3{3, 4, 0};
        // A hole's depth belongs to the bounds; reaching it is a rapid move.
        QTest::newRow("hole depth") << "G0 Z5\nG81 X3 Y4 Z-2 R1" << 10.0 << 0.0 << 0.002 << Point3{0, 0, -2}
                                    << Point3{3, 4, 5};
    }

    void figures()
    {
        QFETCH(QString, program);
        QFETCH(double, rapid);
        QFETCH(double, feed);
        QFETCH(double, minutes);
        QFETCH(Point3, min);
        QFETCH(Point3, max);
        const Figures f = run(program).figures;
        const Point3 got{f.rapidLength, f.feedLength, f.minutes(5000)};
        QVERIFY2(near(got, Point3{rapid, feed, minutes}), qPrintable(pointText(got)));
        QVERIFY2(near(f.bounds.min, min), qPrintable(pointText(f.bounds.min)));
        QVERIFY2(near(f.bounds.max, max), qPrintable(pointText(f.bounds.max)));
    }

    void projections_data()
    {
        QTest::addColumn<ViewAngles>("view");
        QTest::addColumn<Point3>("point");
        QTest::addColumn<QPointF>("uv");

        QTest::newRow("top: Y up") << topView() << Point3{0, 1, 0} << QPointF(0.0, 1.0);
        QTest::newRow("front: Z up") << frontView() << Point3{0, 0, 1} << QPointF(0.0, 1.0);
        QTest::newRow("side: Y right") << sideView() << Point3{0, 1, 0} << QPointF(1.0, 0.0);
        // Isometric: the three unit axes are equally short on the screen, Z straight up.
        QTest::newRow("iso: X right, down") << isometricView() << Point3{1, 0, 0} << QPointF(std::sqrt(0.5), -std::sqrt(1 / 6.0));
        QTest::newRow("iso: Y right, up") << isometricView() << Point3{0, 1, 0} << QPointF(std::sqrt(0.5), std::sqrt(1 / 6.0));
        QTest::newRow("iso: Z up") << isometricView() << Point3{0, 0, 1} << QPointF(0.0, std::sqrt(2 / 3.0));
    }

    void projections()
    {
        QFETCH(ViewAngles, view);
        QFETCH(Point3, point);
        QFETCH(QPointF, uv);
        const Projection p(view);
        QVERIFY2(near({p.u(point), p.v(point), 0}, {uv.x(), uv.y(), 0}), qPrintable(QString::number(p.u(point))));
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
        options.progress = [&](int permille) {
            lastProgress = permille;
            if (permille > 300)
                cancel = true;
        };
        const Toolpath stopped = interpretProgram(std::string_view(program.constData(), program.size()), options);
        QVERIFY(!stopped.complete);
        QVERIFY(stopped.moves.size() < 50000);
        QVERIFY(lastProgress > 300 && lastProgress < 1000);

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
            const Toolpath path = interpretProgram(std::string_view(bytes.constData(), bytes.size()));
            QVERIFY(path.complete);
            QVERIFY2(path.lineCount >= bytes.count('\n'), qPrintable(name));
            for (std::size_t i = 1; i < path.moves.size(); ++i)
                QVERIFY2(path.moves[i].line >= path.moves[i - 1].line, qPrintable(name));
            if (!path.moves.empty())
                ++withMoves;
            QStringList words;
            for (const Report &r : path.reports)
                words << QStringLiteral("%1 (ligne %2)").arg(r.word).arg(r.firstLine + 1);
            qInfo("%s: %d moves; not followed: %s", qPrintable(name), int(path.moves.size()),
                  qPrintable(words.join(QStringLiteral(", "))));
        }
        QVERIFY(withMoves > names.size() / 2);
    }
};


QTEST_GUILESS_MAIN(TestInterpreter)
#include "tst_Interpreter.moc"
