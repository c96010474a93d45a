#include "document/Layout.h"

#include <QTest>

using tarmel::DocumentLayoutInput;
using tarmel::LayoutPanel;

namespace {

// Panel heights in pixels, distinct so that the one deciding the editing area shows.
constexpr int kFrame3 = 49, kFrame6 = 50, kFrame1 = 73, kFrame2 = 89;
// Geometry before the layout runs: whatever is not set must stay so.
constexpr int kOldTop3 = 301, kOldTop6 = 302, kOldTop1 = 303, kOldTop2 = 304;
constexpr int kOldTextHeight = 222;

using Tops = QList<int>; // Frame3, Frame6, Frame1, Frame2

int index(LayoutPanel panel) { return int(panel); }

} // namespace

class LayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
};

void LayoutTest::layout_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("statusBar");
    QTest::addColumn<bool>("minimized");
    QTest::addColumn<QString>("visible");  // letters 3, 6, 1, 2 of the visible panels
    QTest::addColumn<int>("textHeight");
    QTest::addColumn<Tops>("tops");

    const Tops old{kOldTop3, kOldTop6, kOldTop1, kOldTop2};
    const int above = 442 - 21;

    QTest::newRow("no panel") << 747 << 442 << 21 << false << "" << above << old;
    QTest::newRow("renumbering") << 747 << 442 << 21 << false << "3" << above - kFrame3
                                 << Tops{above - kFrame3, kOldTop6, kOldTop1, kOldTop2};
    QTest::newRow("find") << 747 << 442 << 21 << false << "1" << above - kFrame1
                          << Tops{kOldTop3, kOldTop6, above - kFrame1, kOldTop2};
    QTest::newRow("renumbering and find: text follows find")
        << 747 << 442 << 21 << false << "31" << above - kFrame1
        << Tops{above - kFrame3, kOldTop6, above - kFrame1, kOldTop2};
    QTest::newRow("replace and automatic numbering: text follows replace")
        << 747 << 442 << 21 << false << "62" << above - kFrame2
        << Tops{kOldTop3, above - kFrame6, kOldTop1, above - kFrame2};
    QTest::newRow("find and renumbering, taller first: text follows find")
        << 500 << 300 << 30 << false << "13" << 270 - kFrame1
        << Tops{270 - kFrame3, kOldTop6, 270 - kFrame1, kOldTop2};
    QTest::newRow("all four") << 747 << 442 << 21 << false << "3612" << above - kFrame2
                              << Tops{above - kFrame3, above - kFrame6, above - kFrame1, above - kFrame2};
    QTest::newRow("status bar fills the window") << 300 << 21 << 21 << false << "" << 0 << old;
    QTest::newRow("window lower than the status bar: height kept")
        << 300 << 15 << 21 << false << "" << kOldTextHeight << old;
    QTest::newRow("window lower than the status bar, find open: height kept, panel above")
        << 300 << 15 << 21 << false << "1" << kOldTextHeight
        << Tops{kOldTop3, kOldTop6, -6 - kFrame1, kOldTop2};
    QTest::newRow("panel taller than the room: text keeps the full height")
        << 300 << 100 << 21 << false << "2" << 79 << Tops{kOldTop3, kOldTop6, kOldTop1, 79 - kFrame2};
    QTest::newRow("minimised: only left, top and width")
        << 747 << 442 << 21 << true << "3612" << kOldTextHeight << old;
    QTest::newRow("no height: only left, top and width")
        << 747 << 0 << 21 << false << "1" << kOldTextHeight << old;
    QTest::newRow("no width") << 0 << 442 << 21 << false << "" << above << old;
}

void LayoutTest::layout()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, statusBar);
    QFETCH(bool, minimized);
    QFETCH(QString, visible);
    QFETCH(int, textHeight);
    QFETCH(Tops, tops);

    DocumentLayoutInput input;
    input.width = width;
    input.height = height;
    input.statusBarHeight = statusBar;
    input.minimized = minimized;
    input.panels[index(LayoutPanel::Frame3)] = {visible.contains(u'3'), kFrame3, kOldTop3};
    input.panels[index(LayoutPanel::Frame6)] = {visible.contains(u'6'), kFrame6, kOldTop6};
    input.panels[index(LayoutPanel::Frame1)] = {visible.contains(u'1'), kFrame1, kOldTop1};
    input.panels[index(LayoutPanel::Frame2)] = {visible.contains(u'2'), kFrame2, kOldTop2};
    input.text1 = {5, 7, 111, kOldTextHeight};

    const tarmel::DocumentLayout result = tarmel::layoutDocument(input);

    QCOMPARE(result.text1.left, 0);
    QCOMPARE(result.text1.top, 0);
    QCOMPARE(result.text1.width, width);
    QCOMPARE(result.text1.height, textHeight);
    const Tops actual{result.panelTops[index(LayoutPanel::Frame3)], result.panelTops[index(LayoutPanel::Frame6)],
                      result.panelTops[index(LayoutPanel::Frame1)], result.panelTops[index(LayoutPanel::Frame2)]};
    QCOMPARE(actual, tops);
}

QTEST_GUILESS_MAIN(LayoutTest)
#include "tst_Layout.moc"
