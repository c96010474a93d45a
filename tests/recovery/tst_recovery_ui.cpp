// The recovery journal in one process: written while a document is modified, removed by a
// save, a close and "&Quitter", and offered back at start-up (the journals of an ended
// instance are made by a session that goes without removing them).
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "platform/RichTextBox.h"
#include "recovery/ExternalChangeCommands.h"
#include "recovery/Journal.h"
#include "recovery/RecoveryCommands.h"
#include "tests/recovery/RecoveryTestTools.h"
#include "tests/support/TestApp.h"

#include <Qsci/qsciscintilla.h>
#include <QtTest>

using namespace tarmel;
using testsupport::TestApp;
using testsupport::journalFiles;
using Action = platform::RecoveryAnswer::Action;

namespace {

// A main window keeping journals in its own temporary folder; started by start().
struct RecoveryApp : TestApp {
    QTemporaryDir stateDir;
    RecoveryApp() : TestApp(false) { fakes.recovery.folder = folder(); }
    QString folder() const { return stateDir.filePath(QStringLiteral("tarmel/recovery")); }
    void start() { main->startUp({}); }
    void type(const QString &keys) { QTest::keyClicks(doc()->Text1->engine(), keys); }
};

recovery::JournalEntry entry(const QString &path, const QByteArray &text, Encoding encoding, LineEndStyle ends,
                             int minute)
{
    recovery::JournalEntry e;
    e.path = path;
    e.text = text;
    e.format.encoding = encoding;
    e.format.lineEnds = ends;
    e.written = QDateTime(QDate(2026, 5, 6), QTime(7, minute), Qt::UTC);
    return e;
}

// Leaves the journals of an instance that ended without removing them.
QStringList leaveJournals(const QString &folder, const QList<recovery::JournalEntry> &entries)
{
    recovery::JournalSession ended(folder);
    QStringList files;
    quint64 id = 0;
    for (const recovery::JournalEntry &e : entries) {
        if (!ended.write(++id, e))
            return {};
        files << ended.journalPath(id);
    }
    return files;
}

} // namespace

class TestRecoveryUi : public QObject {
    Q_OBJECT
private slots:
    void journalFollowsTheDocument_data()
    {
        QTest::addColumn<QString>("then");
        QTest::addColumn<int>("journalsLeft");
        QTest::newRow("still modified") << "" << 1;
        QTest::newRow("saved") << "Mnu_Enregistrer" << 0;
        QTest::newRow("closed without saving") << "Mnu_Close:no" << 0;
        QTest::newRow("closed and saved") << "Mnu_Close:yes" << 0;
        QTest::newRow("quit without saving") << "Mnu_Quitter:no" << 0;
    }
    void journalFollowsTheDocument()
    {
        QFETCH(QString, then);
        QFETCH(int, journalsLeft);
        RecoveryApp app;
        app.start();
        app.trigger("Mnu_Nouveau"); // a second window, so that "&Fermer" closes the first
        const QString file = app.write(QStringLiteral("p.iso"), "N10 G0\nN20 M30\n");
        Form1 *doc = app.open(file);
        QVERIFY(journalFiles(app.folder()).isEmpty()); // opened, not modified: nothing kept
        doc->Text1->setSelStart(0);
        app.type(QStringLiteral("(A)"));
        const QByteArray typed("(A)N10 G0\nN20 M30\n");
        QTRY_VERIFY(testsupport::hasJournalWithText(app.folder(), typed));
        const recovery::JournalEntry e = testsupport::journalEntries(app.folder()).first();
        QCOMPARE(e.path, file);
        QCOMPARE(e.format.lineEnds, LineEndStyle::Lf);
        QCOMPARE(e.format.encoding, Encoding::Windows1252);
        QCOMPARE(e.written, app.fakes.clock.now().toUTC());
        QCOMPARE(e.type, FileType::Plain);

        const QStringList parts = then.split(u':');
        if (parts.value(1) == QLatin1String("yes") || parts.value(1) == QLatin1String("no")) {
            if (parts[0] == QLatin1String("Mnu_Quitter"))
                app.fakes.messageBox.answerYes();
            app.fakes.messageBox.answer(parts[1] == QLatin1String("yes") ? platform::mb::AnswerYes
                                                                         : platform::mb::AnswerNo);
        }
        if (!then.isEmpty())
            app.trigger(parts[0]);
        QCoreApplication::processEvents();
        QCOMPARE(journalFiles(app.folder()).size(), journalsLeft);
        if (then == QLatin1String("Mnu_Enregistrer") || then == QLatin1String("Mnu_Close:yes"))
            QCOMPARE(TestApp::read(file), typed);
        else
            QCOMPARE(TestApp::read(file), QByteArray("N10 G0\nN20 M30\n"));
    }

