// A save killed at any moment leaves the program whole: either all of the old content or all of the
// new one. A child process saves 50 MB over a 50 MB file of other content and is killed with
// SIGKILL at random moments spread over its save time.
//
// SIGKILL leaves no chance to clean up, so a temporary file ".<name>.tarmel-XXXXXX" may remain
// beside the target. Such a file is never read and never renamed by a later save (each save makes
// its own, with a new random name); the last part of this test saves again among the leftovers and
// checks that it succeeds and that they stay as they are. Removing them is left to the user: one of
// them may belong to a save still running in another instance.
#include "files/AtomicWriter.h"
#include "tests/files/FileTestTools.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <unistd.h>

using namespace filetest;

namespace {

constexpr qsizetype programSize = 50 << 20;
constexpr int runs = 20;

// Starts the child, waits until it has read its source, then lets it save.
// Puts the old program back, synced, so that each save starts from the same state of the disk.
bool resetTarget(const QString &target, const QByteArray &bytes)
{
    QFile file(target);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
        && file.flush() && ::fsync(file.handle()) == 0;
}

bool startSave(QProcess &child, const QString &source, const QString &target)
{
    child.start(childProgram(), {"--wait", source, target});
    if (!child.waitForStarted(30000))
        return false;
    while (!child.canReadLine()) {
        if (!child.waitForReadyRead(60000))
            return false;
    }
    if (child.readLine() != "ready\n")
        return false;
    return child.write("g", 1) == 1 && child.waitForBytesWritten(30000);
}

} // namespace

class TestKillSave : public QObject {
    Q_OBJECT

private slots:
    void killedSaveLeavesOldOrNew();
};

void TestKillSave::killedSaveLeavesOldOrNew()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath("src") && QDir(dir.path()).mkpath("work"));
    const QString source = dir.filePath("src/new.iso");
    const QString target = dir.filePath("work/prog.iso");
    const QByteArray oldBytes = randomBytes(1, programSize);
    const QByteArray newBytes = randomBytes(2, programSize);
    const QByteArray oldHash = sha256(oldBytes);
    const QByteArray newHash = sha256(newBytes);
    QVERIFY(writePlain(source, newBytes));

    // The child's normal save time (the median of three) sets the window the kills are spread over:
    // twice that time, since saves among the leftovers of killed ones take longer (their unsynced
    // pages weigh on the next sync), so that kills land before, during and after the rename.
    QList<qint64> times;
    for (int i = 0; i < 3; ++i) {
        QVERIFY(resetTarget(target, oldBytes));
        QProcess child;
        QVERIFY(startSave(child, source, target));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(child.waitForFinished(300000));
        times << qMax<qint64>(1, clock.elapsed());
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(sha256OfFile(target), newHash);
    }
    std::sort(times.begin(), times.end());
    const qint64 saveMs = times[1];

    const quint32 seed = qEnvironmentVariableIsSet("TARMEL_KILL_SEED")
        ? qEnvironmentVariableIntValue("TARMEL_KILL_SEED") : QRandomGenerator::system()->generate();
    QRandomGenerator random(seed);
    qInfo("save time %lld ms; kill delays drawn with seed %u (TARMEL_KILL_SEED)", saveMs, seed);

    int keptOld = 0, gotNew = 0;
    for (int run = 0; run < runs; ++run) {
        QVERIFY(resetTarget(target, oldBytes));
        QProcess victim;
        QVERIFY(startSave(victim, source, target));
        const int delayMs = int(random.bounded(double(saveMs) * 2));
        QTest::qSleep(delayMs);
        victim.kill();   // SIGKILL
        QVERIFY(victim.waitForFinished(60000));

        const QByteArray hash = sha256OfFile(target);
        QVERIFY2(hash == oldHash || hash == newHash,
                 qPrintable(QStringLiteral("run %1 killed after %2 ms: the program is neither old nor new")
                                .arg(run).arg(delayMs)));
        (hash == oldHash ? keptOld : gotNew)++;
        qInfo("run %2d: killed after %4d ms: %s", run, delayMs, hash == oldHash ? "old" : "new");
        for (const QString &entry : listing(dir.filePath("work"))) {
            QVERIFY2(entry == u"prog.iso" || isWriterTemporary(entry, QStringLiteral("prog.iso")),
                     qPrintable(QStringLiteral("unexpected file: ") + entry));
        }
    }
    const QStringList leftovers = listing(dir.filePath("work")).filter(QStringLiteral(".tarmel-"));
    qInfo("%d runs: %d kept the old program, %d had the new one, %d temporary files left",
          runs, keptOld, gotNew, int(leftovers.size()));

    // A save among the leftovers (and one more planted with the writer's name pattern) succeeds
    // and touches none of them.
    QVERIFY(writePlain(dir.filePath("work/.prog.iso.tarmel-AbC123"), "junk"));
    QMap<QString, QByteArray> strays;
    for (const QString &entry : listing(dir.filePath("work"))) {
        if (entry != u"prog.iso")
            strays.insert(entry, sha256OfFile(dir.filePath("work/" + entry)));
    }
    QVERIFY(writePlain(target, oldBytes));
    const tarmel::WriteResult result = tarmel::writeFileAtomically(target, newBytes);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(sha256OfFile(target), newHash);
    for (auto it = strays.cbegin(); it != strays.cend(); ++it)
        QCOMPARE(sha256OfFile(dir.filePath("work/" + it.key())), it.value());
    QCOMPARE(listing(dir.filePath("work")).size(), strays.size() + 1);
}

QTEST_GUILESS_MAIN(TestKillSave)
#include "tst_killsave.moc"
