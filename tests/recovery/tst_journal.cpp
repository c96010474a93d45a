// The journal's file format, the sessions of running and ended instances, and the file stamps
// that tell a file changed by another program.
#include "recovery/FileStamp.h"
#include "recovery/Journal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
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

JournalEntry sampleEntry()
{
    JournalEntry e;
    e.path = QStringLiteral("/ateliers/pièce 12/%41 line\nbreak.iso");
    e.written = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7, 890), Qt::UTC);
    e.format.encoding = Encoding::Utf8;
    e.format.bom = true;
    e.format.lineEnds = LineEndStyle::Lf;
    e.format.finalLineEnd = false;
    static const char text[] = "N10 G0 X0\n\n\nN20 (caf\xC3\xA9)\0end";
    e.text = QByteArray(text, sizeof text - 1);
    e.base.exists = true;
    e.base.size = 1234;
    e.base.modifiedNs = 1700000000123456789LL;
    e.base.device = 2049;
    e.base.inode = 987654321;
    e.base.hash = contentHash("old");
    return e;
}

QStringList journalsUnder(const QString &root)
{
    QStringList found;
    for (const QString &session : QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const QString &file : QDir(root + u'/' + session).entryList({QStringLiteral("*.journal")}))
            found << session + u'/' + file;
    return found;
}

} // namespace

