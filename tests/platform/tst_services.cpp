#include "platform/SettingsStore.h"
#include "platform/Shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using platform::QtSettingsStore;
using platform::QtShell;

namespace {

// What another process writes to path (waited for, with a bound far beyond any normal delay).
QString eventuallyRead(const QString &path)
{
    for (int i = 0; i < 3000 && !QFile::exists(path); ++i)
        QTest::qWait(10);
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// A stand-in program in `bin`: running it leaves "<bin>/<name>.ran" holding its arguments
// and its process id (written whole, then renamed, so that a reader never sees half of it).
void writeProgram(const QString &bin, const QString &name, const QString &extra = QString())
{
    QFile f(QDir(bin).filePath(name));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("#!/bin/sh\necho \"$*\" > '%1.tmp'\necho $$ >> '%1.tmp'\n/bin/mv '%1.tmp' '%1.ran'\n%2")
                .arg(f.fileName(), extra).toUtf8());
    QVERIFY(f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
}

// Starts the lock helper (another instance) and returns its first line, "first" or "running".
QString startHelper(QProcess &helper)
{
    helper.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tarmel_lock_helper"), {});
    while (helper.waitForStarted() && !helper.canReadLine() && helper.state() == QProcess::Running)
        helper.waitForReadyRead(1000);
    return QString::fromLatin1(helper.readLine()).trimmed();
}

} // namespace

class TestServices : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Before the first QSettings: it reads the configuration folder once.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path())); // the instance lock
        path_ = qgetenv("PATH");
    }
    void cleanup()
    {
        qputenv("PATH", path_);
        qunsetenv("TARMEL_PROGRAM_FOLDER");
    }

    // One INI file per application; any value reads back as written. The program folder is the
    // executable's when writable; the probe leaves nothing there.
    void settingsAndProgramFolder()
    {
        QtSettingsStore store;
        const QString odd = QStringLiteral(" été ; = \"x\"\r\nb ");
        store.set("Tarmel", "Settings", "Clé à part", odd);
        store.set("Tarmel", "Autre", "Clé à part", "2");
        store.set("Essai", "Settings", "AssociateCNC", "0");
        QCOMPARE(QtSettingsStore().get("Tarmel", "Settings", "Clé à part", "absent"), odd);
        store.remove("Tarmel", "Settings", "Clé à part");
        QCOMPARE(store.get("Tarmel", "Settings", "Clé à part", "0") + store.get("Tarmel", "Autre", "Clé à part"), "02");
        QCOMPARE(eventuallyRead(QDir(config_.path()).filePath("Tarmel/Essai.ini")), QString("[Settings]\nAssociateCNC=0\n"));
        const QDir exe(QCoreApplication::applicationDirPath());
        QCOMPARE(QtShell().programFolder(), exe.path());
        QCOMPARE(exe.entryList({".tarmel-probe*"}, QDir::Files | QDir::Hidden), QStringList());
    }

    // The helper holds the lock; while it lives this process sees another instance; once it is
    // killed outright (no clean-up of its own) the next asker gets the lock and keeps it. A program
    // started from the editor outlives it without inheriting the lock, or the editor could not be
    // started again while that program runs. One lock per program folder.
    void previousInstanceFollowsTheLockHolder()
    {
        QCOMPARE(QFileInfo(QtShell().lockFilePath()).absolutePath(), QDir(runtime_.path()).absolutePath());
        QProcess first;
        QCOMPARE(startHelper(first), QString("first"));
        QVERIFY(QtShell().previousInstanceRunning());
        first.kill();
        QVERIFY(first.waitForFinished());
        auto next = std::make_unique<QtShell>();
        QVERIFY(!next->previousInstanceRunning());
        QProcess later;
        QCOMPARE(startHelper(later), QString("running"));
        later.closeWriteChannel();
        QVERIFY(later.waitForFinished());
        QTemporaryDir bin;
        writeProgram(bin.path(), "sleeper", "exec /bin/sleep 300\n");
        qputenv("PATH", QFile::encodeName(bin.path()));
        QVERIFY(next->startProgram("sleeper"));
        const pid_t pid = eventuallyRead(QDir(bin.path()).filePath("sleeper.ran")).section('\n', 1, 1).toInt();
        QVERIFY(pid > 0);
        next.reset();
        const bool running = QtShell().previousInstanceRunning();
        ::kill(pid, SIGKILL);
        QVERIFY(!running);
        QTemporaryDir other;
        qputenv("TARMEL_PROGRAM_FOLDER", QFile::encodeName(other.path()));
        QVERIFY(!QtShell().previousInstanceRunning());
    }

    void startProgram_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("installed"); // the first one is the one started, if any
        QTest::addColumn<QString>("arguments");
        QTest::newRow("calculator, first choice, any case") << "CALC.EXE" << QStringList{"gnome-calculator", "xcalc"} << "";
        QTest::newRow("explorer opens home") << "explorer.exe" << QStringList{"xdg-open", "thunar"} << QDir::homePath();
        QTest::newRow("other name, .exe dropped") << "outil.exe" << QStringList{"outil"} << "";
        QTest::newRow("nothing installed") << "Calc.exe" << QStringList{"", "outil"} << "";
    }

    void startProgram()
    {
        QFETCH(QString, name); QFETCH(QStringList, installed); QFETCH(QString, arguments);
        QTemporaryDir bin;
        for (const QString &p : installed)
            if (!p.isEmpty())
                writeProgram(bin.path(), p);
        qputenv("PATH", QFile::encodeName(bin.path()));
        QCOMPARE(QtShell().startProgram(name), !installed[0].isEmpty());
        if (!installed[0].isEmpty())
            QCOMPARE(eventuallyRead(QDir(bin.path()).filePath(installed[0] + ".ran")).section('\n', 0, 0), arguments);
        for (const QString &p : installed.mid(1))
            QVERIFY2(!QFile::exists(QDir(bin.path()).filePath(p + ".ran")), qPrintable(p));
    }

private:
    QTemporaryDir config_;
    QTemporaryDir runtime_;
    QByteArray path_;
};

QTEST_MAIN(TestServices)
#include "tst_services.moc"
