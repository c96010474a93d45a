// Where the help lives: the help file the commands name, the collection that stands for it and
// the folders the viewer tries.
#include "help/HelpFiles.h"

#include <QTest>

using namespace tarmel::help;

class TestHelpFiles : public QObject {
    Q_OBJECT
private slots:
    // The help file in a program folder, and the collection that stands for a help file.
    void names_data()
    {
        QTest::addColumn<QString>("of"); QTest::addColumn<QString>("expected");
        QTest::newRow("help file, no separator at the end") << "/opt/tarmel" << "/opt/tarmel/Tarmel.HLP";
        QTest::newRow("help file, separator at the end") << "/opt/tarmel/" << "/opt/tarmel/Tarmel.HLP";
        QTest::newRow("collection: suffix replaced") << "/opt/tarmel/Tarmel.HLP" << "/opt/tarmel/Tarmel.qhc";
        QTest::newRow("collection: dot in a folder, none in the name") << "/opt/t.d/Tarmel" << "/opt/t.d/Tarmel.qhc";
        QTest::newRow("collection: hidden file name") << "/opt/a/.aide" << "/opt/a/.aide.qhc";
        QTest::newRow("collection: empty") << "" << "";
    }
    void names()
    {
        QFETCH(QString, of); QFETCH(QString, expected);
        QCOMPARE(QTest::currentDataTag()[0] == 'h' ? helpFilePath(of) : collectionFor(of), expected);
    }

    void candidatesStartBesideTheHelpFile_data()
    {
        QTest::addColumn<QString>("helpFile"); QTest::addColumn<QStringList>("fallbacks");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("beside, then each fallback in order")
            << "/home/u/.config/Tarmel/Tarmel.HLP" << QStringList{"/usr/bin", "/usr/share/tarmel/"}
            << QStringList{"/home/u/.config/Tarmel/Tarmel.qhc", "/usr/bin/Tarmel.qhc", "/usr/share/tarmel/Tarmel.qhc"};
        QTest::newRow("a folder already listed, or empty, is left out")
            << "/opt/tarmel/Tarmel.HLP" << QStringList{"/opt/tarmel/", "", "/opt/./tarmel"}
            << QStringList{"/opt/tarmel/Tarmel.qhc"};
        QTest::newRow("no help file: nothing to look for") << "" << QStringList{"/usr/bin"} << QStringList{};
    }

    void candidatesStartBesideTheHelpFile()
    {
        QFETCH(QString, helpFile); QFETCH(QStringList, fallbacks); QFETCH(QStringList, expected);
        QCOMPARE(collectionCandidates(helpFile, fallbacks), expected);
    }
};

QTEST_APPLESS_MAIN(TestHelpFiles)
#include "tst_HelpFiles.moc"
