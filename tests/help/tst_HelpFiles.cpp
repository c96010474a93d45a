// Where the help lives: the help file the commands name, the collection that stands for it and
// the folders the viewer tries.
#include "help/HelpFiles.h"

#include <QTest>

using namespace tarmel::help;

class TestHelpFiles : public QObject {
    Q_OBJECT
private slots:
    void helpFileIsInTheProgramFolder_data();
    void helpFileIsInTheProgramFolder();
    void collectionTakesTheHelpFilesName_data();
    void collectionTakesTheHelpFilesName();
    void candidatesStartBesideTheHelpFile_data();
    void candidatesStartBesideTheHelpFile();
};

void TestHelpFiles::helpFileIsInTheProgramFolder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no separator at the end") << "/opt/tarmel" << "/opt/tarmel/Tarmel.HLP";
    QTest::newRow("separator at the end") << "/opt/tarmel/" << "/opt/tarmel/Tarmel.HLP";
}

void TestHelpFiles::helpFileIsInTheProgramFolder()
{
    QFETCH(QString, folder);
    QFETCH(QString, expected);
    QCOMPARE(helpFilePath(folder), expected);
}

void TestHelpFiles::collectionTakesTheHelpFilesName_data()
{
    QTest::addColumn<QString>("helpFile");
    QTest::addColumn<QString>("expected");
    QTest::newRow("suffix replaced") << "/opt/tarmel/Tarmel.HLP" << "/opt/tarmel/Tarmel.qhc";
    QTest::newRow("dot in a folder, none in the name") << "/opt/t.d/Tarmel" << "/opt/t.d/Tarmel.qhc";
    QTest::newRow("hidden file name") << "/opt/a/.aide" << "/opt/a/.aide.qhc";
    QTest::newRow("empty") << "" << "";
}

void TestHelpFiles::collectionTakesTheHelpFilesName()
{
    QFETCH(QString, helpFile);
    QFETCH(QString, expected);
    QCOMPARE(collectionFor(helpFile), expected);
}

void TestHelpFiles::candidatesStartBesideTheHelpFile_data()
{
    QTest::addColumn<QString>("helpFile");
    QTest::addColumn<QStringList>("fallbacks");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("beside, then each fallback in order")
        << "/home/u/.config/Tarmel/Tarmel.HLP" << QStringList{"/usr/bin", "/usr/share/tarmel/"}
        << QStringList{"/home/u/.config/Tarmel/Tarmel.qhc", "/usr/bin/Tarmel.qhc", "/usr/share/tarmel/Tarmel.qhc"};
    QTest::newRow("a folder already listed, or empty, is left out")
        << "/opt/tarmel/Tarmel.HLP" << QStringList{"/opt/tarmel/", "", "/opt/./tarmel"}
        << QStringList{"/opt/tarmel/Tarmel.qhc"};
    QTest::newRow("no help file: nothing to look for") << "" << QStringList{"/usr/bin"} << QStringList{};
}

void TestHelpFiles::candidatesStartBesideTheHelpFile()
{
    QFETCH(QString, helpFile);
    QFETCH(QStringList, fallbacks);
    QFETCH(QStringList, expected);
    QCOMPARE(collectionCandidates(helpFile, fallbacks), expected);
}

QTEST_APPLESS_MAIN(TestHelpFiles)
#include "tst_HelpFiles.moc"
