#include "files/AtomicWriter.h"
#include "tests/files/FileTestTools.h"

#include <QDirIterator>
#include <QMap>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tarmel;
using namespace filetest;

namespace {

enum class Fault { TargetIsFolder, LinkToFolder, ParentIsFile, ParentMissing, ReadOnlyFile,
                   ReadOnlyFolder, TargetIsFifo, EmptyPath };

mode_t modeOf(const QString &path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode : 0;
}

// Everything below a folder: type, permission bits and content (SHA-256) or link target, by path.
QMap<QString, QString> snapshot(const QString &root)
{
    QMap<QString, QString> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const mode_t mode = modeOf(path);
        QString what = QString::number(mode, 8);
        if (S_ISREG(mode))
            what += u' ' + QString::fromLatin1(sha256OfFile(path));
        else if (S_ISLNK(mode))
            what += u' ' + QFileInfo(path).symLinkTarget();
        entries.insert(QDir(root).relativeFilePath(path), what);
    }
    return entries;
}

QString describe(const QMap<QString, QString> &entries)
{
    QStringList lines;
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        lines << it.key() + QStringLiteral(": ") + it.value();
    return lines.join(u'\n');
}

bool hasWriterTemporary(const QMap<QString, QString> &entries)
{
    for (const QString &path : entries.keys()) {
        if (QFileInfo(path).fileName().contains(QLatin1String(temporaryInfix)))
            return true;
    }
    return false;
}

} // namespace

Q_DECLARE_METATYPE(Fault)

class TestAtomicWriter : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void writesNewFile_data();
    void writesNewFile();
    void overwrites_data();
    void overwrites();
    void keepsPermissions_data();
    void keepsPermissions();
    void keepsOwner();
    void writesThroughSymlink_data();
    void writesThroughSymlink();
    void acceptsLongNames_data();
    void acceptsLongNames();
    void failureLeavesEverythingAsItWas_data();
    void failureLeavesEverythingAsItWas();
    void fileSizeLimit_data();
    void fileSizeLimit();
    void fullFileSystem();

private:
    QString path(const QString &relative) const { return m_dir->filePath(relative); }

    std::unique_ptr<QTemporaryDir> m_dir;
    mode_t m_savedUmask = 0;
};

void TestAtomicWriter::initTestCase()
{
    m_savedUmask = ::umask(022);
    QVERIFY2(QFileInfo(childProgram()).isExecutable(), qPrintable(childProgram()));
}

void TestAtomicWriter::cleanupTestCase()
{
    ::umask(m_savedUmask);
}

void TestAtomicWriter::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestAtomicWriter::cleanup()
{
    ::umask(022);
    // Give back write access that a test took away, so that the folder can be removed.
    QDirIterator it(m_dir->path(), QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        ::chmod(QFile::encodeName(it.next()).constData(), 0700);
    m_dir.reset();
}

void TestAtomicWriter::writesNewFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("umask");
    QTest::addColumn<int>("mode");

    QTest::newRow("program, umask 022") << QByteArray("%\r\nN10 G00 X0\r\nN20 M30\r\n") << 022 << 0644;
    QTest::newRow("empty, umask 077") << QByteArray() << 077 << 0600;
    QTest::newRow("NUL and high bytes, umask 002") << QByteArray("\0\xE9\x81\r\n", 5) << 002 << 0664;
    QTest::newRow("8 MiB, umask 027") << randomBytes(1, 8 << 20) << 027 << 0640;
}

// A new file holds exactly the bytes, has the usual permissions of a file the user creates, and
// nothing else is left in the folder.
void TestAtomicWriter::writesNewFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, umask);
    QFETCH(int, mode);

    ::umask(mode_t(umask));
    const WriteResult result = writeFileAtomically(path("prog.nc"), bytes);
    QVERIFY2(result.ok, qPrintable(result.error));
    QVERIFY(result.error.isEmpty());
    QCOMPARE(readPlain(path("prog.nc")), bytes);
    QCOMPARE(int(modeOf(path("prog.nc")) & 07777), mode);
    QCOMPARE(listing(m_dir->path()), QStringList{"prog.nc"});
}

