// The recovery journal in one process: written while a document is modified, removed by a
// save, a close and "&Quitter", and offered back at start-up (the journals of an ended
// instance are made by a session that goes without removing them). Files changed, deleted or
// replaced on disk between open and save, a close or an activation of the document's window;
// read-only files.
#include "app/DocumentEvents.h"
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "platform/RichTextBox.h"
#include "recovery/ExternalChangeCommands.h"
#include "recovery/RecoveryCommands.h"
#include "tests/recovery/RecoveryTestTools.h"
#include "tests/support/TestApp.h"

#include <Qsci/qsciscintilla.h>
#include <QtTest>

#include <sys/stat.h>
#include <utime.h>

using namespace tarmel;
using testsupport::TestApp;
using testsupport::journalFiles;
using Action = platform::RecoveryAnswer::Action;
constexpr int Yes = platform::mb::AnswerYes, No = platform::mb::AnswerNo;

namespace {

const QByteArray kOriginal("N10 G0 X0\r\nN20 M30\r\n");
const QByteArray kOther("N10 G1 X5\r\nN20 M30\r\n"); // same size
const QByteArray kTyped("(A)" + kOriginal);

// Changes the file behind the editor's back: "modify", "touch", "delete" or "replace".
bool changeOnDisk(const QString &file, const QString &how)
{
    const QByteArray name = QFile::encodeName(file);
    struct utimbuf later{2000000, 2000000};
    const auto write = [](const QString &path, const QByteArray &bytes) {
        QFile f(path);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
    };
    if (how == QLatin1String("delete"))
        return QFile::remove(file);
    if (how == QLatin1String("replace"))
        return write(file + ".new", "M30\r\n") && ::rename(QFile::encodeName(file + ".new").constData(), name.constData()) == 0;
    return (how != QLatin1String("modify") || write(file, kOther)) && ::utime(name.constData(), &later) == 0;
}

// A main window keeping journals in its own temporary folder, started by start() after it has
// found the journals of an instance that ended without removing them (their files: `old`).
struct RecoveryApp : TestApp {
    QTemporaryDir stateDir;
    QStringList old;
    explicit RecoveryApp(const QList<recovery::JournalEntry> &entries = {}) : TestApp(false)
    {
        fakes.recovery.folder = folder();
        recovery::JournalSession ended(folder());
        for (const recovery::JournalEntry &e : entries)
            if (ended.write(old.size() + 1, e))
                old << ended.journalPath(old.size() + 1);
    }
    QString folder() const { return stateDir.filePath(QStringLiteral("tarmel/recovery")); }
    void start() { main->startUp({}); }
    void type(const QString &keys) { QTest::keyClicks(doc()->Text1->engine(), keys); }
};

// Minute 2 stands for a Windows-1252 document with CR LF line ends.
recovery::JournalEntry entry(const QString &path, const QByteArray &text, int minute, FileType type = FileType::Plain)
{
    recovery::JournalEntry e;
    std::tie(e.path, e.text, e.type) = std::tuple(path, text, type);
    e.format.encoding = minute == 2 ? Encoding::Windows1252 : Encoding::Utf8;
    e.format.lineEnds = minute == 2 ? LineEndStyle::CrLf : LineEndStyle::Lf;
    e.written = QDateTime(QDate(2026, 5, 6), QTime(7, minute), Qt::UTC);
    return e;
}

} // namespace

