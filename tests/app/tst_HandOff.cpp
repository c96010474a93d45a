#include "app/HandOff.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

using tarmel::takeNextHandOff;
using tarmel::takePendingHandOffs;
using tarmel::writeHandOff;

namespace {

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// The single waiting hand-off file of the folder, renamed by the test as if an instance
// had claimed it and died before finishing.
bool simulateInterruptedClaim(const QString &folder)
{
    const QStringList waiting = QDir(folder).entryList(QStringList{"Tarmel.tmp.*"}, QDir::Files);
    if (waiting.size() != 1)
        return false;
    const QString claimed = "Tarmel.claimed." + waiting[0].mid(QStringLiteral("Tarmel.tmp.").size());
    return QDir(folder).rename(waiting[0], claimed);
}

} // namespace

class HandOffTest : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void takeNextReturnsEachOnce();
    void partWrittenHandOffIsNotTaken();
    void otherUsersHandOffIsIgnored();
    void legacyFile_data();
    void legacyFile();
    void legacyFileComesFirst();
    void interruptedClaimIsRecoveredAtStartUp();
    void oldPartWrittenFilesAreCleared();
    void writeFailsInMissingFolder();
    void simultaneousWritersAreAllTaken();
};

void HandOffTest::roundTrip_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("plain") << "/home/op/programmes/P1234.iso";
    QTest::newRow("comma") << "/home/op/programmes/bride, reprise.iso";
    QTest::newRow("quotes") << "/home/op/\"pièce\" 12.iso";
    QTest::newRow("leading quote and comma") << "\"a\",b.iso";
    QTest::newRow("blanks at both ends") << "  /home/op/a b.iso  ";
    QTest::newRow("accents and euro") << QStringLiteral(u"/home/op/Pièce à 5 €.iso");
    QTest::newRow("line break inside") << "/home/op/deux\nlignes.iso";
    QTest::newRow("CR LF inside") << "/home/op/deux\r\nlignes.iso";
    QTest::newRow("ends with CR") << "/home/op/fin\r";
    QTest::newRow("empty") << "";
}

void HandOffTest::roundTrip()
{
    QFETCH(QString, path);
    QTemporaryDir dir;
    QVERIFY(writeHandOff(dir.path(), path));
    QCOMPARE(takePendingHandOffs(dir.path()), QStringList{path});
    QCOMPARE(entriesOf(dir.path()), QStringList());
}

void HandOffTest::takeNextReturnsEachOnce()
{
    // The poll opens one path, and while a message of the open is shown, a later tick
    // takes again: it gets the next hand-off, never the one being opened.
    QTemporaryDir dir;
    QVERIFY(writeHandOff(dir.path(), "/a.iso"));
    QVERIFY(writeHandOff(dir.path(), "/b.iso"));
    QCOMPARE(takeNextHandOff(dir.path()), std::optional<QString>("/a.iso"));
    QVERIFY(writeHandOff(dir.path(), "/c.iso"));
    QCOMPARE(takeNextHandOff(dir.path()), std::optional<QString>("/b.iso"));
    QCOMPARE(takeNextHandOff(dir.path()), std::optional<QString>("/c.iso"));
    QCOMPARE(takeNextHandOff(dir.path()), std::nullopt);
}

void HandOffTest::partWrittenHandOffIsNotTaken()
{
    QTemporaryDir dir;
    const QString part = ".Tarmel.tmp." + tarmel::handOffUserKey() + ".00000000000000000001.1.0";
    writeBytes(dir.filePath(part), "/home/op/moit");
    QCOMPARE(takePendingHandOffs(dir.path()), QStringList());
    QCOMPARE(entriesOf(dir.path()), QStringList{part});
}

void HandOffTest::otherUsersHandOffIsIgnored()
{
    QTemporaryDir dir;
    // A key that extends ours: only the whole key between the dots may match.
    const QString other = tarmel::handOffUserKey() + "7";
    QVERIFY(writeHandOff(dir.path(), "/autre.iso", other));
    QVERIFY(writeHandOff(dir.path(), "/mien.iso"));
    QCOMPARE(takePendingHandOffs(dir.path()), QStringList{"/mien.iso"});
    QCOMPARE(takePendingHandOffs(dir.path(), other), QStringList{"/autre.iso"});
}

