// The header's figures and reports as the view writes them.
#include "toolpath/ToolpathTexts.h"

#include <QTest>

using namespace tarmel::toolpath;

class TestToolpathTexts : public QObject {
    Q_OBJECT
private slots:
    void texts()
    {
        for (const auto &[minutes, text] : {std::pair{0.0, "0 s"}, {0.5 / 60 + 0.2, "13 s"}, // rounded to the second
                                            {3 + 5 / 60.0, "3 min 05 s"}, {62 + 5 / 60.0, "1 h 02 min 05 s"}})
            QCOMPARE(texts::describeDuration(minutes), QString(text));
        // French digit groups are separated by a narrow no-break space.
        const QString lengths = "X : -5,000 à 20,000   Y : 0,000 à 10,500   Z : -1,250 à 0,000 mm\n"
                                "Rapide : 1\u202F500,0 mm   Travail : 62,8 mm\nDurée estimée : ";
        Figures f;
        f.bounds.add({-5, 0, -1.25});
        f.bounds.add({20, 10.5, -0.0000001});
        f.rapidLength = 1500;
        f.feedLength = 62.83;
        f.feedMinutes = 1;
        QCOMPARE(texts::describeFigures(f, 5000), lengths + "1 min 18 s");
        QCOMPARE(texts::describeFigures(f, 100), lengths + "16 min 00 s");
        f.feedMovesWithoutFeed = 3;
        QCOMPARE(texts::describeFigures(f, 5000), lengths + "1 min 18 s (sans avance programmée : 3 mouvements)");
        QCOMPARE(texts::describeFigures({}, 5000), QStringLiteral("Aucun mouvement"));
        QCOMPARE(texts::describeReports({}), QString());
        QCOMPARE(texts::describeReports({{"G81", 10, 2}, {"arc", 87, 1}, {"#", 4, 7}, {"GOTOF", 0, 1}}),
                 QStringLiteral("Non suivis : G81 (ligne 11, 2 fois), arc incohérent (ligne 88), "
                                "variables # (ligne 5, 7 fois), GOTOF (ligne 1)"));
    }
};

QTEST_GUILESS_MAIN(TestToolpathTexts)
#include "tst_ToolpathTexts.moc"
