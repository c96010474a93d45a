// The journal across a real kill: child processes type and write their journals, one is killed with
// SIGKILL; a new main window in the same home offers its document back, and the other's journal
// stays until that one is killed too.
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
using testsupport::hasJournalWithText;

namespace {

// An instance that opens <file> ("-": a new document), types its text and waits to be killed.
struct Child {
    QProcess process;
    Child(const QString &folder, const QString &file, const QString &text)
    {
        process.start(QStringLiteral(RECOVERY_CHILD), {folder, file, text});
    }
    ~Child() { kill(); }
    bool typed()
    {
        while (process.state() != QProcess::NotRunning && !process.canReadLine())
            process.waitForReadyRead(1000);
        return process.readLine().trimmed() == "typed";
    }
    bool kill()
    {
        if (process.state() == QProcess::NotRunning)
            return false;
        ::kill(pid_t(process.processId()), SIGKILL);
        process.waitForFinished(-1);
        return process.exitStatus() == QProcess::CrashExit;
    }
};

// A main window started in the killed instance's home, reopening what it offers.
struct NextStart : TestApp {
    explicit NextStart(const QString &folder) : TestApp(false)
    {
        fakes.recovery.folder = folder;
        fakes.recovery.answer(platform::RecoveryAnswer::Action::Reopen);
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
        const QByteArray original("N10 G0\nN20 (\xC3\xA9t\xC3\xA9)\n"), expected("G90 " + original);
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(original) == original.size() && f.flush());
        Child first(folder, file, QStringLiteral("G90 "));
        Child second(folder, QStringLiteral("-"), QStringLiteral("N2 second"));
        QVERIFY(first.typed() && second.typed());
        QTRY_VERIFY_WITH_TIMEOUT(hasJournalWithText(folder, expected) && hasJournalWithText(folder, "N2 second"), 30000);
        QVERIFY(first.kill());
        {
            NextStart app(folder); // only the killed instance's document is offered
            const auto &shown = app.fakes.recovery.shown;
            QCOMPARE(QList<qsizetype>({shown.size(), shown.value(0).size()}), QList<qsizetype>({1, 1}));
            QCOMPARE(QStringList({shown[0][0].fileName, shown[0][0].folder}), QStringList({"prog.iso", home.path()}));
            Form1 *doc = app.doc();
            QVERIFY(doc && doc->Change);
            QCOMPARE(QStringList({doc->Text1->utf8(), doc->caption(), doc->StatusBar1->panelText(9), doc->StatusBar1->panelText(10)}),
                     QStringList({expected, file, "UTF-8", "LF"}));
            QCOMPARE(TestApp::read(file), original); // nothing written before the user saves
            app.trigger("Mnu_Enregistrer");
            QCOMPARE(TestApp::read(file), expected);
            QVERIFY(!hasJournalWithText(folder, expected));
        }
        QCOMPARE(testsupport::journalFiles(folder).size(), 1);
        QVERIFY(second.kill());
        NextStart after(folder);
        QCOMPARE(after.fakes.recovery.shown.size(), 1);
        QCOMPARE(QStringList({after.doc()->Text1->utf8(), after.doc()->caption()}), QStringList({"N2 second", "Nouveau.iso"}));
    }
};

QTEST_MAIN(TestRecoveryKill)
#include "tst_recovery_kill.moc"
