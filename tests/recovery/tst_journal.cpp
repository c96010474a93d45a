// The journal's file format, the sessions of running and ended instances, and the file stamps
// that tell a file changed by another program.
#include "recovery/FileStamp.h"
#include "recovery/Journal.h"
#include "tests/recovery/RecoveryTestTools.h"

#include <QTemporaryDir>
#include <QtTest>

#include <utime.h>

using namespace tarmel;
using namespace tarmel::recovery;

Q_DECLARE_METATYPE(tarmel::DiskChange)

namespace {

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

JournalEntry sampleEntry(const QByteArray &text = QByteArray("N10 G0 X0\n\n\nN20 (caf\xC3\xA9)\0end", 27))
{
    JournalEntry e;
    e.path = QStringLiteral("/ateliers/pièce 12/%41 line\nbreak.iso");
    e.written = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7, 890), Qt::UTC);
    e.format = FileFormat{Encoding::Utf8, true, LineEndStyle::Lf, false};
    e.text = text;
    e.base = FileStamp{true, 1234, 1700000000123456789LL, 2049, 987654321, contentHash("old")};
    return e;
}

} // namespace

class TestJournal : public QObject {
    Q_OBJECT
private slots:
    // Every field comes back: the decoded entry encodes to the very same bytes. Anything but a
    // whole journal is refused, so that it is reported and kept, never offered half-read.
    void roundTripAndDamage()
    {
        JournalEntry blank = sampleEntry(), rich = sampleEntry("TARMEL-JOURNAL 1\nlength=3\n\n\nTARMEL-JOURNAL-END\n");
        blank.path.clear(), blank.text.clear(), blank.base = FileStamp();
        rich.type = FileType::Rich;
        rich.format = FileFormat{Encoding::Windows1252, false, LineEndStyle::Mixed, true};
        for (const JournalEntry &e : {sampleEntry(), blank, rich}) {
            const std::optional<JournalEntry> back = decodeJournal(encodeJournal(e));
            QVERIFY(back && back->text == e.text);
            QCOMPARE(encodeJournal(*back), encodeJournal(e));
        }
        const QByteArray good = encodeJournal(sampleEntry());
        for (const QByteArray &bytes : {QByteArray(), good.left(good.size() - 25), good.left(40),
                                        QByteArray(good).replace("JOURNAL 1", "JOURNAL 9"),
                                        QByteArray(good).replace("length=27", "length=26"),
                                        QByteArray(good).replace("lineends=lf", "lineends=xx"),
                                        QByteArray(good).replace("path=", "pbth="), good + "x"})
            QVERIFY2(!decodeJournal(bytes), bytes.left(60).constData());
    }

    void folderFollowsXdgStateHome()
    {
        const QByteArray saved = qgetenv("XDG_STATE_HOME");
        const QString fallback = QDir::homePath() + QStringLiteral("/.local/state/tarmel/recovery");
        for (const auto &[home, expected] : {std::pair{"/srv/state", QStringLiteral("/srv/state/tarmel/recovery")},
                                             {"rel/state", fallback}, {"", fallback}}) {
            qputenv("XDG_STATE_HOME", home);
            QCOMPARE(defaultJournalFolder(), expected);
        }
        qputenv("XDG_STATE_HOME", saved);
    }

    // A running instance's journals are never listed; an ended one's are, once, to one lister.
    void sessionsOfRunningAndEndedInstances()
    {
        QTemporaryDir root;
        const QString folder = root.filePath(QStringLiteral("recovery"));
        auto running = std::make_unique<JournalSession>(folder);
        auto ended = std::make_unique<JournalSession>(folder);
        QVERIFY(running->write(1, sampleEntry("running")));
        QVERIFY(ended->write(1, sampleEntry("ended")) && ended->write(2, sampleEntry("ended")));
        ended->remove(2);
        const QString endedFile = ended->journalPath(1);
        QCOMPARE(testsupport::journalFiles(folder).size(), 2);
        QVERIFY(OrphanSessions(folder).journals().isEmpty());
        ended.reset(); // its journal stays: it was never resolved
        {
            OrphanSessions orphans(folder);
            QCOMPARE(orphans.journals().size(), 1);
            QCOMPARE(orphans.journals().first().file, endedFile);
            QCOMPARE(orphans.journals().first().entry->text, QByteArray("ended"));
            QVERIFY(OrphanSessions(folder).journals().isEmpty()); // another instance meanwhile: nothing to take
            QVERIFY(orphans.discard(endedFile) && !orphans.discard(endedFile));
        }
        // The ended session, emptied, is gone; the running one is whole.
        const auto sessions = [&] { return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden).size(); };
        QCOMPARE(QList<qsizetype>({sessions(), testsupport::journalFiles(folder).size()}), QList<qsizetype>({1, 1}));
        running->remove(1);
        running.reset();
        QCOMPARE(sessions(), 0);
    }

    void diskChange_data()
    {
        QTest::addColumn<QString>("action"); QTest::addColumn<DiskChange>("expected");
        QTest::newRow("touched, same bytes") << "touch" << DiskChange::Unchanged;
        QTest::newRow("rewritten, same bytes") << "N10 G0\r\n" << DiskChange::Unchanged;
        QTest::newRow("same size, other bytes") << "N10 G1\r\n" << DiskChange::Changed;
        QTest::newRow("appended") << "N10 G0\r\nN20\r\n" << DiskChange::Changed;
        QTest::newRow("deleted") << "delete" << DiskChange::Deleted;
        QTest::newRow("too large to hash, touched") << "touch-large" << DiskChange::Changed;
    }
    void diskChange()
    {
        QFETCH(QString, action); QFETCH(DiskChange, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.iso"));
        QVERIFY(writeBytes(path, "N10 G0\r\n"));
        const qint64 limit = action == QLatin1String("touch-large") ? 4 : kStampHashLimit;
        const FileStamp known = stampOf(path, limit);
        struct utimbuf later{1000000, 1000000}; // an old time, so that only the content can tell
        QVERIFY(!action.startsWith(u'N') || writeBytes(path, action.toLatin1()));
        QVERIFY(action == QLatin1String("delete") ? QFile::remove(path) : ::utime(QFile::encodeName(path).constData(), &later) == 0);
        FileStamp now;
        QCOMPARE(compareWithDisk(known, path, &now, limit), expected);
        QCOMPARE(now.exists, expected != DiskChange::Deleted);
    }
};

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
