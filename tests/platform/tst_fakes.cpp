// The fakes answer the code under test as scripted, and an unscripted question fails the
// test that let it happen: these tests hold them to that.
#include "tests/support/FakeServices.h"

#include <QApplication>
#include <QProcess>
#include <QTest>

using namespace testsupport;
using platform::DialogProperties;
namespace mb = platform::mb;
namespace cdl = platform::cdl;

namespace {

const QString twoFilters = QStringLiteral("Fichiers CN (*.iso)|*.iso|Tous les fichiers (*.*)|*.*");

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
    void messageBoxAnswersInOrderAndRecords();
    void messageBoxOutOfScript_data();
    void messageBoxOutOfScript();
    void dialogFileAnswers_data();
    void dialogFileAnswers();
    void dialogRecordsPropertiesAtShowTime();
    void dialogCancelFollowsCancelError_data();
    void dialogCancelFollowsCancelError();
    void dialogOutOfScript_data();
    void dialogOutOfScript();
    void dialogPrintAndFont();
    void servicesBundleEachFake();
    void unscriptedQuestionsFailTheRunningTest();
};

void TestFakes::messageBoxAnswersInOrderAndRecords()
{
    Failures failures;
    FakeMessageBox box;
    box.onFailure = failures.hook();
    box.answerYes();
    box.answerOk();
    box.answerNo();

    QCOMPARE(box.show("Enregistrer ?", 36, "Tarmel"), 6);
    QCOMPARE(box.show("Fichier introuvable", 16, "Erreur"), 1);
    QCOMPARE(box.show("Quitter ?", 292, "Quitter"), 7);
    QCOMPARE(box.pending(), 0);
    QVERIFY(failures.messages.isEmpty());

    QCOMPARE(box.boxes().size(), 3);
    QCOMPARE(box.boxes()[1].text, QString("Fichier introuvable"));
    QCOMPARE(box.boxes()[1].flags, 16);
    QCOMPARE(box.boxes()[1].title, QString("Erreur"));
    QCOMPARE(box.last().flags, 292);
    QCOMPARE(box.last().answer, 7);
}

void TestFakes::messageBoxOutOfScript_data()
{
    QTest::addColumn<int>("scripted"); // 0: nothing scripted
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("autoOk");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<int>("answer");

    QTest::newRow("unscripted Yes/No") << 0 << 36 << false << true << 7;
    QTest::newRow("autoOk does not answer Yes/No") << 0 << 36 << true << true << 7;
    QTest::newRow("unscripted OK") << 0 << 16 << false << true << 1;
    QTest::newRow("autoOk answers OK") << 0 << 16 << true << false << 1;
    QTest::newRow("Yes scripted for an OK box") << 6 << 0 << false << true << 1;
    QTest::newRow("OK scripted for a Yes/No box") << 1 << 4 << false << true << 7;
    QTest::newRow("No for a Yes/No box") << 7 << 4 << false << false << 7;
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
    QCOMPARE(box.boxes().size(), 1); // recorded either way
}

void TestFakes::dialogFileAnswers_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<int>("presetIndex");
    QTest::addColumn<int>("scriptedIndex");
    QTest::addColumn<int>("resultIndex");

    QTest::newRow("open, chosen filter") << false << 1 << 2 << 2;
    QTest::newRow("save, chosen filter") << true << 2 << 1 << 1;
    QTest::newRow("filter left as opened") << false << 2 << 0 << 2;
    QTest::newRow("0 opens on the first") << true << 0 << 0 << 1;
    QTest::newRow("out of range opens on the first") << false << 11 << 0 << 1;
}