void TestAtomicWriter::overwrites_data()
{
    QTest::addColumn<QByteArray>("oldBytes");
    QTest::addColumn<QByteArray>("newBytes");

    QTest::newRow("longer") << QByteArray("N10\r\n") << QByteArray("N10\r\nN20\r\nN30\r\n");
    QTest::newRow("shorter") << QByteArray("N10\r\nN20\r\nN30\r\n") << QByteArray("N10\r\n");
    QTest::newRow("to empty") << QByteArray("N10\r\n") << QByteArray();
    QTest::newRow("4 MiB over 5 MiB") << randomBytes(2, 5 << 20) << randomBytes(3, 4 << 20);
}

void TestAtomicWriter::overwrites()
{
    QFETCH(QByteArray, oldBytes);
    QFETCH(QByteArray, newBytes);

    QVERIFY(writePlain(path("prog.nc"), oldBytes));
    const WriteResult result = writeFileAtomically(path("prog.nc"), newBytes);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(sha256OfFile(path("prog.nc")), sha256(newBytes));
    QCOMPARE(listing(m_dir->path()), QStringList{"prog.nc"});
}

void TestAtomicWriter::keepsPermissions_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("0640") << 0640;
    QTest::newRow("0755") << 0755;
    QTest::newRow("0606") << 0606;
    QTest::newRow("0200 (write only)") << 0200;
    QTest::newRow("04755 (set-user-ID)") << 04755;
}

// The umask is 022 here: a kept mode differing from 0644 shows that the target's mode was copied.
void TestAtomicWriter::keepsPermissions()
{
    QFETCH(int, mode);
    QVERIFY(writePlain(path("prog.nc"), "old\r\n"));
    QCOMPARE(::chmod(QFile::encodeName(path("prog.nc")).constData(), mode_t(mode)), 0);

    const WriteResult result = writeFileAtomically(path("prog.nc"), "new\r\n");
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(int(modeOf(path("prog.nc")) & 07777), mode);
    ::chmod(QFile::encodeName(path("prog.nc")).constData(), 0600);
    QCOMPARE(readPlain(path("prog.nc")), QByteArray("new\r\n"));
}

void TestAtomicWriter::keepsOwner()
{
    if (::geteuid() != 0)
        QSKIP("only root can give a file another owner to check that it is kept");
    const QByteArray target = QFile::encodeName(path("prog.nc"));
    QVERIFY(writePlain(path("prog.nc"), "old\r\n"));
    QCOMPARE(::chown(target.constData(), 4242, 4343), 0);
    QCOMPARE(::chmod(target.constData(), 0640), 0);

    const WriteResult result = writeFileAtomically(path("prog.nc"), "new\r\n");
    QVERIFY2(result.ok, qPrintable(result.error));
    struct stat st;
    QCOMPARE(::stat(target.constData(), &st), 0);
    QCOMPARE(st.st_uid, uid_t(4242));
    QCOMPARE(st.st_gid, gid_t(4343));
    QCOMPARE(int(st.st_mode & 07777), 0640);
}

void TestAtomicWriter::writesThroughSymlink_data()
{
    QTest::addColumn<QStringList>("links");   // "name -> target" in folder A, in creation order
    QTest::addColumn<QString>("realFile");     // in folder B
    QTest::addColumn<bool>("realExists");

    QTest::newRow("relative") << QStringList{"link.nc -> ../B/prog.nc"} << "prog.nc" << true;
    QTest::newRow("absolute") << QStringList{"link.nc -> @/B/prog.nc"} << "prog.nc" << true;
    QTest::newRow("chain") << QStringList{"step.nc -> ../B/prog.nc", "link.nc -> step.nc"}
                           << "prog.nc" << true;
    QTest::newRow("dangling") << QStringList{"link.nc -> ../B/new.nc"} << "new.nc" << false;
}

