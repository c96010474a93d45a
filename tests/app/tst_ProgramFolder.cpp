#include "app/ProgramFolder.h"

#include <QTest>

using tarmel::InstallLayout;
using tarmel::ProgramFolderChoice;

Q_DECLARE_METATYPE(InstallLayout)
Q_DECLARE_METATYPE(ProgramFolderChoice)

namespace {

const InstallLayout usrLayout{QStringLiteral("/usr/bin"), QStringLiteral("/usr/share"), QStringLiteral("/usr/share/tarmel")};
const InstallLayout deepLayout{QStringLiteral("/opt/t/libexec/tarmel"), QStringLiteral("/opt/t/share"),
                               QStringLiteral("/opt/t/share/tarmel")};

} // namespace

class TestProgramFolder : public QObject
{
    Q_OBJECT
private slots:
    void installed_data();
    void installed();
    void choice_data();
    void choice();
};

// Whether the program runs from an installed tree, and where that tree keeps the program's files.
void TestProgramFolder::installed_data()
{
    QTest::addColumn<QString>("executableFolder");
    QTest::addColumn<InstallLayout>("layout");
    QTest::addColumn<QStringList>("existing"); // the files that exist
    QTest::addColumn<QString>("asked");        // the one path looked at; empty: none
    QTest::addColumn<bool>("expected");
    QTest::addColumn<QString>("files");        // the program files folder of an installed tree
    const QString usrEntry = QStringLiteral("/usr/share/applications/tarmel.desktop");
    const QString tmpEntry = QStringLiteral("/tmp/p/share/applications/tarmel.desktop");
    QTest::newRow("configured folder") << "/usr/bin" << usrLayout << QStringList() << "" << true << "/usr/share/tarmel";
    QTest::newRow("configured folder, trailing separator") << "/usr/bin/" << usrLayout << QStringList() << "" << true
                                                           << "/usr/share/tarmel";
    QTest::newRow("configured folder written uncleaned")
        << "/usr/bin" << InstallLayout{"/usr/./bin", "/usr/share", ""} << QStringList() << "" << true << "";
    QTest::newRow("build folder") << "/home/u/tarmel/build" << usrLayout << QStringList()
                                  << "/home/u/tarmel/share/applications/tarmel.desktop" << false << "";
    QTest::newRow("other prefix with its desktop entry")
        << "/tmp/p/bin" << usrLayout << QStringList{tmpEntry} << tmpEntry << true << "/tmp/p/share/tarmel";
    QTest::newRow("other prefix without desktop entry") << "/tmp/p/bin" << usrLayout << QStringList{usrEntry}
                                                        << tmpEntry << false << "";
    QTest::newRow("deeper layout moved") << "/tmp/p/libexec/tarmel" << deepLayout << QStringList{tmpEntry}
                                         << tmpEntry << true << "/tmp/p/share/tarmel";
    QTest::newRow("deeper layout, entry not where it puts it")
        << "/tmp/p/bin" << deepLayout << QStringList{tmpEntry} << "/tmp/share/applications/tarmel.desktop" << false << "";
    QTest::newRow("another folder of an installed tree") << "/usr/bin2" << usrLayout << QStringList{usrEntry}
                                                      << usrEntry << true << "";
    QTest::newRow("no executable folder") << "" << usrLayout << QStringList{usrEntry} << "" << false << "";
    QTest::newRow("no layout") << "/usr/bin" << InstallLayout{} << QStringList{usrEntry} << "" << false << "";
}

void TestProgramFolder::installed()
{
    QFETCH(QString, executableFolder);
    QFETCH(InstallLayout, layout);
    QFETCH(QStringList, existing);
    QFETCH(QString, asked);
    QFETCH(bool, expected);
    QFETCH(QString, files);
    QStringList looked;
    const bool result = tarmel::runsInstalled(executableFolder, layout, [&](const QString &path) {
        looked << path;
        return existing.contains(path);
    });
    QCOMPARE(result, expected);
    QCOMPARE(looked, asked.isEmpty() ? QStringList() : QStringList{asked});
    if (!files.isEmpty())
        QCOMPARE(tarmel::installedProgramFilesFolder(executableFolder, layout), files);
}

void TestProgramFolder::choice_data()
{
    QTest::addColumn<bool>("forced");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<ProgramFolderChoice>("expected");
    QTest::addColumn<bool>("probed"); // a probe file was created beside the executable
    QTest::newRow("forced, installed") << true << true << true << ProgramFolderChoice::Forced << false;
    QTest::newRow("forced, read-only build") << true << false << false << ProgramFolderChoice::Forced << false;
    QTest::newRow("installed, writable (root)") << false << true << true << ProgramFolderChoice::User << false;
    QTest::newRow("installed, read-only") << false << true << false << ProgramFolderChoice::User << false;
    QTest::newRow("build folder") << false << false << true << ProgramFolderChoice::Executable << true;
    QTest::newRow("read-only build folder") << false << false << false << ProgramFolderChoice::User << true;
}

void TestProgramFolder::choice()
{
    QFETCH(bool, forced);
    QFETCH(bool, installed);
    QFETCH(bool, writable);
    QFETCH(ProgramFolderChoice, expected);
    QFETCH(bool, probed);
    bool asked = false;
    QCOMPARE(tarmel::chooseProgramFolder(forced, installed, [&] {
                 asked = true;
                 return writable;
             }),
             expected);
    QCOMPARE(asked, probed);
}

QTEST_APPLESS_MAIN(TestProgramFolder)
#include "tst_ProgramFolder.moc"