void TestFakes::dialogFileAnswers()
{
    QFETCH(bool, save);
    QFETCH(int, presetIndex);
    QFETCH(int, scriptedIndex);
    QFETCH(int, resultIndex);

    Failures failures;
    FakeCommonDialog dialog;
    dialog.onFailure = failures.hook();
    dialog.props().Filter = twoFilters;
    dialog.props().FilterIndex = presetIndex;
    dialog.props().CancelError = true;
    if (save)
        dialog.expectSave("/data/progs/P1.iso", scriptedIndex);
    else
        dialog.expectOpen("/data/progs/P1.iso", scriptedIndex);

    QVERIFY(save ? dialog.showSave() : dialog.showOpen());
    QVERIFY(failures.messages.isEmpty());
    QCOMPARE(dialog.props().FileName, QString("/data/progs/P1.iso"));
    QCOMPARE(dialog.props().FileTitle, QString("P1.iso"));
    QCOMPARE(dialog.props().FilterIndex, resultIndex);
    QCOMPARE(dialog.lastShown().kind, save ? FakeCommonDialog::Kind::Save : FakeCommonDialog::Kind::Open);
}

void TestFakes::dialogRecordsPropertiesAtShowTime()
{
    FakeCommonDialog dialog;
    auto &p = dialog.props();
    p.DialogTitle = "Enregistrer Sous";
    p.Filter = twoFilters;
    p.FilterIndex = 2;
    p.Flags = cdl::OverwritePrompt;
    p.FileName = "ancien.iso";
    dialog.expectSave("/tmp/nouveau.iso", 1);
    QVERIFY(dialog.showSave());

    QCOMPARE(dialog.shown().size(), 1);
    const DialogProperties &seen = dialog.lastShown().props;
    QCOMPARE(seen.DialogTitle, QString("Enregistrer Sous"));
    QCOMPARE(seen.Filter, twoFilters);
    QCOMPARE(seen.FilterIndex, 2);
    QCOMPARE(seen.Flags, cdl::OverwritePrompt);
    QCOMPARE(seen.FileName, QString("ancien.iso"));
    QCOMPARE(p.FileName, QString("/tmp/nouveau.iso"));
}

void TestFakes::dialogCancelFollowsCancelError_data()
{
    QTest::addColumn<bool>("cancelError");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("result");
    for (int kind = 0; kind < 5; ++kind) {
        QTest::addRow("kind %d, raises", kind) << true << kind << false;
        QTest::addRow("kind %d, returns", kind) << false << kind << true;
    }
}

void TestFakes::dialogCancelFollowsCancelError()
{
    QFETCH(bool, cancelError);
    QFETCH(int, kind);
    QFETCH(bool, result);

    Failures failures;
    FakeCommonDialog dialog;
    dialog.onFailure = failures.hook();
    auto &p = dialog.props();
    p.CancelError = cancelError;
    p.FileName = "garde.iso";
    p.FilterIndex = 4;
    p.Copies = 2;
    p.FontName = "Courier New";
    dialog.expectCancel();

    bool shown = false;
    switch (kind) {
    case 0: shown = dialog.showOpen(); break;
    case 1: shown = dialog.showSave(); break;
    case 2: shown = dialog.showPrinter(); break;
    case 3: p.Flags = cdl::PrintSetup; shown = dialog.showPrinter(); break;
    default: shown = dialog.showFont(); break;
    }
    QCOMPARE(shown, result);
    QVERIFY(failures.messages.isEmpty());
    QCOMPARE(p.FileName, QString("garde.iso"));
    QCOMPARE(p.FilterIndex, 4);
    QCOMPARE(p.Copies, 2);
    QCOMPARE(p.FontName, QString("Courier New"));
}

void TestFakes::dialogOutOfScript_data()
{
    QTest::addColumn<QString>("script"); // "", "open", "save", "print", "setup"
    QTest::addColumn<QString>("show");
    QTest::addColumn<bool>("fails");

    QTest::newRow("unscripted open") << "" << "open" << true;
    QTest::newRow("save shown, open scripted") << "open" << "save" << true;
    QTest::newRow("open shown, save scripted") << "save" << "open" << true;
    QTest::newRow("set-up shown, print scripted") << "print" << "setup" << true;
    QTest::newRow("print shown, set-up scripted") << "setup" << "print" << true;
    QTest::newRow("font shown, print scripted") << "print" << "font" << true;
    QTest::newRow("set-up as scripted") << "setup" << "setup" << false;
    QTest::newRow("print as scripted") << "print" << "print" << false;
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
    else if (script == "save")
        dialog.expectSave("/x/apres.iso");
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
    if (fails)
        QCOMPARE(dialog.props().FileName, QString("avant.iso"));
    QCOMPARE(dialog.shown().size(), 1);
}