// The link stays a link, the file it names gets the content and keeps its mode, and the temporary
// file was made beside the real file (neither folder holds anything new).
void TestAtomicWriter::writesThroughSymlink()
{
    QFETCH(QStringList, links);
    QFETCH(QString, realFile);
    QFETCH(bool, realExists);

    QVERIFY(QDir(m_dir->path()).mkpath("A") && QDir(m_dir->path()).mkpath("B"));
    const QString real = path("B/" + realFile);
    if (realExists) {
        QVERIFY(writePlain(real, "old\r\n"));
        QCOMPARE(::chmod(QFile::encodeName(real).constData(), 0640), 0);
    }
    for (const QString &link : links) {
        const QStringList parts = link.split(QStringLiteral(" -> "));
        const QByteArray target = QFile::encodeName(QString(parts[1]).replace(u'@', m_dir->path()));
        QCOMPARE(::symlink(target.constData(), QFile::encodeName(path("A/" + parts[0])).constData()), 0);
    }
    const auto linksBefore = snapshot(path("A"));

    const WriteResult result = writeFileAtomically(path("A/link.nc"), "new\r\n");
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(snapshot(path("A")), linksBefore);
    QCOMPARE(listing(path("B")), QStringList{realFile});
    QCOMPARE(readPlain(real), QByteArray("new\r\n"));
    QCOMPARE(int(modeOf(real) & 07777), realExists ? 0640 : 0644);
}

// The temporary file's name adds 15 bytes; a name near the 255-byte limit must still be saved.
void TestAtomicWriter::acceptsLongNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("252 ASCII bytes") << QString(248, u'p') + QStringLiteral(".iso");
    QTest::newRow("multi-byte name of 250 bytes") << QString(123, u'é') + QStringLiteral(".nc~");
}

void TestAtomicWriter::acceptsLongNames()
{
    QFETCH(QString, name);
    QVERIFY(QFile::encodeName(name).size() <= 255);
    QVERIFY(writePlain(path(name), "old\r\n"));
    const WriteResult result = writeFileAtomically(path(name), "new\r\n");
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(readPlain(path(name)), QByteArray("new\r\n"));
    QCOMPARE(listing(m_dir->path()), QStringList{name});
}

void TestAtomicWriter::failureLeavesEverythingAsItWas_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::newRow("target is a folder") << Fault::TargetIsFolder;
    QTest::newRow("target is a link to a folder") << Fault::LinkToFolder;
    QTest::newRow("parent is a file") << Fault::ParentIsFile;
    QTest::newRow("parent missing") << Fault::ParentMissing;
    QTest::newRow("read-only file") << Fault::ReadOnlyFile;
    QTest::newRow("read-only folder") << Fault::ReadOnlyFolder;
    QTest::newRow("target is a named pipe") << Fault::TargetIsFifo;
    QTest::newRow("empty path") << Fault::EmptyPath;
}

// Each refused or failing save reports an error and leaves every file, folder, mode and byte as it
// was, with no temporary file behind.
void TestAtomicWriter::failureLeavesEverythingAsItWas()
{
    QFETCH(Fault, fault);
    const QByteArray old = randomBytes(4, 100000);
    QVERIFY(writePlain(path("keep.nc"), old));
    QString target = path("prog.nc");
    switch (fault) {
    case Fault::TargetIsFolder:
        QVERIFY(QDir(m_dir->path()).mkpath("prog.nc"));
        QVERIFY(writePlain(path("prog.nc/inner.nc"), old));
        break;
    case Fault::LinkToFolder:
        QVERIFY(QDir(m_dir->path()).mkpath("folder"));
        QCOMPARE(::symlink("folder", QFile::encodeName(target).constData()), 0);
        break;
    case Fault::ParentIsFile:
        target = path("keep.nc/prog.nc");
        break;
    case Fault::ParentMissing:
        target = path("none/prog.nc");
        break;
    case Fault::ReadOnlyFile:
        QVERIFY(writePlain(target, old));
        QCOMPARE(::chmod(QFile::encodeName(target).constData(), 0444), 0);
        break;
    case Fault::ReadOnlyFolder:
        if (::geteuid() == 0)
            QSKIP("root writes into read-only folders; the other rows cover failures as root");
        QVERIFY(QDir(m_dir->path()).mkpath("ro"));
        target = path("ro/prog.nc");
        QVERIFY(writePlain(target, old));
        QCOMPARE(::chmod(QFile::encodeName(path("ro")).constData(), 0555), 0);
        break;
    case Fault::TargetIsFifo:
        QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0644), 0);
        break;
    case Fault::EmptyPath:
        target.clear();
        break;
    }
    const auto before = snapshot(m_dir->path());

    const WriteResult result = writeFileAtomically(target, QByteArray(200000, 'N'));
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    qInfo("%s", qPrintable(result.error));
    const auto after = snapshot(m_dir->path());
    QVERIFY2(!hasWriterTemporary(after), qPrintable(describe(after)));
    QVERIFY2(after == before, qPrintable(describe(before) + QStringLiteral("\n---\n") + describe(after)));
}