class TestRecoveryUi : public QObject {
    Q_OBJECT
private slots:
    void journalFollowsTheDocument_data()
    {
        QTest::addColumn<QString>("then");
        for (const char *command : {"Mnu_Enregistrer", "Mnu_Close", "Mnu_Quitter"})
            QTest::newRow(command) << command;
    }
    void journalFollowsTheDocument()
    {
        QFETCH(QString, then);
        RecoveryApp app;
        app.start();
        app.trigger("Mnu_Nouveau"); // a second window, so that "&Fermer" closes the first
        const QByteArray original("N10 G0\nN20 M30\n"), typed("(A)" + original);
        const QString file = app.write(QStringLiteral("p.iso"), original);
        app.open(file)->Text1->setSelStart(0);
        QVERIFY(journalFiles(app.folder()).isEmpty()); // opened, not modified: nothing kept
        app.type(QStringLiteral("(A)"));
        QTRY_VERIFY(testsupport::hasJournalWithText(app.folder(), typed));
        const recovery::JournalEntry e = testsupport::journalEntries(app.folder()).first();
        QCOMPARE(std::tuple(e.path, e.format.lineEnds, e.written), std::tuple(file, LineEndStyle::Lf, app.fakes.clock.now().toUTC()));
        if (then == QLatin1String("Mnu_Quitter"))
            app.fakes.messageBox.answerYes(); // quit? then: save?
        if (then != QLatin1String("Mnu_Enregistrer"))
            app.fakes.messageBox.answerNo();
        app.trigger(then); // without saving but for "&Enregistrer"
        QCoreApplication::processEvents();
        QVERIFY(journalFiles(app.folder()).isEmpty());
        QCOMPARE(TestApp::read(file), then == QLatin1String("Mnu_Enregistrer") ? typed : original);
    }