void TestFakes::dialogPrintAndFont()
{
    Failures failures;
    FakeCommonDialog dialog;
    dialog.onFailure = failures.hook();
    auto &p = dialog.props();
    p.Flags = cdl::PrintHidePrintToFile | cdl::PrintSelection;
    p.Copies = 1;

    dialog.expectPrint(3, false);
    QVERIFY(dialog.showPrinter());
    QCOMPARE(p.Copies, 3);
    QCOMPARE(p.Flags, cdl::PrintHidePrintToFile);

    dialog.expectPrint(0, true);
    QVERIFY(dialog.showPrinter());
    QCOMPARE(p.Copies, 3);
    QCOMPARE(p.Flags, cdl::PrintHidePrintToFile | cdl::PrintSelection);

    p.Color = Qt::blue;
    dialog.expectFont({"Courier New", 14, true, false, true, false});
    QVERIFY(dialog.showFont());
    QCOMPARE(p.FontName, QString("Courier New"));
    QCOMPARE(p.FontSize, 14.0);
    QVERIFY(p.FontBold && !p.FontItalic && p.FontUnderline && !p.FontStrikethru);
    QCOMPARE(p.Color, QColor(Qt::blue));
    QVERIFY(failures.messages.isEmpty());
}

void TestFakes::servicesBundleEachFake()
{
    FakeServices fakes;
    const platform::Services s = fakes.services();

    fakes.messageBox.answerOk();
    QCOMPARE(s.messageBox->show("Fin", 0, "Tarmel"), 1);
    QCOMPARE(fakes.messageBox.boxes().size(), 1);

    // The common dialog's help goes to the bundled viewer.
    s.commonDialog->props().HelpFile = "/p/Tarmel.HLP";
    s.commonDialog->props().HelpCommand = cdl::HelpPartialKey;
    QVERIFY(s.commonDialog->showHelp());
    s.commonDialog->props().HelpCommand = cdl::HelpContents;
    fakes.helpViewer.result = false;
    QVERIFY(!s.commonDialog->showHelp());
    QCOMPARE(fakes.helpViewer.calls.size(), 2);
    QVERIFY(fakes.helpViewer.calls[0].search);
    QVERIFY(fakes.helpViewer.calls[0].keyword.isEmpty());
    QVERIFY(!fakes.helpViewer.calls[1].search);
    QCOMPARE(fakes.helpViewer.calls[1].helpFile, QString("/p/Tarmel.HLP"));

    s.clipboard->setText("N10 G0");
    QCOMPARE(s.clipboard->text(), QString("N10 G0"));
    fakes.clipboard.readable = false;
    QCOMPARE(s.clipboard->text(), QString());
    QCOMPARE(fakes.clipboard.stored(), QString("N10 G0"));

    const QDateTime t(QDate(2023, 12, 31), QTime(23, 59, 59));
    fakes.clock.setNow(t);
    fakes.clock.advance(1);
    QCOMPARE(s.clock->now(), QDateTime(QDate(2024, 1, 1), QTime(0, 0, 0)));

    s.settings->set("Tarmel", "UserDef", "1", "0,1");
    QCOMPARE(fakes.settings.values.value("Tarmel/UserDef/1"), QString("0,1"));
    QCOMPARE(s.settings->get("Tarmel", "UserDef", "2", "def"), QString("def"));

    fakes.shell.programFolderPath = "/opt/tarmel";
    fakes.shell.previousInstance = true;
    fakes.shell.startResult = false;
    QCOMPARE(s.shell->programFolder(), QString("/opt/tarmel"));
    QVERIFY(s.shell->previousInstanceRunning());
    QVERIFY(!s.shell->startProgram("Calc.exe"));
    QCOMPARE(fakes.shell.started, QStringList{"Calc.exe"});
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
