#include "app/ProgramFolder.h"

#include <QTest>

using tarmel::InstallLayout;
using tarmel::ProgramFolderChoice;

Q_DECLARE_METATYPE(InstallLayout)
Q_DECLARE_METATYPE(ProgramFolderChoice)

class TestProgramFolder : public QObject
{
    Q_OBJECT
private slots:
    // Whether the program runs from an installed tree, and where that tree keeps the program's files.
    // "asked": the one path looked at (empty: none); "files": the program files folder of an installed tree.
    void installed_data()
    {
        QTest::addColumn<QString>("executableFolder"); QTest::addColumn<InstallLayout>("layout");
        QTest::addColumn<QStringList>("existing"); QTest::addColumn<QString>("asked");
        QTest::addColumn<bool>("expected"); QTest::addColumn<QString>("files");
        const InstallLayout usr{"/usr/bin", "/usr/share", "/usr/share/tarmel"};
        const InstallLayout deep{"/opt/t/libexec/tarmel", "/opt/t/share", "/opt/t/share/tarmel"};
        const QString usrEntry = "/usr/share/applications/tarmel.desktop", tmpEntry = "/tmp/p/share/applications/tarmel.desktop";
        QTest::newRow("configured folder") << "/usr/bin" << usr << QStringList() << "" << true << "/usr/share/tarmel";
        QTest::newRow("trailing separator") << "/usr/bin/" << usr << QStringList() << "" << true << "/usr/share/tarmel";
        QTest::newRow("configured folder written uncleaned")
            << "/usr/bin" << InstallLayout{"/usr/./bin", "/usr/share", ""} << QStringList() << "" << true << "";
        QTest::newRow("build folder") << "/home/u/tarmel/build" << usr << QStringList()
                                      << "/home/u/tarmel/share/applications/tarmel.desktop" << false << "";
        QTest::newRow("other prefix with its entry") << "/tmp/p/bin" << usr << QStringList{tmpEntry} << tmpEntry << true
                                                     << "/tmp/p/share/tarmel";
        QTest::newRow("other prefix without entry") << "/tmp/p/bin" << usr << QStringList{usrEntry} << tmpEntry << false << "";
        QTest::newRow("deeper layout moved") << "/tmp/p/libexec/tarmel" << deep << QStringList{tmpEntry} << tmpEntry << true
                                             << "/tmp/p/share/tarmel";
        QTest::newRow("deeper layout, entry not where it puts it")
            << "/tmp/p/bin" << deep << QStringList{tmpEntry} << "/tmp/share/applications/tarmel.desktop" << false << "";
        QTest::newRow("another folder of an installed tree") << "/usr/bin2" << usr << QStringList{usrEntry} << usrEntry << true << "";
        QTest::newRow("no executable folder") << "" << usr << QStringList{usrEntry} << "" << false << "";
        QTest::newRow("no layout") << "/usr/bin" << InstallLayout{} << QStringList{usrEntry} << "" << false << "";
    }
    void installed()
    {
        QFETCH(QString, executableFolder); QFETCH(InstallLayout, layout); QFETCH(QStringList, existing);
        QFETCH(QString, asked); QFETCH(bool, expected); QFETCH(QString, files);
        QStringList looked;
        QCOMPARE(tarmel::runsInstalled(executableFolder, layout, [&](const QString &path) { return looked << path, existing.contains(path); }),
                 expected);
        QCOMPARE(looked, asked.isEmpty() ? QStringList() : QStringList{asked});
        if (!files.isEmpty())
            QCOMPARE(tarmel::installedProgramFilesFolder(executableFolder, layout), files);
    }

    // "probed": a probe file was created beside the executable.
    void choice_data()
    {
        QTest::addColumn<bool>("forced"); QTest::addColumn<bool>("installed"); QTest::addColumn<bool>("writable");
        QTest::addColumn<ProgramFolderChoice>("expected"); QTest::addColumn<bool>("probed");
        QTest::newRow("forced, installed") << true << true << true << ProgramFolderChoice::Forced << false;
        QTest::newRow("forced, read-only build") << true << false << false << ProgramFolderChoice::Forced << false;
        QTest::newRow("installed, writable (root)") << false << true << true << ProgramFolderChoice::User << false;
        QTest::newRow("installed, read-only") << false << true << false << ProgramFolderChoice::User << false;
        QTest::newRow("build folder") << false << false << true << ProgramFolderChoice::Executable << true;
        QTest::newRow("read-only build folder") << false << false << false << ProgramFolderChoice::User << true;
    }
    void choice()
    {
        QFETCH(bool, forced); QFETCH(bool, installed); QFETCH(bool, writable); QFETCH(ProgramFolderChoice, expected);
        QFETCH(bool, probed);
        bool asked = false;
        QCOMPARE(tarmel::chooseProgramFolder(forced, installed, [&] { return asked = true, writable; }), expected);
        QCOMPARE(asked, probed);
    }
};

QTEST_APPLESS_MAIN(TestProgramFolder)
#include "tst_ProgramFolder.moc"