class TestJournal : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data()
    {
        QTest::addColumn<int>("variant");
        QTest::newRow("utf-8, LF, BOM, NUL, odd path") << 0;
        QTest::newRow("new document, empty text, no base") << 1;
        QTest::newRow("rich text, Windows-1252, mixed ends") << 2;
        QTest::newRow("text that holds the header's own marks") << 3;
    }
    void roundTrip()
    {
        QFETCH(int, variant);
        JournalEntry e = sampleEntry();
        if (variant == 1) {
            e.path.clear();
            e.text.clear();
            e.base = FileStamp();
        } else if (variant == 2) {
            e.type = FileType::Rich;
            e.format = FileFormat{Encoding::Windows1252, false, LineEndStyle::Mixed, true};
            e.text = "{\\rtf1\\ansi x}";
        } else if (variant == 3) {
            e.text = "TARMEL-JOURNAL 1\nlength=3\n\n\nTARMEL-JOURNAL-END\n";
        }
        const std::optional<JournalEntry> back = decodeJournal(encodeJournal(e));
        QVERIFY(back);
        QCOMPARE(back->path, e.path);
        QCOMPARE(back->written, e.written);
        QCOMPARE(back->type, e.type);
        QCOMPARE(back->format.encoding, e.format.encoding);
        QCOMPARE(back->format.bom, e.format.bom);
        QCOMPARE(back->format.lineEnds, e.format.lineEnds);
        QCOMPARE(back->format.finalLineEnd, e.format.finalLineEnd);
        QCOMPARE(back->text, e.text);
        QCOMPARE(back->base.exists, e.base.exists);
        QVERIFY(back->base.sameMetadata(e.base));
        QCOMPARE(back->base.hash, e.base.hash);
    }

    // Anything but a whole journal is refused, so that it is reported and kept, never
    // offered half-read.
    void damagedIsRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = encodeJournal(sampleEntry());
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("cut in the text") << good.left(good.size() - 25);
        QTest::newRow("cut in the header") << good.left(40);
        QTest::newRow("another format") << QByteArray(good).replace("JOURNAL 1", "JOURNAL 9");
        QTest::newRow("text longer than said") << QByteArray(good).replace("length=27", "length=26");
        QTest::newRow("bad line ends") << QByteArray(good).replace("lineends=lf", "lineends=xx");
        QTest::newRow("no path") << QByteArray(good).replace("path=", "pbth=");
        QTest::newRow("trailing bytes") << good + "x";
    }
    void damagedIsRefused()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!decodeJournal(bytes));
    }

    void folderFollowsXdgStateHome_data()
    {
        QTest::addColumn<QByteArray>("stateHome");
        QTest::addColumn<QString>("expected");
        QTest::newRow("set") << QByteArray("/srv/state") << QStringLiteral("/srv/state/tarmel/recovery");
        QTest::newRow("unset") << QByteArray() << QDir::homePath() + QStringLiteral("/.local/state/tarmel/recovery");
        QTest::newRow("relative: ignored") << QByteArray("rel/state")
                                           << QDir::homePath() + QStringLiteral("/.local/state/tarmel/recovery");
    }
    void folderFollowsXdgStateHome()
    {
        QFETCH(QByteArray, stateHome);
        QFETCH(QString, expected);
        const QByteArray saved = qgetenv("XDG_STATE_HOME");
        if (stateHome.isEmpty())
            qunsetenv("XDG_STATE_HOME");
        else
            qputenv("XDG_STATE_HOME", stateHome);
        const QString folder = defaultJournalFolder();
        qputenv("XDG_STATE_HOME", saved);
        QCOMPARE(folder, expected);
    }

    // A running instance's journals are never listed; an ended one's are, once, to one lister.
    void sessionsOfRunningAndEndedInstances()
    {
        QTemporaryDir root;
        const QString folder = root.filePath(QStringLiteral("recovery"));
        auto running = std::make_unique<JournalSession>(folder);
        auto ended = std::make_unique<JournalSession>(folder);
        JournalEntry a = sampleEntry();
        a.text = "running";
        JournalEntry b = sampleEntry();
        b.text = "ended";
        QVERIFY(running->write(1, a));
        QVERIFY(ended->write(1, b));
        QVERIFY(ended->write(2, b));
        ended->remove(2);
        const QString endedFile = ended->journalPath(1);
        QCOMPARE(journalsUnder(folder).size(), 2);
        {
            OrphanSessions none(folder);
            QVERIFY(none.journals().isEmpty());
        }
        ended.reset(); // its journal stays: it was never resolved
        QVERIFY(QFile::exists(endedFile));
        {
            OrphanSessions orphans(folder);
            QCOMPARE(orphans.journals().size(), 1);
            QCOMPARE(orphans.journals().first().file, endedFile);
            QCOMPARE(orphans.journals().first().entry->text, QByteArray("ended"));
            OrphanSessions second(folder); // another instance meanwhile: nothing to take
            QVERIFY(second.journals().isEmpty());
            QVERIFY(orphans.discard(endedFile));
            QVERIFY(!orphans.discard(endedFile));
        }
        // The ended session, emptied, is gone; the running one is whole.
        QCOMPARE(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
        QCOMPARE(journalsUnder(folder).size(), 1);
        running->remove(1);
        running.reset();
        QVERIFY(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    }

    void sessionInUnwritableFolderFails()
    {
        QTemporaryDir root;
        QVERIFY(writeBytes(root.filePath(QStringLiteral("file")), "x"));
        JournalSession session(root.filePath(QStringLiteral("file/recovery")));
        QString error;
        QVERIFY(!session.write(1, sampleEntry(), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(session.journalPath(1).isEmpty());
    }

    void diskChange_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<DiskChange>("expected");
        QTest::newRow("untouched") << "none" << DiskChange::Unchanged;
        QTest::newRow("touched, same bytes") << "touch" << DiskChange::Unchanged;
        QTest::newRow("rewritten, same bytes") << "rewrite-same" << DiskChange::Unchanged;
        QTest::newRow("same size, other bytes") << "same-size" << DiskChange::Changed;
        QTest::newRow("appended") << "append" << DiskChange::Changed;
        QTest::newRow("replaced by a rename") << "replace" << DiskChange::Changed;
        QTest::newRow("deleted") << "delete" << DiskChange::Deleted;
        QTest::newRow("too large to hash, touched") << "touch-large" << DiskChange::Changed;
    }
    void diskChange()
    {
        QFETCH(QString, action);
        QFETCH(DiskChange, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.iso"));
        QVERIFY(writeBytes(path, "N10 G0\r\n"));
        const qint64 limit = action == QLatin1String("touch-large") ? 4 : kStampHashLimit;
        const FileStamp known = stampOf(path, limit);
        QCOMPARE(known.hash.isEmpty(), action == QLatin1String("touch-large"));
        const QByteArray name = QFile::encodeName(path);
        struct utimbuf later{1000000, 1000000};
        if (action == QLatin1String("touch") || action == QLatin1String("touch-large")) {
            QCOMPARE(::utime(name.constData(), &later), 0);
        } else if (action == QLatin1String("rewrite-same")) {
            QVERIFY(writeBytes(path, "N10 G0\r\n"));
            QCOMPARE(::utime(name.constData(), &later), 0);
        } else if (action == QLatin1String("same-size")) {
            QVERIFY(writeBytes(path, "N10 G1\r\n"));
            QCOMPARE(::utime(name.constData(), &later), 0);
        } else if (action == QLatin1String("append")) {
            QVERIFY(writeBytes(path, "N10 G0\r\nN20\r\n"));
        } else if (action == QLatin1String("replace")) {
            const QString other = dir.filePath(QStringLiteral("new"));
            QVERIFY(writeBytes(other, "M30\r\n"));
            QVERIFY(::rename(QFile::encodeName(other).constData(), name.constData()) == 0);
        } else if (action == QLatin1String("delete")) {
            QVERIFY(QFile::remove(path));
        }
        FileStamp now;
        QCOMPARE(compareWithDisk(known, path, &now, limit), expected);
        QCOMPARE(now.exists, expected != DiskChange::Deleted);
    }

    void readOnly_data()
    {
        QTest::addColumn<int>("mode"); // -1: no such file
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("0644") << 0644 << false;
        QTest::newRow("0444") << 0444 << true;
        QTest::newRow("0400") << 0400 << true;
        QTest::newRow("0200") << 0200 << false;
        QTest::newRow("missing") << -1 << false;
    }
    void readOnly()
    {
        QFETCH(int, mode);
        QFETCH(bool, readOnly);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.iso"));
        if (mode >= 0) {
            QVERIFY(writeBytes(path, "x"));
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
        }
        QCOMPARE(isReadOnlyFile(path), readOnly);
    }
};

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
