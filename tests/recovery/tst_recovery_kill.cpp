// The journal across a real kill: a child process opens a file, types, writes its journal and is
// killed with SIGKILL; a new main window in the same home then offers the document back.
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "platform/RichTextBox.h"
#include "tests/recovery/RecoveryTestTools.h"
#include "tests/support/TestApp.h"

#include <QProcess>
#include <QtTest>

#include <csignal>

using namespace tarmel;
using testsupport::TestApp;
using Action = platform::RecoveryAnswer::Action;

namespace {

// An instance that types its text and waits to be killed.
class Child {
public:
    Child(const QString &folder, const QString &file, const QString &text)
    {
        process_.start(QStringLiteral(RECOVERY_CHILD), {folder, file, text});
    }
    ~Child() { kill(); }
    bool typed()
    {
        while (process_.state() != QProcess::NotRunning && !process_.canReadLine())
            process_.waitForReadyRead(1000);
        return process_.readLine().trimmed() == "typed";
    }
    bool kill()
    {
        if (process_.state() == QProcess::NotRunning)
            return false;
        ::kill(pid_t(process_.processId()), SIGKILL);
        process_.waitForFinished(-1);
        return process_.exitStatus() == QProcess::CrashExit;
    }

private:
    QProcess process_;
};

// A main window started in the killed instance's home, reopening what it offers.
struct NextStart : TestApp {
    explicit NextStart(const QString &folder) : TestApp(false)
    {
        fakes.recovery.folder = folder;
        fakes.recovery.answer(Action::Reopen);
        main->startUp({});
    }
};

} // namespace

class TestRecoveryKill : public QObject {
    Q_OBJECT
private slots:
    void killedInstanceIsRecovered()
    {
        QTemporaryDir home;
        const QString folder = home.filePath(QStringLiteral("state/tarmel/recovery"));
        const QString file = home.filePath(QStringLiteral("prog.iso"));
        const QByteArray original("N10 G0\nN20 (\xC3\xA9t\xC3\xA9)\n");
        const QByteArray expected("G90 N10 G0\nN20 (\xC3\xA9t\xC3\xA9)\n");
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(original);
        }
        Child child(folder, file, QStringLiteral("G90 "));
        QVERIFY(child.typed());
        QTRY_VERIFY_WITH_TIMEOUT(testsupport::hasJournalWithText(folder, expected), 30000);
        QVERIFY(child.kill());

        NextStart app(folder);
        QCOMPARE(app.fakes.recovery.shown.size(), 1);
        QCOMPARE(app.fakes.recovery.shown[0].size(), 1);
        QCOMPARE(app.fakes.recovery.shown[0][0].fileName, QStringLiteral("prog.iso"));
        QCOMPARE(app.fakes.recovery.shown[0][0].folder, home.path());
        Form1 *doc = app.doc();
        QVERIFY(doc);
        QCOMPARE(doc->Text1->utf8(), expected);
        QCOMPARE(doc->caption(), file);
        QVERIFY(doc->Change);
        QCOMPARE(doc->StatusBar1->panelText(9), QStringLiteral("UTF-8"));
        QCOMPARE(doc->StatusBar1->panelText(10), QStringLiteral("LF"));
        QCOMPARE(TestApp::read(file), original); // nothing written before the user saves
        app.trigger("Mnu_Enregistrer");
        QCOMPARE(TestApp::read(file), expected);
        QVERIFY(testsupport::journalFiles(folder).isEmpty());
    }

    // A second instance running beside the first keeps its journal: only the killed one's
    // document is offered, and the other's journal is left as it was.
    void twoInstancesKeepTheirJournalsApart()
    {
        QTemporaryDir home;
        const QString folder = home.filePath(QStringLiteral("recovery"));
        Child first(folder, QStringLiteral("-"), QStringLiteral("N1 first"));
        Child second(folder, QStringLiteral("-"), QStringLiteral("N2 second"));
        QVERIFY(first.typed());
        QVERIFY(second.typed());
        QTRY_VERIFY_WITH_TIMEOUT(testsupport::hasJournalWithText(folder, "N1 first")
                                     && testsupport::hasJournalWithText(folder, "N2 second"),
                                 30000);
        QVERIFY(first.kill());
        {
            NextStart app(folder);
            QCOMPARE(app.fakes.recovery.shown.size(), 1);
            QCOMPARE(app.fakes.recovery.shown[0].size(), 1);
            QCOMPARE(app.doc()->Text1->utf8(), QByteArray("N1 first"));
            QCOMPARE(app.doc()->caption(), QStringLiteral("Nouveau.iso"));
            QVERIFY(testsupport::hasJournalWithText(folder, "N2 second"));
            app.doc()->Change = false; // resolved here: its journal goes with this instance
            app.fakes.messageBox.answerYes();
            app.trigger("Mnu_Quitter");
        }
        QCOMPARE(testsupport::journalFiles(folder).size(), 1);
        QVERIFY(second.kill());
        NextStart after(folder);
        QCOMPARE(after.fakes.recovery.shown.size(), 1);
        QCOMPARE(after.doc()->Text1->utf8(), QByteArray("N2 second"));
    }
};

QTEST_MAIN(TestRecoveryKill)
#include "tst_recovery_kill.moc"
