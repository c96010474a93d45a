#include "files/AtomicWriter.h"
#include "files/FilePaths.h"
#include "tests/files/FileTestTools.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>

using namespace tarmel;
using namespace filetest;

namespace {

struct stat statOf(const QString &path)
{
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

int chmodOf(const QString &path, int mode) { return ::chmod(QFile::encodeName(path).constData(), mode_t(mode)); }

// The writer's helper process, built beside the tests.
QString childProgram() { return QCoreApplication::applicationDirPath() + QStringLiteral("/atomic_write_child"); }

// Everything below a folder: path -> mode, and content (SHA-256) or link target.
QMap<QString, QString> snapshot(const QString &root)
{
    QMap<QString, QString> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const mode_t mode = statOf(path).st_mode;
        const QString content = S_ISREG(mode) ? sha256(readPlain(path)) : S_ISLNK(mode) ? QFileInfo(path).symLinkTarget() : "";
        entries.insert(QDir(root).relativeFilePath(path), QString::number(mode, 8) + u' ' + content);
    }
    return entries;
}

} // namespace

class TestAtomicWriter : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &relative) const { return m_dir->filePath(relative); }

private slots:
    void init()
    {
        ::umask(022);
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid() && QDir(m_dir->path()).mkpath("work"));
    }

    void cleanup()
    {
        releaseFolder(path("work/small"));
        releaseFolder(path("work/ro"), path("work/ro/prog.nc"));
        m_dir.reset();
    }

    // The new bytes with the old mode and owner, or a new file's usual mode; nothing else left in the folder.
    void writes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("existing");   // over a file of 100 kB with the given mode, owned by 4242:4343
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("umask");
        QTest::addColumn<int>("mode");
        QTest::newRow("new, umask 022") << "prog.nc" << false << QByteArray("%\r\nN10\0\xE9\r\n", 9) << 022 << 0644;
        QTest::newRow("new and empty, umask 077") << "prog.nc" << false << QByteArray() << 077 << 0600;
        QTest::newRow("shorter, 0640 kept") << "prog.nc" << true << QByteArray("N10\r\n") << 022 << 0640;
        QTest::newRow("longer, write only kept") << "prog.nc" << true << randomBytes(2, 5 << 20) << 022 << 0200;
        QTest::newRow("set-user-ID kept") << "prog.nc" << true << QByteArray("N10\r\n") << 022 << 04755;
        QTest::newRow("name of 250 bytes: the temporary's adds 15") << QString(123, u'é') + ".nc~" << true << QByteArray("N") << 022 << 0644;
    }

    void writes()
    {
        QFETCH(QString, name);
        QFETCH(bool, existing);
        QFETCH(QByteArray, bytes);
        QFETCH(int, umask);
        QFETCH(int, mode);
        const QString target = path("work/" + name);
        const bool owned = existing && ::geteuid() == 0;   // only root can give the file another owner
        QVERIFY(!existing || writePlain(target, randomBytes(3, 100000)));
        QVERIFY(!owned || ::chown(QFile::encodeName(target).constData(), 4242, 4343) == 0);
        QVERIFY(!existing || chmodOf(target, mode) == 0);
        ::umask(mode_t(umask));
        QVERIFY(writeFileAtomically(target, bytes).ok);
        const struct stat st = statOf(target);
        QCOMPARE(int(st.st_mode & 07777), mode);
        QVERIFY(!owned || (st.st_uid == 4242 && st.st_gid == 4343));
        QVERIFY(chmodOf(target, 0600) == 0 && readPlain(target) == bytes);
        QCOMPARE(listing(path("work")), QStringList{name});
    }

    // The link stays; the file it names gets the content, keeps its mode, and had the temporary file beside it.
    void writesThroughSymlink_data()
    {
        QTest::addColumn<QStringList>("links");   // "name -> target" in folder work, in creation order
        QTest::addColumn<QString>("realFile");     // in folder B
        QTest::newRow("relative, in a chain") << QStringList{"step.nc -> ../B/prog.nc", "link.nc -> step.nc"} << "prog.nc";
        QTest::newRow("dangling") << QStringList{"link.nc -> ../B/new.nc"} << "new.nc";
    }

    void writesThroughSymlink()
    {
        QFETCH(QStringList, links);
        QFETCH(QString, realFile);
        QVERIFY(QDir(m_dir->path()).mkpath("B"));
        QVERIFY(writePlain(path("B/prog.nc"), "old\r\n") && chmodOf(path("B/prog.nc"), 0640) == 0);
        for (const QString &link : links) {
            const QStringList parts = link.split(" -> ");
            QCOMPARE(::symlink(QFile::encodeName(parts[1]).constData(), QFile::encodeName(path("work/" + parts[0])).constData()), 0);
        }
        const auto linksBefore = snapshot(path("work"));
        QVERIFY(writeFileAtomically(path("work/link.nc"), "new\r\n").ok);
        QCOMPARE(snapshot(path("work")), linksBefore);
        QCOMPARE(listing(path("B")).size(), realFile == u"prog.nc" ? 1 : 2);
        QCOMPARE(readPlain(path("B/" + realFile)), QByteArray("new\r\n"));
        QCOMPARE(int(statOf(path("B/" + realFile)).st_mode & 07777), realFile == u"prog.nc" ? 0640 : 0644);
    }

    // A refused or failing save says why and leaves every file, folder, mode and byte as it was; the failed save on
    // a full disk gives its space back for the next one.
    void failureLeavesEverythingAsItWas_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");   // %1: the work folder
        const auto row = [](const char *fault, const char *reason) { QTest::newRow(fault) << fault << QString::fromUtf8(reason); };
        row("target is a folder", "« %1/prog.nc » est un dossier.");
        row("target is a link to a folder", "« %1/folder » est un dossier.");
        row("parent missing", "Le dossier « %1/none » n'existe plus.");
        row("parent is a file", "Le chemin « %1/keep.nc » passe par un fichier qui n'est pas un dossier.");
        row("read-only file", "Le fichier est en lecture seule.");
        row("read-only folder", ::geteuid() == 0 ? "Le disque est en lecture seule." : "Le dossier « %1/ro » est en lecture seule.");
        row("target is a named pipe", "« %1/prog.nc » n'est pas un fichier ordinaire.");
        row("empty path", "Aucun nom de fichier.");
        row("full disk", "Le disque est plein.");   // a 1 MiB tmpfs holding 300 KiB, when allowed
    }

    void failureLeavesEverythingAsItWas()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        QVERIFY(writePlain(path("work/keep.nc"), randomBytes(4, 100000)));
        const QString ro = path("work/ro");
        const QString target = fault.startsWith("parent") ? path(fault.endsWith("file") ? "work/keep.nc/prog.nc" : "work/none/prog.nc")
                             : fault == u"read-only folder" ? ro + "/prog.nc" : fault == u"empty path" ? ""
                             : fault == u"full disk" ? path("work/small/prog.nc") : path("work/prog.nc");
        if (fault == u"target is a folder")
            QVERIFY(QDir().mkpath(target + "/inner"));
        if (fault == u"target is a link to a folder")
            QVERIFY(QDir().mkpath(path("work/folder")) && QFile::link("folder", target));
        if (fault == u"read-only file")
            QVERIFY(writePlain(target, "old") && chmodOf(target, 0444) == 0);
        if (fault == u"target is a named pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0644), 0);
        // A new file: an existing writable one would be rewritten in place (see rewritesInPlace).
        if (fault == u"read-only folder" && !fileInReadOnlyFolder(ro, ro + "/other.nc", "old"))
            QSKIP("cannot make a read-only folder here");
        const QByteArray small = QFile::encodeName(path("work/small"));
        if (fault == u"full disk" && (!QDir().mkpath(path("work/small")) || ::mount("tmpfs", small.constData(), "tmpfs", 0, "size=1m") != 0))
            QSKIP("cannot mount a small tmpfs here (not root?): the file size limit test stands in for a full disk");
        QVERIFY(fault != u"full disk" || writePlain(target, randomBytes(7, 300 << 10)));
        const auto before = snapshot(m_dir->path());
        const WriteResult result = writeFileAtomically(target, randomBytes(8, 800 << 10));
        QVERIFY(!result.ok);
        QCOMPARE(snapshot(m_dir->path()), before);
        QCOMPARE(result.error, reason.contains("%1") ? reason.arg(path("work")) : reason);
        QVERIFY(fault != u"full disk" || (writeFileAtomically(target, randomBytes(9, 600 << 10)).ok && readPlain(target) == randomBytes(9, 600 << 10)));
    }

    // A child with a 64 KiB file size limit and SIGXFSZ's default action (ending it): over it, a failure and the old file.
    void fileSizeLimit_data()
    {
        QTest::addColumn<int>("newSize");
        QTest::newRow("one byte over the limit") << 65537;
        QTest::newRow("exactly the limit") << 65536;
    }

    void fileSizeLimit()
    {
        QFETCH(int, newSize);
        const bool fits = newSize <= 65536;
        const QByteArray old = randomBytes(5, 1024), bytes = randomBytes(6, newSize);
        QVERIFY(writePlain(path("new.bin"), bytes) && writePlain(path("work/prog.nc"), old));
        QProcess child;
        child.start(childProgram(), {"--fsize=65536", path("new.bin"), path("work/prog.nc")});
        QVERIFY(child.waitForFinished(120000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit, "the child was ended by a signal (SIGXFSZ?)");
        QCOMPARE(child.exitCode(), fits ? 0 : 1);
        QCOMPARE(QString::fromUtf8(child.readAllStandardError()), fits ? "" : "Le fichier dépasse la taille permise.\n");
        QCOMPARE(sha256(readPlain(path("work/prog.nc"))), sha256(fits ? bytes : old));
        QCOMPARE(listing(path("work")), QStringList{"prog.nc"});
    }

    // A child saving 50 MB, killed at random moments, leaves the old or the new program and at most its temporary
    // files, which the next save of the same target removes (their locks died with the child). Minutes: ctest
    // runs it as tst_killsave.
    void killedSaveLeavesOldOrNew()
    {
        if (!QCoreApplication::arguments().contains(QStringLiteral("killedSaveLeavesOldOrNew")))
            QSKIP("run on its own: tst_atomicwriter killedSaveLeavesOldOrNew");
        const QString source = path("new.iso"), target = path("work/prog.iso");
        const QByteArray oldBytes = randomBytes(1, 50 << 20), newBytes = randomBytes(2, 50 << 20), newHash = sha256(newBytes);
        QVERIFY(writePlain(source, newBytes) && writePlain(target, oldBytes));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(QProcess::execute(childProgram(), {source, target}) == 0 && sha256(readPlain(target)) == newHash);
        const qint64 runMs = qMax<qint64>(1, clock.elapsed());   // kills are spread over twice a whole save
        const quint32 seed = qEnvironmentVariableIsSet("TARMEL_KILL_SEED") ? qEnvironmentVariableIntValue("TARMEL_KILL_SEED")
                                                                           : QRandomGenerator::system()->generate();
        QRandomGenerator random(seed);
        qInfo("run time %lld ms; kill delays drawn with seed %u (TARMEL_KILL_SEED)", runMs, seed);
        const QRegularExpression temporary("^\\.prog\\.iso\\.tarmel-[A-Za-z0-9]{6}$");
        for (int run = 0; run < 20; ++run) {
            QProcess victim;
            QVERIFY(writePlain(target, oldBytes));
            ::sync();
            victim.start(childProgram(), {source, target});
            const int delayMs = int(random.bounded(double(runMs) * 2));
            QTest::qSleep(delayMs);
            victim.kill();
            QVERIFY(victim.waitForFinished(60000));
            const QByteArray hash = sha256(readPlain(target));
            QVERIFY2(hash == sha256(oldBytes) || hash == newHash, qPrintable(QStringLiteral("killed after %1 ms").arg(delayMs)));
            for (const QString &entry : listing(path("work")))
                QVERIFY2(entry == u"prog.iso" || temporary.match(entry).hasMatch(), qPrintable(entry));
        }
        QVERIFY(writeFileAtomically(target, newBytes).ok && sha256(readPlain(target)) == newHash);
        QCOMPARE(listing(path("work")), QStringList{"prog.iso"});
    }

    // A writable file in a read-only folder: the text is secured, then the file is rewritten in place.
    void rewritesInPlace_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("secured");   // what the securing hook answers
        QTest::newRow("longer") << randomBytes(11, 300000) << true;
        QTest::newRow("emptied") << QByteArray() << true;
        QTest::newRow("not secured: nothing written") << QByteArray("N10\r\n") << false;
    }

    void rewritesInPlace()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, secured);
        const QString ro = path("work/ro"), target = ro + "/prog.nc";
        const QByteArray old = randomBytes(12, 100000);
        if (!fileInReadOnlyFolder(ro, target, old))
            QSKIP("cannot make a read-only folder here");
        QByteArray seenBefore;
        const WriteResult result = writeFileAtomically(target, bytes, [&](const QString &p) {
            seenBefore = p == target ? readPlain(target) : QByteArray("wrong path");
            return secured;
        });
        QCOMPARE(seenBefore, old);   // asked before any byte changed
        QCOMPARE(result.ok, secured);
        QCOMPARE(result.error.isEmpty(), secured);
        QCOMPARE(sha256(readPlain(target)), sha256(secured ? bytes : old));
        QCOMPARE(int(statOf(target).st_mode & 07777), 0640);
        QCOMPARE(listing(ro), QStringList{"prog.nc"});
    }

    // Temporary files of this target whose lock is free go; a locked one (a save running) and other names stay.
    void removesStaleTemporaries()
    {
        const QString work = path("work"), target = work + "/prog.nc";
        const QStringList names{".prog.nc.tarmel-Free01", ".prog.nc.tarmel-Held01", ".other.nc.tarmel-Free02",
                                ".prog.nc.tarmel-Short", "prog.nc.tarmel-Free03"};
        for (const QString &name : names)
            QVERIFY(writePlain(work + "/" + name, "junk"));
        const int held = ::open(QFile::encodeName(work + "/.prog.nc.tarmel-Held01").constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(held >= 0 && ::flock(held, LOCK_EX | LOCK_NB) == 0);
        QVERIFY(writeFileAtomically(target, "N10\r\n").ok);
        QCOMPARE(listing(work), QStringList({".other.nc.tarmel-Free02", ".prog.nc.tarmel-Held01", ".prog.nc.tarmel-Short",
                                             "prog.nc", "prog.nc.tarmel-Free03"}));
        ::close(held);
        QVERIFY(writeFileAtomically(target, "N20\r\n").ok);
        QCOMPARE(listing(work), QStringList({".other.nc.tarmel-Free02", ".prog.nc.tarmel-Short", "prog.nc", "prog.nc.tarmel-Free03"}));
        QCOMPARE(readPlain(target), QByteArray("N20\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestAtomicWriter)
#include "tst_atomicwriter.moc"
