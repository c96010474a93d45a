#include "app/HandOff.h"
#include "tests/files/FileTestTools.h"

#include <QDateTime>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace tarmel;
using filetest::listing;

class HandOffTest : public QObject
{
    Q_OBJECT
private slots:
    // A path comes back exactly as it was written, and nothing is left in the folder.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("quotes, leading too, and commas") << "\"a\",b/\"pièce\" 12, reprise.iso";
        QTest::newRow("blanks at both ends, accents, euro, a final CR") << "  /home/op/Pièce à 5 €.iso  \r";
        QTest::newRow("line breaks inside") << "/home/op/deux\nlignes\r\n.iso";
        QTest::newRow("empty") << "";
    }

    void roundTrip()
    {
        QFETCH(QString, path);
        QTemporaryDir dir;
        QVERIFY(writeHandOff(dir.path(), path));
        QCOMPARE(takePendingHandOffs(dir.path()), QStringList{path});
        QCOMPARE(listing(dir.path()), QStringList());
    }

    // Each taken once, oldest first (the single file of earlier versions, 1252, first); another user's left.
    void takesEachOnceInOrder()
    {
        QTemporaryDir dir;
        const QString other = handOffUserKey() + "7";   // only the whole key between the dots matches
        QVERIFY(writeHandOff(dir.path(), "/a.iso") && writeHandOff(dir.path(), "/b.iso") && writeHandOff(dir.path(), "/x.iso", other));
        QVERIFY(filetest::writePlain(dir.filePath("Tarmel.tmp"), "/ancien \xe8,b.iso\r\n"));
        QCOMPARE(takeNextHandOff(dir.path()), std::optional<QString>("/ancien è,b.iso"));
        QCOMPARE(takeNextHandOff(dir.path()), std::optional<QString>("/a.iso"));
        QVERIFY(writeHandOff(dir.path(), "/c.iso"));
        QCOMPARE(takePendingHandOffs(dir.path()), QStringList({"/b.iso", "/c.iso"}));
        QCOMPARE(takePendingHandOffs(dir.path(), other), QStringList{"/x.iso"});
        QVERIFY(!writeHandOff(dir.filePath("absent"), "/a.iso"));
        QCOMPARE(listing(dir.path()), QStringList());
    }

    // At start-up a dead instance's claim is put back and the user's part-written files older than an hour go.
    void startUpRecovers()
    {
        QTemporaryDir dir;
        QVERIFY(writeHandOff(dir.path(), "/repris.iso"));
        const QString waiting = listing(dir.path()).constFirst(), key = handOffUserKey();
        QVERIFY(QDir(dir.path()).rename(waiting, QString(waiting).replace("Tarmel.tmp.", "Tarmel.claimed.")));
        const QStringList parts{".Tarmel.tmp." + key + ".00000000000000000001.1.0", ".Tarmel.tmp." + key + "7.00000000000000000002.1.0",
                                ".Tarmel.tmp." + key + ".00000000000000000003.1.0"};   // old, another user's old, fresh
        for (const QString &name : parts) {
            QFile part(dir.filePath(name));
            QVERIFY(part.open(QIODevice::WriteOnly) && part.write("/moit") && part.flush());
            QVERIFY(name == parts[2] || part.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-7200), QFileDevice::FileModificationTime));
        }
        QCOMPARE(takePendingHandOffs(dir.path()), QStringList());
        QCOMPARE(recoverInterruptedHandOffs(dir.path()), 1);
        QCOMPARE(takePendingHandOffs(dir.path()), QStringList{"/repris.iso"});
        QCOMPARE(recoverInterruptedHandOffs(dir.path()), 0);
        QCOMPARE(listing(dir.path()), QStringList({parts[2], parts[1]}));
    }

    // Second instances writing at once while the running one polls: every path is taken, once.
    void simultaneousWritersAreAllTaken()
    {
        QTemporaryDir dir;
        QStringList expected, taken;
        QProcess writers[5];
        for (QProcess &writer : writers) {
            expected << QStringLiteral("/home/op/sélection %1, \"copie\".iso").arg(expected.size());
            writer.start(TARMEL_HANDOFF_WRITER, {dir.path(), expected.last()});
        }
        for (QProcess &writer : writers) {
            while (!writer.waitForFinished(5) && writer.state() != QProcess::NotRunning)
                taken += takePendingHandOffs(dir.path());
            QVERIFY(writer.exitStatus() == QProcess::NormalExit && writer.exitCode() == 0);
        }
        taken += takePendingHandOffs(dir.path());
        taken.sort();
        QCOMPARE(taken, expected);
    }
};

QTEST_GUILESS_MAIN(HandOffTest)
#include "tst_HandOff.moc"
