// The drawing levels: each coarser level keeps fewer moves, never leaves out a change of kind,
// a hole or a large arc, and stays within twice its tolerance of the moves it leaves out.
#include "toolpath/DrawLevels.h"
#include "toolpath/Geometry.h"
#include "toolpath/Interpreter.h"

#include <QTest>

#include <cmath>

using namespace tarmel::toolpath;

namespace {

// A spiral of `turns` turns in short feed moves, with a rapid and a hole every `every` moves.
Toolpath spiral(int moves, int every)
{
    QByteArray text = "G1 F500\n";
    for (int i = 0; i < moves; ++i) {
        const double a = i * 0.01, r = 5 + i * 0.0005;
        if (every && i % every == every - 1)
            text += "G0 X" + QByteArray::number(r * std::cos(a), 'f', 4) + " Y" +
                    QByteArray::number(r * std::sin(a), 'f', 4) + "\nG1\n";
        else
            text += "X" + QByteArray::number(r * std::cos(a), 'f', 4) + " Y" +
                    QByteArray::number(r * std::sin(a), 'f', 4) + "\n";
    }
    return interpretProgram(std::string_view(text.constData(), std::size_t(text.size())));
}

double distance(const Point3 &a, const Point3 &b)
{
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

} // namespace

class TestDrawLevels : public QObject {
    Q_OBJECT
private slots:
    void levels_data()
    {
        QTest::addColumn<int>("moves");
        QTest::addColumn<int>("every"); // a rapid every so many moves (0: none)
        QTest::newRow("feed moves only") << 40000 << 0;
        QTest::newRow("with rapids") << 40000 << 500;
        QTest::newRow("rapids often") << 20000 << 7;
    }
    void levels()
    {
        QFETCH(int, moves);
        QFETCH(int, every);
        const Toolpath path = spiral(moves, every);
        const DrawLevels levels = buildDrawLevels(path);
        QVERIFY(!levels.kept.empty());
        QCOMPARE(levels.tolerances.size(), levels.kept.size());
        std::size_t finer = path.moves.size();
        for (std::size_t k = 0; k < levels.kept.size(); ++k) {
            const std::vector<std::uint32_t> &kept = levels.kept[k];
            const double tolerance = levels.tolerances[k];
            QVERIFY(kept.size() < finer);
            finer = kept.size();
            QCOMPARE(std::size_t(kept.back()), path.moves.size() - 1);
            // Every move left out lies within twice the tolerance of the last kept point before it
            // (each level is built from the finer one: half, a quarter… of it were left out before),
            // and runs of one kind end on a kept move.
            Point3 last = path.origin;
            std::size_t next = 0;
            for (std::size_t i = 0; i < path.moves.size(); ++i) {
                const Move &m = path.moves[i];
                if (next < kept.size() && kept[next] == i) {
                    last = m.end;
                    ++next;
                    continue;
                }
                QVERIFY2(distance(m.end, last) < 2 * tolerance, qPrintable(QStringLiteral("move %1").arg(i)));
                QVERIFY(m.kind == path.moves[i + 1].kind);
                QVERIFY(m.kind != MoveKind::Hole);
            }
            QCOMPARE(next, kept.size());
        }
        // The level for a tolerance is the coarsest one within it.
        QCOMPARE(levels.levelFor(0), 0);
        QCOMPARE(levels.levelFor(levels.tolerances[0]), 1);
        QCOMPARE(levels.levelFor(1e9), int(levels.kept.size()));
    }

    void largeArcsKeepTheirStart()
    {
        QByteArray text;
        for (int i = 0; i < 5000; ++i)
            text += "G1 X" + QByteArray::number(i * 0.0001, 'f', 4) + "\n";
        text += "G3 X0.4999 Y20 R10\nG1 X0.5\n"; // a half circle of radius 10 after tiny moves
        const Toolpath path = interpretProgram(std::string_view(text.constData(), std::size_t(text.size())));
        const DrawLevels levels = buildDrawLevels(path);
        QVERIFY(!levels.kept.empty());
        const std::uint32_t arc = 5000;
        QCOMPARE(path.moves[arc].kind, MoveKind::Arc);
        for (const std::vector<std::uint32_t> &kept : levels.kept) {
            const auto at = std::find(kept.begin(), kept.end(), arc);
            QVERIFY(at != kept.end() && at != kept.begin());
            QCOMPARE(*(at - 1), arc - 1);
        }
    }

    void smallProgramsHaveNoLevels()
    {
        const Toolpath path = spiral(500, 0);
        const DrawLevels levels = buildDrawLevels(path);
        QVERIFY(levels.kept.empty());
        QCOMPARE(levels.levelFor(100), 0);
    }
};

QTEST_GUILESS_MAIN(TestDrawLevels)
#include "tst_DrawLevels.moc"