    // A session that ends normally leaves no folder behind; one that still had a modified
    // document (never resolved by the user) leaves its journal for the next start.
    void endOfInstance()
    {
        QTemporaryDir stateDir;
        const QString folder = stateDir.filePath(QStringLiteral("r"));
        {
            TestApp app(false);
            app.fakes.recovery.folder = folder;
            app.main->startUp({});
            app.trigger("Mnu_Nouveau");
            QTest::keyClicks(app.doc()->Text1->engine(), QStringLiteral("N1"));
            QTRY_COMPARE(journalFiles(folder).size(), 1);
        }
        QCOMPARE(journalFiles(folder).size(), 1);
        const recovery::JournalEntry e = testsupport::journalEntries(folder).first();
        QCOMPARE(e.path, QString()); // never saved
        QCOMPARE(e.text, QByteArray("N1"));
    }

    void offeredAtStart_data()
    {
        QTest::addColumn<QList<int>>("answers"); // per dialog: 0 later, 1 reopen all, 2 reopen first, 3 discard first
        QTest::addColumn<int>("discardAnswer");  // the confirmation, when asked
        QTest::addColumn<int>("dialogs");
        QTest::addColumn<int>("reopened");
        QTest::addColumn<QList<bool>>("oldJournalsLeft");
        QTest::newRow("reopen all") << QList<int>{1} << 0 << 1 << 2 << QList<bool>{false, false};
        QTest::newRow("reopen the first, keep the other") << QList<int>{2, 0} << 0 << 2 << 1 << QList<bool>{false, true};
        QTest::newRow("discard the first, keep the other")
            << QList<int>{3, 0} << int(platform::mb::AnswerYes) << 2 << 0 << QList<bool>{false, true};
        QTest::newRow("discard declined") << QList<int>{3, 0} << int(platform::mb::AnswerNo) << 2 << 0
                                          << QList<bool>{true, true};
        QTest::newRow("later") << QList<int>{0} << 0 << 1 << 0 << QList<bool>{true, true};
    }
    void offeredAtStart()
    {
        QFETCH(QList<int>, answers);
        QFETCH(int, discardAnswer);
        QFETCH(int, dialogs);
        QFETCH(int, reopened);
        QFETCH(QList<bool>, oldJournalsLeft);
        RecoveryApp app;
        const QString file = app.path(QStringLiteral("sub/prog.iso"));
        const QStringList old = leaveJournals(
            app.folder(), {entry(file, "N10 (\xC3\xA9t\xC3\xA9)\nN20\n", Encoding::Utf8, LineEndStyle::Lf, 1),
                           entry(QString(), "N1\r\nN2", Encoding::Windows1252, LineEndStyle::CrLf, 2)});
        QCOMPARE(old.size(), 2);
        for (int a : answers) {
            if (a == 0)
                app.fakes.recovery.answer(Action::Later);
            else if (a == 1)
                app.fakes.recovery.answer(Action::Reopen);
            else
                app.fakes.recovery.answer(a == 2 ? Action::Reopen : Action::Discard, {true, false});
        }
        if (discardAnswer)
            app.fakes.messageBox.answer(discardAnswer);
        app.start();

        const auto &shown = app.fakes.recovery.shown;
        QCOMPARE(shown.size(), dialogs);
        QCOMPARE(shown[0].size(), 2);
        QCOMPARE(shown[0][0].fileName, QStringLiteral("prog.iso"));
        QCOMPARE(shown[0][0].folder, app.path(QStringLiteral("sub")));
        QCOMPARE(shown[0][0].written, QDateTime(QDate(2026, 5, 6), QTime(7, 1), Qt::UTC));
        QCOMPARE(shown[0][1].fileName, QStringLiteral("Nouveau.iso"));
        QCOMPARE(shown[0][1].folder, QString());
        if (dialogs > 1) {
            // Shown again with what is left, until the user keeps it for later.
            QCOMPARE(shown[1].size(), int(oldJournalsLeft.count(true)));
            QCOMPARE(shown[1].last().fileName, QStringLiteral("Nouveau.iso"));
        }
        QCOMPARE(app.main->documents().size(), reopened);
        for (int i = 0; i < old.size(); ++i)
            QCOMPARE(QFile::exists(old[i]), oldJournalsLeft[i]);
        // Each reopened document is journalled again by this instance before its old journal goes.
        QCOMPARE(journalFiles(app.folder()).size(), int(oldJournalsLeft.count(true)) + reopened);
        if (reopened == 0)
            return;
        Form1 *doc = app.main->documents().first();
        QCOMPARE(doc->caption(), file);
        QCOMPARE(doc->StatusBar1->panelText(1), QStringLiteral("prog.iso"));
        QCOMPARE(doc->StatusBar1->panelText(9), QStringLiteral("UTF-8"));
        QCOMPARE(doc->StatusBar1->panelText(10), QStringLiteral("LF"));
        QCOMPARE(doc->Text1->utf8(), QByteArray("N10 (\xC3\xA9t\xC3\xA9)\nN20\n"));
        QVERIFY(doc->Change);
        QCOMPARE(app.mismatches(QStringLiteral("Mnu_Enregistrer Mnu_EnregistrerSous")), QString());
        // "&Enregistrer" writes where the user meant, in the file's own format.
        QVERIFY(QDir().mkpath(app.path(QStringLiteral("sub"))));
        app.main->activateDocument(doc);
        app.trigger("Mnu_Enregistrer");
        QCOMPARE(TestApp::read(file), QByteArray("N10 (\xC3\xA9t\xC3\xA9)\nN20\n"));
        QVERIFY(!doc->Change);
        QCOMPARE(journalFiles(app.folder()).size(), int(oldJournalsLeft.count(true)) + reopened - 1);
        if (reopened == 2) {
            Form1 *fresh = app.main->documents().at(1);
            QCOMPARE(fresh->caption(), QStringLiteral("Nouveau.iso"));
            QCOMPARE(fresh->Text1->utf8(), QByteArray("N1\r\nN2"));
            QCOMPARE(fresh->StatusBar1->panelText(10), QStringLiteral("CR LF"));
        }
    }

