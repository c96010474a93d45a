// The fakes answer the code under test as scripted, and an unscripted question fails the
// test that let it happen: these tests hold them to that.
#include "tests/support/FakeServices.h"

#include <QApplication>
#include <QProcess>
#include <QTest>

using namespace testsupport;
namespace cdl = platform::cdl;

namespace {

// Collects what a fake reports instead of failing the running test.
struct Failures {
    QStringList messages;
    FailureHook hook()
    {
        return [this](const QString &m) { messages << m; };
    }
};

} // namespace

// Run in a child process by TestFakes::unscriptedQuestionsFailTheRunningTest: each slot
// asks one question, and only the scripted one may pass.
class FakesInATestRun : public QObject {
    Q_OBJECT
private slots:
    void scriptedBox()
    {
        FakeMessageBox box;
        box.answerYes();
        QCOMPARE(box.show("Quitter ?", 36, "Tarmel"), 6);
    }
    void unscriptedBox()
    {
        FakeMessageBox box;
        box.show("Quitter ?", 36, "Tarmel");
    }
    void unscriptedDialog()
    {
        FakeCommonDialog dialog;
        dialog.props().DialogTitle = "Ouvrir";
        dialog.showOpen();
    }
};

class TestFakes : public QObject {
    Q_OBJECT
private slots:
    void messageBoxOutOfScript_data();
    void messageBoxOutOfScript();
    void dialogOutOfScript_data();
    void dialogOutOfScript();
    void unscriptedQuestionsFailTheRunningTest();
};

void TestFakes::messageBoxOutOfScript_data()
{
    QTest::addColumn<int>("scripted"); // 0: nothing scripted
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("autoOk");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<int>("answer");

    QTest::newRow("unscripted Yes/No") << 0 << 36 << false << true << 7;
    QTest::newRow("autoOk does not answer Yes/No") << 0 << 36 << true << true << 7;
    QTest::newRow("autoOk answers OK") << 0 << 16 << true << false << 1;
    QTest::newRow("Yes scripted for an OK box") << 6 << 0 << false << true << 1;
    QTest::newRow("OK scripted for a Yes/No box") << 1 << 4 << false << true << 7;
}

void TestFakes::messageBoxOutOfScript()
{
    QFETCH(int, scripted);
    QFETCH(int, flags);
    QFETCH(bool, autoOk);
    QFETCH(bool, fails);
    QFETCH(int, answer);

    Failures failures;
    FakeMessageBox box;
    box.onFailure = failures.hook();
    box.autoOk = autoOk;
    if (scripted)
        box.answer(scripted);

    QCOMPARE(box.show("Texte", flags, "Titre"), answer);
    QCOMPARE(failures.messages.size(), fails ? 1 : 0);
    if (fails)
        QVERIFY2(failures.messages[0].contains("\"Texte\""), qPrintable(failures.messages[0]));
}

void TestFakes::dialogOutOfScript_data()
{
    QTest::addColumn<QString>("script"); // "", "open", "save", "print", "setup"
    QTest::addColumn<QString>("show");
    QTest::addColumn<bool>("fails");

    QTest::newRow("unscripted open") << "" << "open" << true;
    QTest::newRow("save shown, open scripted") << "open" << "save" << true;
    QTest::newRow("set-up shown, print scripted") << "print" << "setup" << true;
    QTest::newRow("print shown, set-up scripted") << "setup" << "print" << true;
    QTest::newRow("font shown, print scripted") << "print" << "font" << true;
    QTest::newRow("set-up as scripted") << "setup" << "setup" << false;
}

void TestFakes::dialogOutOfScript()
{
    QFETCH(QString, script);
    QFETCH(QString, show);
    QFETCH(bool, fails);

    Failures failures;
    FakeCommonDialog dialog;
    dialog.onFailure = failures.hook();
    dialog.props().CancelError = true;
    dialog.props().FileName = "avant.iso";
    if (script == "open")
        dialog.expectOpen("/x/apres.iso");
    else if (script == "print")
        dialog.expectPrint(2);
    else if (script == "setup")
        dialog.expectPrinterSetup();

    bool shown = false;
    if (show == "open")
        shown = dialog.showOpen();
    else if (show == "save")
        shown = dialog.showSave();
    else if (show == "font")
        shown = dialog.showFont();
    else {
        dialog.props().Flags = show == "setup" ? cdl::PrintSetup : 0;
        shown = dialog.showPrinter();
    }
    QCOMPARE(failures.messages.size(), fails ? 1 : 0);
    // Out of script counts as a cancel, so the test sees the command end.
    QCOMPARE(shown, !fails);
    QCOMPARE(dialog.props().FileName, QString("avant.iso"));
}

// With the default hook, an unscripted box or dialog fails the test function that let
// it through, and only that one.
void TestFakes::unscriptedQuestionsFailTheRunningTest()
{
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {"--fakes-in-a-test-run"});
    QVERIFY(child.waitForStarted());
    QVERIFY(child.waitForFinished());
    const QString out = QString::fromUtf8(child.readAll());

    QCOMPARE(child.exitCode(), 2); // the number of failed test functions
    QVERIFY2(out.contains("PASS   : FakesInATestRun::scriptedBox()"), qPrintable(out));
    QVERIFY2(out.contains("FAIL!  : FakesInATestRun::unscriptedBox() unexpected message box \"Quitter ?\""),
             qPrintable(out));
    QVERIFY2(out.contains("FAIL!  : FakesInATestRun::unscriptedDialog() unexpected open dialog \"Ouvrir\""),
             qPrintable(out));
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--fakes-in-a-test-run") == 0) {
        FakesInATestRun run;
        return QTest::qExec(&run, 1, argv);
    }
    TestFakes test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fakes.moc"