    // Offered until kept for later; each reopened document is journalled again by this instance
    // before its old journal goes. (A reopened file saved in its own format: tst_recovery_kill.)
    void offeredAtStart_data()
    {
        QTest::addColumn<QList<int>>("answers"); // per dialog: 0 later, 1 reopen all, 2 reopen first, 3 discard first
        QTest::addColumn<int>("discardAnswer");  // the confirmation, when asked
        QTest::addColumn<QList<bool>>("oldJournalsLeft"); QTest::addColumn<QStringList>("reopened");
        QTest::newRow("reopen all") << QList<int>{1} << 0 << QList<bool>{false, false} << QStringList{"prog.iso", "Nouveau.iso"};
        QTest::newRow("reopen the first") << QList<int>{2, 0} << 0 << QList<bool>{false, true} << QStringList{"prog.iso"};
        QTest::newRow("discard the first") << QList<int>{3, 0} << Yes << QList<bool>{false, true} << QStringList{};
        QTest::newRow("discard declined") << QList<int>{3, 0} << No << QList<bool>{true, true} << QStringList{};
        QTest::newRow("later") << QList<int>{0} << 0 << QList<bool>{true, true} << QStringList{};
    }
    void offeredAtStart()
    {
        QFETCH(QList<int>, answers); QFETCH(int, discardAnswer); QFETCH(QList<bool>, oldJournalsLeft);
        QFETCH(QStringList, reopened);
        QTemporaryDir work;
        RecoveryApp app({entry(work.filePath("sub/prog.iso"), "N10\n", 1), entry(QString(), "N1\r\nN2", 2)});
        for (int a : answers)
            app.fakes.recovery.answer(a == 0 ? Action::Later : a == 3 ? Action::Discard : Action::Reopen,
                                      a >= 2 ? QList<bool>{true, false} : QList<bool>{});
        if (discardAnswer)
            app.fakes.messageBox.answer(discardAnswer);
        app.start();
        const auto &shown = app.fakes.recovery.shown;
        QCOMPARE(shown.size(), answers.size());
        QCOMPARE(QStringList({shown[0][0].fileName, shown[0][0].folder, shown[0][1].fileName, shown[0][1].folder}),
                 QStringList({"prog.iso", work.filePath("sub"), "Nouveau.iso", QString()}));
        QCOMPARE(shown[0][0].written, QDateTime(QDate(2026, 5, 6), QTime(7, 1), Qt::UTC));
        QCOMPARE(shown.last().size(), answers.size() > 1 ? int(oldJournalsLeft.count(true)) : 2);
        QCOMPARE(QList<bool>({QFile::exists(app.old[0]), QFile::exists(app.old[1])}), oldJournalsLeft);
        QCOMPARE(journalFiles(app.folder()).size(), int(oldJournalsLeft.count(true)) + reopened.size());
        QStringList docs;
        for (Form1 *doc : app.main->documents())
            docs << QFileInfo(doc->caption()).fileName();
        QCOMPARE(docs, reopened);
        if (reopened.size() == 2) {
            Form1 *fresh = app.main->documents().at(1);
            QCOMPARE(std::tuple(fresh->Change, fresh->Text1->utf8(), fresh->StatusBar1->panelText(10)),
                     std::tuple(true, QByteArray("N1\r\nN2"), QStringLiteral("CR LF")));
        }
    }

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
        QVERIFY(recovery.secureBeforeRewrite(doc) && testsupport::hasJournalWithText(app.folder(), "(A)N10\n"));
    }

    // Only the instance holding the instance lock offers the journals; a second one leaves them.
    void secondInstanceOffersNothing()
    {
        RecoveryApp app({entry(QString(), "N1", 1)});
        app.fakes.shell.previousInstance = true;
        app.start();
        QVERIFY(app.fakes.recovery.shown.isEmpty() && QFile::exists(app.old.first()));
    }

    void unreadableJournalIsReportedAndKept()
    {
        RecoveryApp app({entry(QString(), "N1", 1), entry(QString(), "N2", 3)});
        QVERIFY(QFile::resize(app.old[0], 22)); // cut in its header
        app.fakes.messageBox.answerOk();
        app.fakes.recovery.answer(Action::Reopen);
        app.start();
        QCOMPARE(app.fakes.messageBox.boxes().size(), 1);
        QVERIFY(app.fakes.messageBox.last().text.contains(app.old[0]));
        QCOMPARE(app.fakes.messageBox.last().title, QStringLiteral("Récupération de documents"));
        QCOMPARE(app.fakes.recovery.shown.value(0).size(), 1);
        QCOMPARE(app.doc()->Text1->utf8(), QByteArray("N2"));
        QVERIFY(QFile::exists(app.old[0]));
    }

    // A rich document's journal holds its formats, and comes back with them.
    void richDocumentComesBackRich()
    {
        QTemporaryDir work;
        RecoveryApp app({entry(work.filePath("doc.rtf"), "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 a{\\b bold}\\par}", 1, FileType::Rich)});
        app.fakes.recovery.answer(Action::Reopen);
        app.start();
        Form1 *doc = app.doc();
        QCOMPARE(doc->fileType, FileType::Rich);
        doc->Text1->setSelStart(1);
        doc->Text1->setSelLength(4);
        QVERIFY(doc->Text1->selBold());
        QCOMPARE(testsupport::journalEntries(app.folder()).value(0).type, FileType::Rich); // journalled rich again
    }

    void externalChange_data()
    {
        QTest::addColumn<QString>("command"); // a menu item, or "activate": the window activated
        QTest::addColumn<QString>("onDisk");
        QTest::addColumn<bool>("typed");      // the document modified first
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QByteArray>("file"); // on disk afterwards ("" as it was changed)
        QTest::addColumn<QByteArray>("text");
        const QByteArray asChanged;
        const QString save = "Mnu_Enregistrer", activate = "activate";
        QTest::newRow("save, only touched") << save << "touch" << true << QList<int>{} << kTyped << kTyped;
        QTest::newRow("save, modified, overwrite") << save << "modify" << true << QList<int>{Yes} << kTyped << kTyped;
        QTest::newRow("save, modified, keep") << save << "modify" << true << QList<int>{No} << asChanged << kTyped;
        QTest::newRow("save, replaced, keep") << save << "replace" << true << QList<int>{No} << asChanged << kTyped;
        QTest::newRow("save, deleted: written again") << save << "delete" << true << QList<int>{} << kTyped << kTyped;
        // The save question of a closing document goes through the same check: declining the
        // overwrite keeps the window open and the document modified.
        QTest::newRow("close, save, keep") << "Mnu_Close" << "modify" << true << QList<int>{Yes, No} << asChanged << kTyped;
        QTest::newRow("activate, reload") << activate << "modify" << false << QList<int>{Yes} << kOther << kOther;
        QTest::newRow("activate, keep") << activate << "modify" << false << QList<int>{No} << asChanged << kOriginal;
        QTest::newRow("activate, document modified") << activate << "modify" << true << QList<int>{} << asChanged << kTyped;
        QTest::newRow("activate, only touched") << activate << "touch" << false << QList<int>{} << kOriginal << kOriginal;
        QTest::newRow("activate, deleted: kept open") << activate << "delete" << false << QList<int>{} << asChanged << kOriginal;
    }
    void externalChange()
    {
        QFETCH(QString, command); QFETCH(QString, onDisk); QFETCH(bool, typed); QFETCH(QList<int>, answers);
        QFETCH(QByteArray, file); QFETCH(QByteArray, text);
        const bool activate = command == QLatin1String("activate");
        TestApp app;
        const QString path = app.openFile(kOriginal);
        Form1 *doc = app.doc();
        app.trigger("Mnu_Nouveau");
        app.main->activateDocument(doc);
        doc->Text1->setSelStart(0);
        if (typed)
            doc->Text1->setSelText(QStringLiteral("(A)"));
        QVERIFY(changeOnDisk(path, onDisk));
        const QByteArray changed = TestApp::read(path);
        for (int answer : answers)
            app.fakes.messageBox.answer(answer);
        for (int again = 0; again < (activate ? 2 : 1); ++again) { // asked once per change
            activate ? emit app.main->events().activated(doc) : app.trigger(command);
            QCOMPARE(app.fakes.messageBox.boxes().size(), answers.size());
        }
        if (!answers.isEmpty())
            QCOMPARE(app.fakes.messageBox.last().text, QStringLiteral("Le fichier %1 a été modifié par un autre programme.\r\n%2")
                                                           .arg(path, activate ? "Le recharger ?" : "L'écraser ?"));
        QCOMPARE(TestApp::read(path), file.isEmpty() ? changed : file);
        QCOMPARE(doc->Text1->utf8(), text);
        QCOMPARE(doc->Change, typed && text != TestApp::read(path));
        QCOMPARE(app.main->documents().size(), 2);
        // The next save asks only while the other program's change was never taken or written over.
        const bool protectedFile = file.isEmpty() && onDisk != QLatin1String("delete");
        doc->Text1->setSelText(QStringLiteral("B"));
        if (protectedFile)
            app.fakes.messageBox.answerNo();
        app.trigger("Mnu_Enregistrer");
        QCOMPARE(app.fakes.messageBox.boxes().size(), answers.size() + (protectedFile ? 1 : 0));
    }

    void readOnlyFile()
    {
        TestApp app;
        const QString file = app.write(QStringLiteral("ro.iso"), kOriginal);
        const auto chmod = [&](mode_t mode) { return ::chmod(QFile::encodeName(file).constData(), mode) == 0; };
        QVERIFY(chmod(0444));
        Form1 *doc = app.open(file);
        QCOMPARE(doc->StatusBar1->panelText(8), QStringLiteral("Lecture seule"));
        // Permissions changed meanwhile show at the next activation.
        for (const auto &[mode, notice] : {std::pair{0644, "Tarmel - programmes CN"}, {0444, "Lecture seule"}}) {
            QVERIFY(chmod(mode_t(mode)));
            emit app.main->events().activated(doc);
            QCOMPARE(doc->StatusBar1->panelText(8), QString::fromUtf8(notice));
        }
        doc->Text1->setSelText(QStringLiteral("X"));
        app.fakes.messageBox.answerOk();
        app.trigger("Mnu_Enregistrer");
        QVERIFY(app.fakes.messageBox.last().text.startsWith(QStringLiteral("Erreur lors de l'enregistrement du fichier")));
        QCOMPARE(TestApp::read(file), kOriginal);
        QVERIFY(doc->Change);
        // "Enregistrer &Sous" writes elsewhere, and the notice goes with the read-only file.
        const QString copy = app.path(QStringLiteral("copy.iso"));
        app.fakes.commonDialog.expectSave(copy, 1);
        app.trigger("Mnu_EnregistrerSous");
        QCOMPARE(TestApp::read(copy), QByteArray("X") + kOriginal);
        QCOMPARE(doc->StatusBar1->panelText(8), QStringLiteral("Tarmel - programmes CN"));
        QCOMPARE(app.fakes.messageBox.boxes().size(), 1);
    }
};

QTEST_MAIN(TestRecoveryUi)
#include "tst_recovery_ui.moc"