    // Only the instance holding the instance lock offers the journals; a second one leaves them.
    // Before its file is rewritten in place, a document's text goes to the journal at once,
    // without waiting for the pause after typing.
    void securedBeforeAnInPlaceRewrite()
    {
        RecoveryApp app;
        app.fakes.recovery.pause = app.fakes.recovery.longestWait = 600000;
        app.start();
        ExternalChangeCommands disk(*app.main);
        RecoveryCommands recovery(*app.main, disk);
        Form1 *doc = app.open(app.write(QStringLiteral("p.iso"), "N10\n"));
        doc->Text1->setSelStart(0);
        app.type(QStringLiteral("(A)"));
        QCoreApplication::processEvents();
        QVERIFY(journalFiles(app.folder()).isEmpty());
        QVERIFY(recovery.secureBeforeRewrite(doc));
        QVERIFY(testsupport::hasJournalWithText(app.folder(), "(A)N10\n"));
    }

    void secondInstanceOffersNothing()
    {
        RecoveryApp app;
        const QStringList old = leaveJournals(app.folder(), {entry(QString(), "N1", Encoding::Utf8, LineEndStyle::Lf, 1)});
        app.fakes.shell.previousInstance = true;
        app.start();
        QVERIFY(app.fakes.recovery.shown.isEmpty());
        QVERIFY(QFile::exists(old.first()));
    }

    void unreadableJournalIsReportedAndKept()
    {
        RecoveryApp app;
        const QStringList old = leaveJournals(app.folder(), {entry(QString(), "N1", Encoding::Utf8, LineEndStyle::Lf, 1),
                                                             entry(QString(), "N2", Encoding::Utf8, LineEndStyle::Lf, 2)});
        QFile damaged(old[0]);
        QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write("TARMEL-JOURNAL 1\npath=");
        damaged.close();
        app.fakes.messageBox.answerOk();
        app.fakes.recovery.answer(Action::Reopen);
        app.start();
        QCOMPARE(app.fakes.messageBox.boxes().size(), 1);
        QVERIFY(app.fakes.messageBox.last().text.contains(old[0]));
        QCOMPARE(app.fakes.messageBox.last().title, QStringLiteral("Récupération de documents"));
        QCOMPARE(app.fakes.recovery.shown.size(), 1);
        QCOMPARE(app.fakes.recovery.shown[0].size(), 1);
        QCOMPARE(app.main->documents().size(), 1);
        QCOMPARE(app.doc()->Text1->utf8(), QByteArray("N2"));
        QVERIFY(QFile::exists(old[0]));
        QVERIFY(!QFile::exists(old[1]));
    }

    // A rich document's journal holds its formats, and comes back with them.
    void richDocumentComesBackRich()
    {
        RecoveryApp app;
        recovery::JournalEntry e = entry(app.path(QStringLiteral("doc.rtf")),
                                         "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 a{\\b bold}\\par}",
                                         Encoding::Windows1252, LineEndStyle::CrLf, 1);
        e.type = FileType::Rich;
        leaveJournals(app.folder(), {e});
        app.fakes.recovery.answer(Action::Reopen);
        app.start();
        QCOMPARE(app.main->documents().size(), 1);
        Form1 *doc = app.doc();
        QCOMPARE(doc->fileType, FileType::Rich);
        QVERIFY(doc->Text1->text().startsWith(QStringLiteral("abold")));
        doc->Text1->setSelStart(1);
        doc->Text1->setSelLength(4);
        QVERIFY(doc->Text1->selBold());
        const QList<recovery::JournalEntry> now = testsupport::journalEntries(app.folder());
        QCOMPARE(now.size(), 1);
        QCOMPARE(now[0].type, FileType::Rich);
        QVERIFY(now[0].text.contains("\\b"));
    }
};

QTEST_MAIN(TestRecoveryUi)
#include "tst_recovery_ui.moc"
