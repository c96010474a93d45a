// The drawing levels: each coarser level keeps fewer moves, never leaves out a change of kind,
// a hole or a large arc, and stays within twice its tolerance of the moves it leaves out.
#include "toolpath/DrawLevels.h"
#include "toolpath/Geometry.h"
#include "toolpath/Interpreter.h"

#include <QTest>

#include <cmath>

using namespace tarmel::toolpath;

namespace {
Toolpath run(const QByteArray &text) { return interpretProgram(std::string_view(text.constData(), std::size_t(text.size()))); }
} // namespace

class TestDrawLevels : public QObject {
    Q_OBJECT
private slots:
    void levels_data()
    {
        QTest::addColumn<int>("moves");
        QTest::addColumn<int>("every");       // the first `length` moves of every `every` are written with `code`,
        QTest::addColumn<int>("length");      // the others are feed moves
        QTest::addColumn<QByteArray>("code");
        QTest::newRow("small program: no levels") << 500 << 1 << 0 << QByteArray();
        QTest::newRow("feed moves only") << 40000 << 1 << 0 << QByteArray();
        QTest::newRow("with rapids") << 40000 << 500 << 1 << QByteArray("G0");
        QTest::newRow("rapids often") << 20000 << 7 << 1 << QByteArray("G0");
        QTest::newRow("runs of holes") << 20000 << 50 << 10 << QByteArray("G81 Z-1 R1");
    }
    void levels()
    {
        QFETCH(int, moves);
        QFETCH(int, every);
        QFETCH(int, length);
        QFETCH(QByteArray, code);
        QByteArray text = "F500\n"; // a spiral of short moves
        for (int i = 0; i < moves; ++i) {
            const double a = i * 0.01, r = 5 + i * 0.0005;
            text += (i % every < length ? code : "G1") + " X" + QByteArray::number(r * std::cos(a), 'f', 4) + " Y"
                    + QByteArray::number(r * std::sin(a), 'f', 4) + "\n";
        }
        const Toolpath path = run(text);
        const DrawLevels levels = buildDrawLevels(path);
        QCOMPARE(levels.kept.empty(), moves < 1000);
        QCOMPARE(levels.tolerances.size(), levels.kept.size());
        std::size_t finer = path.moves.size();
        for (std::size_t k = 0; k < levels.kept.size(); ++k) {
            const std::vector<std::uint32_t> &kept = levels.kept[k];
            QVERIFY(kept.size() < finer);
            finer = kept.size();
            QCOMPARE(std::size_t(kept.back()), path.moves.size() - 1);
            // Every move left out lies within twice the tolerance of the last kept point before it
            // (each level is built from the finer one), and runs of one kind end on a kept move.
            Point3 last = path.origin;
            std::size_t next = 0;
            for (std::size_t i = 0; i < path.moves.size(); ++i) {
                const Move &m = path.moves[i];
                if (next < kept.size() && kept[next] == i) {
                    last = m.end;
                    ++next;
                    continue;
                }
                QVERIFY2(std::hypot(m.end.x - last.x, m.end.y - last.y, m.end.z - last.z) < 2 * levels.tolerances[k],
                         qPrintable(QStringLiteral("move %1").arg(i)));
                QVERIFY(m.kind == path.moves[i + 1].kind && m.kind != MoveKind::Hole);
            }
            QCOMPARE(next, kept.size());
        }
        // The level for a tolerance is the coarsest one within it.
        QCOMPARE(levels.levelFor(0), 0);
        QCOMPARE(levels.levelFor(1e9), int(levels.kept.size()));
        if (!levels.kept.empty())
            QCOMPARE(levels.levelFor(levels.tolerances[0]), 1);
    }

    void largeArcsKeepTheirStart()
    {
        QByteArray text;
        for (int i = 0; i < 5000; ++i)
            text += "G1 X" + QByteArray::number(i * 0.0001, 'f', 4) + "\n";
        const Toolpath path = run(text + "G3 X0.4999 Y20 R10\nG1 X0.5\n"); // a half circle of radius 10 after tiny moves
        const DrawLevels levels = buildDrawLevels(path);
        const std::uint32_t arc = 5000;
        QVERIFY(!levels.kept.empty() && path.moves[arc].kind == MoveKind::Arc);
        for (const std::vector<std::uint32_t> &kept : levels.kept) {
            const auto at = std::find(kept.begin(), kept.end(), arc);
            QVERIFY(at != kept.end() && at != kept.begin());
            QCOMPARE(*(at - 1), arc - 1);
        }
    }
};

QTEST_GUILESS_MAIN(TestDrawLevels)
#include "tst_DrawLevels.moc"
