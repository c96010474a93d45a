// The header's figures and reports as the view writes them.
#include "toolpath/ToolpathTexts.h"

#include <QTest>

using namespace tarmel::toolpath;

class TestToolpathTexts : public QObject {
    Q_OBJECT
private slots:
    void duration_data()
    {
        QTest::addColumn<double>("minutes");
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing") << 0.0 << "0 s";
        QTest::newRow("rounded to the second") << 0.5 / 60 + 0.2 << "13 s";
        QTest::newRow("minutes, seconds on two digits") << 3 + 5 / 60.0 << "3 min 05 s";
        QTest::newRow("hours") << 62 + 5 / 60.0 << "1 h 02 min 05 s";
    }
    void duration()
    {
        QFETCH(double, minutes);
        QFETCH(QString, text);
        QCOMPARE(texts::describeDuration(minutes), text);
    }

    void figures_data()
    {
        QTest::addColumn<double>("rapidRate");
        QTest::addColumn<int>("withoutFeed");
        QTest::addColumn<QString>("text");
        // French digit groups are separated by a narrow no-break space.
        const QString lengths = "X : -5,000 à 20,000   Y : 0,000 à 10,500   Z : -1,250 à 0,000 mm\n"
                                "Rapide : 1\u202F500,0 mm   Travail : 62,8 mm\nDurée estimée : ";
        QTest::newRow("default rate") << 5000.0 << 0 << lengths + "1 min 18 s";
        QTest::newRow("slow rapids") << 100.0 << 0 << lengths + "16 min 00 s";
        QTest::newRow("moves without feed") << 5000.0 << 3 << lengths + "1 min 18 s (sans avance programmée : 3 mouvements)";
    }
    void figures()
    {
        QFETCH(double, rapidRate);
        QFETCH(int, withoutFeed);
        QFETCH(QString, text);
        Figures f;
        f.bounds.add({-5, 0, -1.25});
        f.bounds.add({20, 10.5, -0.0000001});
        f.rapidLength = 1500;
        f.feedLength = 62.83;
        f.feedMinutes = 1;
        f.feedMovesWithoutFeed = withoutFeed;
        QCOMPARE(texts::describeFigures(f, rapidRate), text);
    }

    void noMoves()
    {
        QCOMPARE(texts::describeFigures({}, 5000), QStringLiteral("Aucun mouvement"));
        QCOMPARE(texts::describeReports({}), QString());
    }

    void reports()
    {
        const std::vector<Report> reports{{"G81", 10, 2}, {"arc", 87, 1}, {"#", 4, 7}, {"GOTOF", 0, 1}};
        QCOMPARE(texts::describeReports(reports),
                 QStringLiteral("Non suivis : G81 (ligne 11, 2 fois), arc incohérent (ligne 88), "
                                "variables # (ligne 5, 7 fois), GOTOF (ligne 1)"));
    }
};

QTEST_GUILESS_MAIN(TestToolpathTexts)
#include "tst_ToolpathTexts.moc"