void HandOffTest::legacyFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("path");
    QTest::newRow("CR LF, comma kept") << QByteArray("/home/op/a,b.iso\r\n") << "/home/op/a,b.iso";
    QTest::newRow("Windows-1252") << QByteArray("/home/op/Pi\xe8" "ce.iso\r\n") << QStringLiteral(u"/home/op/Pièce.iso");
    QTest::newRow("no line end") << QByteArray("/home/op/\"q\".iso") << "/home/op/\"q\".iso";
}

void HandOffTest::legacyFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, path);
    QTemporaryDir dir;
    writeBytes(dir.filePath("Tarmel.tmp"), bytes);
    QCOMPARE(takePendingHandOffs(dir.path()), QStringList{path});
    QCOMPARE(entriesOf(dir.path()), QStringList());
}

void HandOffTest::legacyFileComesFirst()
{
    QTemporaryDir dir;
    QVERIFY(writeHandOff(dir.path(), "/nouveau.iso"));
    writeBytes(dir.filePath("Tarmel.tmp"), "/ancien.iso\r\n");
    QCOMPARE(takePendingHandOffs(dir.path()), (QStringList{"/ancien.iso", "/nouveau.iso"}));
}

void HandOffTest::interruptedClaimIsRecoveredAtStartUp()
{
    QTemporaryDir dir;
    QVERIFY(writeHandOff(dir.path(), "/repris.iso"));
    QVERIFY(simulateInterruptedClaim(dir.path()));
    QVERIFY(writeHandOff(dir.path(), "/suivant.iso"));
    // A claim in progress belongs to whoever made it: a poll does not take it.
    QCOMPARE(takePendingHandOffs(dir.path()), QStringList{"/suivant.iso"});
    QCOMPARE(tarmel::recoverInterruptedHandOffs(dir.path()), 1);
    QCOMPARE(takePendingHandOffs(dir.path()), QStringList{"/repris.iso"});
    QCOMPARE(tarmel::recoverInterruptedHandOffs(dir.path()), 0);
    QCOMPARE(entriesOf(dir.path()), QStringList());
}

void HandOffTest::oldPartWrittenFilesAreCleared()
{
    QTemporaryDir dir;
    const QString key = tarmel::handOffUserKey();
    const QString oldPart = ".Tarmel.tmp." + key + ".00000000000000000001.1.0";
    const QString freshPart = ".Tarmel.tmp." + key + ".00000000000000000002.1.0";
    const QString otherUsersPart = ".Tarmel.tmp." + key + "7.00000000000000000003.1.0";
    for (const QString &name : {oldPart, freshPart, otherUsersPart})
        writeBytes(dir.filePath(name), "/moit");
    for (const QString &name : {oldPart, otherUsersPart}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-2 * 3600),
                                 QFileDevice::FileModificationTime));
    }
    QCOMPARE(tarmel::recoverInterruptedHandOffs(dir.path()), 0);
    QCOMPARE(entriesOf(dir.path()), (QStringList{freshPart, otherUsersPart}));
}

void HandOffTest::writeFailsInMissingFolder()
{
    QTemporaryDir dir;
    QVERIFY(!writeHandOff(dir.filePath("absent"), "/a.iso"));
    QCOMPARE(entriesOf(dir.path()), QStringList());
}

void HandOffTest::simultaneousWritersAreAllTaken()
{
    QTemporaryDir dir;
    QStringList expected;
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int i = 1; i <= 5; ++i) {
        expected.append(QStringLiteral("/home/op/sélection %1, \"copie\".iso").arg(i));
        writers.push_back(std::make_unique<QProcess>());
        writers.back()->setProcessChannelMode(QProcess::ForwardedChannels);
        writers.back()->start(TARMEL_HANDOFF_WRITER, {dir.path(), expected.last()});
    }
    // Poll while they write, as the running instance does.
    QStringList taken;
    const QDeadlineTimer hangGuard(120'000);
    for (auto &writer : writers) {
        while (!writer->waitForFinished(5)) {
            QVERIFY2(writer->state() != QProcess::NotRunning, "writer did not start");
            QVERIFY2(!hangGuard.hasExpired(), "writers hung");
            taken += takePendingHandOffs(dir.path());
        }
        QCOMPARE(writer->exitStatus(), QProcess::NormalExit);
        QCOMPARE(writer->exitCode(), 0);
    }
    taken += takePendingHandOffs(dir.path());
    taken.sort();
    QCOMPARE(taken, expected);
    QCOMPARE(entriesOf(dir.path()), QStringList());
}

QTEST_GUILESS_MAIN(HandOffTest)
#include "tst_HandOff.moc"
