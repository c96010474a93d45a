#include "document/Layout.h"

#include <QTest>

class LayoutTest : public QObject
{
    Q_OBJECT

private slots:
    // window: "width height status-bar [minimized]"; panels: the open ones among 3 6 1 2 (Frame3, Frame6, Frame1,
    // Frame2, 49, 50, 73 and 89 pixels high); layout: "left top width height: tops of Frame3 Frame6 Frame1 Frame2",
    // "=" for a value left as it was (text height 222, tops 301..304).
    void layout_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("panels");
        QTest::addColumn<QString>("layout");
        QTest::newRow("no panel") << "747 442 21" << "" << "0 0 747 421: = = = =";
        QTest::newRow("replace and automatic numbering: text follows replace") << "747 442 21" << "62" << "0 0 747 332: = 371 = 332";
        QTest::newRow("all four: text follows the last") << "500 300 30" << "3612" << "0 0 500 181: 221 220 197 181";
        QTest::newRow("status bar fills the window") << "300 21 21" << "" << "0 0 300 0: = = = =";
        QTest::newRow("window lower than the status bar: height kept, panel above") << "300 15 21" << "1" << "0 0 300 =: = = -79 =";
        QTest::newRow("panel taller than the room") << "300 100 21" << "2" << "0 0 300 79: = = = -10";
        QTest::newRow("minimised: only left, top and width") << "747 442 21 minimized" << "3612" << "0 0 747 =: = = = =";
        QTest::newRow("no height: only left, top and width") << "747 0 21" << "1" << "0 0 747 =: = = = =";
        QTest::newRow("no width") << "0 442 21" << "" << "0 0 0 421: = = = =";
    }

    void layout()
    {
        QFETCH(QString, window);
        QFETCH(QString, panels);
        QFETCH(QString, layout);
        const QStringList w = window.split(u' ');
        tarmel::DocumentLayoutInput input{w[0].toInt(), w[1].toInt(), w[2].toInt(), w.size() > 3, {}, {5, 7, 111, 222}};
        for (int i = 0; i < 4; ++i)
            input.panels[i] = {panels.contains(QStringLiteral("3612")[i]), QList<int>{49, 50, 73, 89}[i], 301 + i};
        const auto [text, tops] = tarmel::layoutDocument(input);
        QString actual = QStringLiteral("%1 %2 %3 %4:").arg(text.left).arg(text.top).arg(text.width)
                             .arg(text.height == 222 ? "=" : QString::number(text.height));
        for (int i = 0; i < 4; ++i)
            actual += u' ' + (tops[i] == 301 + i ? "=" : QString::number(tops[i]));
        QCOMPARE(actual, layout);
    }
};

QTEST_GUILESS_MAIN(LayoutTest)
#include "tst_Layout.moc"