void TestAtomicWriter::fileSizeLimit_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("newSize");
    QTest::addColumn<bool>("fits");
    QTest::newRow("1 MiB over a 64 KiB limit") << 65536 << (1 << 20) << false;
    QTest::newRow("one byte over the limit") << 65536 << 65537 << false;
    QTest::newRow("exactly the limit") << 65536 << 65536 << true;
    QTest::newRow("under the limit") << 65536 << 10000 << true;
}

// A child process with RLIMIT_FSIZE and SIGXFSZ at its default action (which would end it) saves
// over a 1 KiB file: over the limit it must report the failure and leave the old file whole.
void TestAtomicWriter::fileSizeLimit()
{
    QFETCH(int, limit);
    QFETCH(int, newSize);
    QFETCH(bool, fits);

    QVERIFY(QDir(m_dir->path()).mkpath("src") && QDir(m_dir->path()).mkpath("work"));
    const QByteArray old = randomBytes(5, 1024);
    const QByteArray bytes = randomBytes(6, newSize);
    QVERIFY(writePlain(path("src/new.bin"), bytes));
    QVERIFY(writePlain(path("work/prog.nc"), old));

    QProcess child;
    child.start(childProgram(), {"--fsize", QString::number(limit), path("src/new.bin"), path("work/prog.nc")});
    QVERIFY(child.waitForFinished(120000));
    const QByteArray stderrText = child.readAllStandardError();
    QVERIFY2(child.exitStatus() == QProcess::NormalExit, "the child was ended by a signal (SIGXFSZ?)");
    QCOMPARE(child.exitCode(), fits ? 0 : 1);
    if (!fits)
        QVERIFY2(!stderrText.trimmed().isEmpty(), "no reason given for the failure");
    QCOMPARE(sha256OfFile(path("work/prog.nc")), sha256(fits ? bytes : old));
    QCOMPARE(listing(path("work")), QStringList{"prog.nc"});
}

// A real full file system: a 1 MiB tmpfs (needs the right to mount, as root in CI). Without it the
// file size limit above stands in for a full disk.
void TestAtomicWriter::fullFileSystem()
{
    const QString mountPoint = path("small");
    QVERIFY(QDir(m_dir->path()).mkpath("small"));
    const QByteArray mp = QFile::encodeName(mountPoint);
    if (::mount("tmpfs", mp.constData(), "tmpfs", MS_NOSUID | MS_NODEV | MS_NOEXEC, "size=1m,mode=0700") != 0)
        QSKIP("cannot mount a small tmpfs here (not root?): the file size limit test stands in for a full disk");
    const auto unmount = qScopeGuard([&] { ::umount2(mp.constData(), MNT_DETACH); });

    const QString target = mountPoint + QStringLiteral("/prog.nc");
    const QByteArray old = randomBytes(7, 300 << 10);
    QVERIFY(writePlain(target, old));
    const auto before = snapshot(mountPoint);

    const WriteResult full = writeFileAtomically(target, randomBytes(8, 800 << 10));
    QVERIFY(!full.ok);
    qInfo("%s", qPrintable(full.error));
    QCOMPARE(snapshot(mountPoint), before);

    // The failed save gave its space back: a save that fits beside the old file succeeds.
    const QByteArray fitting = randomBytes(9, 600 << 10);
    const WriteResult ok = writeFileAtomically(target, fitting);
    QVERIFY2(ok.ok, qPrintable(ok.error));
    QCOMPARE(sha256OfFile(target), sha256(fitting));
    QCOMPARE(listing(mountPoint), QStringList{"prog.nc"});
}

QTEST_GUILESS_MAIN(TestAtomicWriter)
#include "tst_atomicwriter.moc"
