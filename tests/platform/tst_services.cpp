#include "platform/SettingsStore.h"
#include "platform/Shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

using platform::QtSettingsStore;
using platform::QtShell;

namespace {

// Waits, with a bound far beyond any normal delay, for a file written by another process.
bool eventuallyExists(const QString &path)
{
    for (int i = 0; i < 3000 && !QFile::exists(path); ++i)
        QTest::qWait(10);
    return QFile::exists(path);
}

QString readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// A stand-in program in `bin`: running it leaves "<marker dir>/<name>.ran" holding its
// arguments (written whole, then renamed, so that a reader never sees half of it).
void writeProgram(const QString &bin, const QString &name, const QString &markers,
                  const QString &extra = QString())
{
    const QString path = QDir(bin).filePath(name);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    const QString marker = QDir(markers).filePath(name);
    f.write(QStringLiteral("#!/bin/sh\n"
                           "echo \"$*\" > '%1.tmp'\n"
                           "echo $$ >> '%1.tmp'\n"
                           "/bin/mv '%1.tmp' '%1.ran'\n%2")
                .arg(marker, extra)
                .toUtf8());
    f.close();
    QVERIFY(f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
}

QString helperPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tarmel_lock_helper"));
}

// Starts the lock helper and returns its first line ("first" or "running").
QString startHelper(QProcess &helper)
{
    helper.start(helperPath(), {});
    if (!helper.waitForStarted())
        return QStringLiteral("not started");
    while (!helper.canReadLine() && helper.state() == QProcess::Running)
        helper.waitForReadyRead(1000);
    return QString::fromLatin1(helper.readLine()).trimmed();
}

} // namespace

class TestServices : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void settingsRoundTrip_data();
    void settingsRoundTrip();
    void settingsMissingAndRemoved();
    void settingsFileIsOneIniPerApplication();

    void programFolderOverride();
    void programFolderIsExecutableFolderWhenWritable();
    void currentFolder();

    void previousInstanceFollowsTheLockHolder();
    void startedProgramsDoNotKeepTheLock();
    void lockIsPerProgramFolder();

    void startProgram_data();
    void startProgram();

private:
    QTemporaryDir config_;
    QTemporaryDir runtime_;
    QByteArray path_;
};

void TestServices::initTestCase()
{
    QVERIFY(config_.isValid() && runtime_.isValid());
    // Before the first QSettings: it reads the configuration folder once.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
    // The instance lock lives here for this test and the helpers it starts.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
    qunsetenv("TARMEL_PROGRAM_FOLDER");
    path_ = qgetenv("PATH");
    QVERIFY(QFile::exists(helperPath()));
}

void TestServices::cleanup()
{
    qputenv("PATH", path_);
    qunsetenv("TARMEL_PROGRAM_FOLDER");
}

void TestServices::settingsRoundTrip_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("association") << "Settings" << "AssociateTXT" << "1";
    QTest::newRow("accents and blanks") << "Settings" << "Clé à part" << " été ; = \"x\" ";
    QTest::newRow("empty value") << "Settings" << "AssociateISO" << "";
    QTest::newRow("line breaks") << "Divers" << "Texte" << "a\r\nb";
}

void TestServices::settingsRoundTrip()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QtSettingsStore().set("Tarmel", section, key, value);
    QCOMPARE(QtSettingsStore().get("Tarmel", section, key, "absent"), value);
}

void TestServices::settingsMissingAndRemoved()
{
    QtSettingsStore store;
    QCOMPARE(store.get("Tarmel", "Settings", "Jamais", "0"), QString("0"));
    QCOMPARE(store.get("Tarmel", "Settings", "Jamais"), QString());

    store.set("Tarmel", "Settings", "AssociateH", "1");
    store.set("Tarmel", "Autre", "AssociateH", "2");
    store.remove("Tarmel", "Settings", "AssociateH");
    QCOMPARE(store.get("Tarmel", "Settings", "AssociateH", "0"), QString("0"));
    QCOMPARE(store.get("Tarmel", "Autre", "AssociateH", "0"), QString("2"));
}

void TestServices::settingsFileIsOneIniPerApplication()
{
    QtSettingsStore store;
    store.set("Tarmel", "Settings", "AssociateCNC", "1");
    store.set("Essai", "Settings", "AssociateCNC", "0");

    const QString ini = readAll(QDir(config_.path()).filePath("Tarmel/Tarmel.ini"));
    QVERIFY2(ini.contains("[Settings]"), qPrintable(ini));
    QVERIFY2(ini.contains("AssociateCNC=1"), qPrintable(ini));
    QVERIFY(readAll(QDir(config_.path()).filePath("Tarmel/Essai.ini")).contains("AssociateCNC=0"));
    QCOMPARE(store.get("Tarmel", "Settings", "AssociateCNC"), QString("1"));
}

void TestServices::programFolderOverride()
{
    const QString wanted = QDir(runtime_.path()).filePath("prog/dossier");
    qputenv("TARMEL_PROGRAM_FOLDER", QFile::encodeName(wanted + "/"));
    QtShell shell;
    QCOMPARE(shell.programFolder(), wanted);
    QVERIFY(QFileInfo(wanted).isDir());
}

void TestServices::programFolderIsExecutableFolderWhenWritable()
{
    QtShell shell;
    QCOMPARE(shell.programFolder(), QCoreApplication::applicationDirPath());
    // The probe leaves nothing behind.
    const QStringList probes = QDir(QCoreApplication::applicationDirPath())
                                   .entryList({".tarmel-probe*"}, QDir::Files | QDir::Hidden);
    QVERIFY2(probes.isEmpty(), qPrintable(probes.join(' ')));
}

void TestServices::currentFolder()
{
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(runtime_.path()));
    const QString seen = QtShell().currentFolder();
    QDir::setCurrent(before);
    QCOMPARE(seen, QDir(runtime_.path()).absolutePath());
}

// The helper holds the lock; while it lives this process sees another instance; once it
// is killed outright (no clean-up of its own) the next asker gets the lock and keeps it.
void TestServices::previousInstanceFollowsTheLockHolder()
{
    const QFileInfo lock(QtShell().lockFilePath());
    QCOMPARE(lock.absolutePath(), QDir(runtime_.path()).absolutePath());
    QVERIFY(lock.fileName().startsWith(QStringLiteral("tarmel-%1-").arg(::getuid())));

    QProcess first;
    QCOMPARE(startHelper(first), QString("first"));
    {
        QtShell second;
        QVERIFY(second.previousInstanceRunning());
        QVERIFY(second.previousInstanceRunning());
    }
    first.kill();
    QVERIFY(first.waitForFinished());

    QtShell next;
    QVERIFY(!next.previousInstanceRunning());
    QVERIFY(!next.previousInstanceRunning());

    QProcess later;
    QCOMPARE(startHelper(later), QString("running"));
    later.closeWriteChannel();
    QVERIFY(later.waitForFinished());
}

// A program started from the editor outlives it; it must not inherit the lock, or the
// editor could not be started again while that program runs.
void TestServices::startedProgramsDoNotKeepTheLock()
{
    QTemporaryDir bin;
    writeProgram(bin.path(), "sleeper", bin.path(), "exec /bin/sleep 300\n");
    qputenv("PATH", QFile::encodeName(bin.path()));

    auto holder = std::make_unique<QtShell>();
    QVERIFY(!holder->previousInstanceRunning());
    QVERIFY(holder->startProgram("sleeper"));
    const QString marker = QDir(bin.path()).filePath("sleeper.ran");
    QVERIFY(eventuallyExists(marker));
    const pid_t pid = readAll(marker).section('\n', 1, 1).toInt();
    QVERIFY(pid > 0);

    holder.reset();
    const bool running = QtShell().previousInstanceRunning();
    ::kill(pid, SIGKILL);
    QVERIFY(!running);
}

// The instance holding a lock is the one polling that program folder for hand-offs, so two
// copies of the program in two folders run side by side.
void TestServices::lockIsPerProgramFolder()
{
    QTemporaryDir a, b;
    qputenv("TARMEL_PROGRAM_FOLDER", QFile::encodeName(a.path()));
    QtShell first;
    QVERIFY(!first.previousInstanceRunning());
    QtShell sameFolder;
    QVERIFY(sameFolder.previousInstanceRunning());
    qputenv("TARMEL_PROGRAM_FOLDER", QFile::encodeName(b.path()));
    QtShell otherFolder;
    QVERIFY(!otherFolder.previousInstanceRunning());
    qunsetenv("TARMEL_PROGRAM_FOLDER");
}

void TestServices::startProgram_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<bool>("started");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("arguments");

    const QString home = QDir::homePath();
    QTest::newRow("calculator") << "Calc.exe" << QStringList{"xcalc"} << true << "xcalc" << "";
    QTest::newRow("calculator, first choice wins")
        << "Calc.exe" << QStringList{"xcalc", "gnome-calculator"} << true << "gnome-calculator" << "";
    QTest::newRow("name in any case") << "CALC.EXE" << QStringList{"kcalc"} << true << "kcalc" << "";
    QTest::newRow("explorer opens home")
        << "explorer.exe" << QStringList{"nautilus", "xdg-open"} << true << "xdg-open" << home;
    QTest::newRow("explorer without xdg-open")
        << "explorer.exe" << QStringList{"thunar"} << true << "thunar" << home;
    QTest::newRow("character map") << "Charmap.exe" << QStringList{"gnome-characters"} << true
                                   << "gnome-characters" << "";
    QTest::newRow("other name, .exe dropped") << "outil.exe" << QStringList{"outil"} << true << "outil" << "";
    QTest::newRow("nothing installed") << "Calc.exe" << QStringList{} << false << "" << "";
    QTest::newRow("unknown program") << "absent.exe" << QStringList{"xcalc"} << false << "" << "";
}

void TestServices::startProgram()
{
    QFETCH(QString, name);
    QFETCH(QStringList, installed);
    QFETCH(bool, started);
    QFETCH(QString, program);
    QFETCH(QString, arguments);

    QTemporaryDir bin;
    for (const QString &p : installed)
        writeProgram(bin.path(), p, bin.path());
    qputenv("PATH", QFile::encodeName(bin.path()));

    QCOMPARE(QtShell().startProgram(name), started);
    if (!started)
        return;
    const QString marker = QDir(bin.path()).filePath(program + ".ran");
    QVERIFY(eventuallyExists(marker));
    QCOMPARE(readAll(marker).section('\n', 0, 0), arguments);
    for (const QString &p : installed)
        if (p != program)
            QVERIFY2(!QFile::exists(QDir(bin.path()).filePath(p + ".ran")), qPrintable(p));
}

QTEST_MAIN(TestServices)
#include "tst_services.moc"
