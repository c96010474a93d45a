// Open, save, save as and merge through the menu actions, with scripted dialogs, checking
// captions, status panels, menu states and the bytes on disk.
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "files/FileRules.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"
#include "tests/support/TestPaths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace tarmel;

namespace {

const QString kOpenError = QStringLiteral("Erreur d'ouverture de fichier\rou fichier trop volumineux !");

struct App : testsupport::TestApp {
    tarmel::Form1 *open(const QString &file)
    {
        fakes.commonDialog.expectOpen(file);
        trigger("Mnu_Ouvrir");
        return main->activeDocument();
    }
};

} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT
private slots:
    void openShowsFile();
    void openFailureLeavesNoWindow();
    void openCancelled();
    void saveUnchangedGivesSameBytes_data();
    void saveUnchangedGivesSameBytes();
    void saveCorpusUnchanged();
    void saveAddsOneFinalLineEnd_data();
    void saveAddsOneFinalLineEnd();
    void saveNewOpensSaveAs();
    void saveAsUpperCasesPanel();
    void richSaveAsAsksBeforeReplacing_data();
    void richSaveAsAsksBeforeReplacing();
    void unrepresentableCharacterAsks_data();
    void unrepresentableCharacterAsks();
    void mergeAndUndo();
    void mergeFilters();
    void mergeUnreadable();
    void richTextNames_data();
    void richTextNames();
};

void TestFileCommands::openShowsFile()
{
    App app;
    const QString file = app.write(QStringLiteral("prog.iso"), QByteArray(1232, 'X') + "\r\n");
    Form1 *doc = app.open(file);
    QVERIFY(doc);
    const auto &shown = app.fakes.commonDialog.lastShown();
    QCOMPARE(shown.props.DialogTitle, QStringLiteral("Ouvrir"));
    QVERIFY(shown.props.CancelError);
    QVERIFY(shown.props.Filter.endsWith(QStringLiteral("|Tous les fichiers (*.*)|*.*|Fichiers RTF (*.RTF)|*.rtf")));
    QCOMPARE(doc->caption(), file);
    QCOMPARE(doc->StatusBar1->panelText(1), QStringLiteral("prog.iso"));
    QCOMPARE(doc->StatusBar1->panelText(2), QStringLiteral(" 1234 Octets"));
    QCOMPARE(doc->StatusBar1->panelText(9), QStringLiteral("Windows-1252"));
    QCOMPARE(doc->StatusBar1->panelText(10), QStringLiteral("CR LF"));
    QVERIFY(!doc->Change);
    // Typing one character: the panel shows the character count of the text.
    doc->Text1->setSelStart(0);
    doc->Text1->setSelText(QStringLiteral("N"));
    QCOMPARE(doc->StatusBar1->panelText(2), QStringLiteral(" 1235 Octets"));
}


void TestFileCommands::openFailureLeavesNoWindow()
{
    App app;
    app.trigger("Mnu_Nouveau");
    const QHash<QString, bool> before = {{"Mnu_Fusionner", app.enabled("Mnu_Fusionner")},
                                         {"Mnu_Enregistrer", app.enabled("Mnu_Enregistrer")}};
    // A rich-text name whose content is not rich text fails to load after the window exists.
    const QString file = app.write(QStringLiteral("bad.rtf"), "not rich text");
    app.fakes.messageBox.answerOk();
    app.open(file);
    QCOMPARE(app.fakes.messageBox.last().text, kOpenError);
    QCOMPARE(app.fakes.messageBox.last().flags, 16);
    QCOMPARE(app.fakes.messageBox.last().title, QStringLiteral("Erreur"));
    QCOMPARE(app.main->documents().size(), 1);
    for (auto it = before.begin(); it != before.end(); ++it)
        QCOMPARE(app.enabled(it.key().toUtf8().constData()), it.value());
    // A missing file: the same message, no window at all.
    app.fakes.messageBox.answerOk();
    app.open(app.path(QStringLiteral("missing.iso")));
    QCOMPARE(app.fakes.messageBox.boxes().size(), 2);
    QCOMPARE(app.main->documents().size(), 1);
}

void TestFileCommands::openCancelled()
{
    App app;
    app.fakes.commonDialog.expectCancel();
    app.trigger("Mnu_Ouvrir");
    QVERIFY(app.main->documents().isEmpty());
    QCOMPARE(app.fakes.messageBox.boxes().size(), 0);
}

void TestFileCommands::saveUnchangedGivesSameBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("lineEnds");
    QTest::newRow("crlf") << QByteArray("N10 G00\r\nN20 G01\r\n") << "Windows-1252" << "CR LF";
    QTest::newRow("mixed") << QByteArray("N10\r\nN20\nN30\rN40\r\n") << "Windows-1252" << "mixte";
    QTest::newRow("no final line end") << QByteArray("N10\r\nN20") << "Windows-1252" << "CR LF";
    QTest::newRow("nul") << QByteArray("N10\0X\r\n\0\r\n", 10) << "Windows-1252" << "CR LF";
    QByteArray high;
    for (int b = 0x80; b <= 0xFF; ++b)
        high.append(char(b));
    QTest::newRow("0x80-0xFF") << high + "\r\n" << "Windows-1252" << "CR LF";
    QTest::newRow("utf8 bom") << QByteArray("\xEF\xBB\xBF(caf\xC3\xA9)\r\n") << "UTF-8" << "CR LF";
    QTest::newRow("empty") << QByteArray() << "Windows-1252" << "CR LF";
}

void TestFileCommands::saveUnchangedGivesSameBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, encoding);
    QFETCH(QString, lineEnds);
    App app;
    const QString file = app.write(QStringLiteral("p.iso"), bytes);
    Form1 *doc = app.open(file);
    QCOMPARE(doc->StatusBar1->panelText(9), encoding);
    QCOMPARE(doc->StatusBar1->panelText(10), lineEnds);
    doc->Change = true;
    app.trigger("Mnu_Enregistrer");
    QCOMPARE(App::read(file), bytes.isEmpty() ? QByteArray() : bytes);
    QVERIFY(!doc->Change);
}

void TestFileCommands::saveCorpusUnchanged()
{
    SKIP_WITHOUT_CORPUS(QStringLiteral("nc"));
    const QDir corpus(testsupport::corpusPath(QStringLiteral("nc")));
    const QStringList names = corpus.entryList(QDir::Files);
    QVERIFY(!names.isEmpty());
    App app;
    for (const QString &name : names) {
        const QByteArray bytes = App::read(corpus.filePath(name));
        const QString copy = app.write(name, bytes);
        Form1 *doc = app.open(copy);
        app.trigger("Mnu_Enregistrer");
        QVERIFY2(App::read(copy) == bytes, qPrintable(name));
        app.fakes.messageBox.clear();
        app.trigger("Mnu_Close");
        Q_UNUSED(doc);
    }
}

void TestFileCommands::saveAddsOneFinalLineEnd_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("without") << "N10\r\nN20" << QByteArray("N10\r\nN20\r\n");
    QTest::newRow("with") << "N10\r\nN20\r\n" << QByteArray("N10\r\nN20\r\n");
}

void TestFileCommands::saveAddsOneFinalLineEnd()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    App app;
    app.trigger("Mnu_Nouveau");
    app.main->activeDocument()->Text1->setText(text);
    const QString target = app.path(QStringLiteral("new.iso"));
    app.fakes.commonDialog.expectSave(target, 1);
    app.trigger("Mnu_Enregistrer");
    QCOMPARE(App::read(target), expected);
    app.trigger("Mnu_Enregistrer"); // saving again never grows the file
    QCOMPARE(App::read(target), expected);
}

void TestFileCommands::saveNewOpensSaveAs()
{
    App app;
    app.main->state().LastFilterIndex = 3;
    app.trigger("Mnu_Nouveau");
    app.main->activeDocument()->Text1->setText(QStringLiteral("N10"));
    app.fakes.commonDialog.expectCancel();
    app.trigger("Mnu_Enregistrer");
    const auto &props = app.fakes.commonDialog.lastShown().props;
    QCOMPARE(props.FileName, QStringLiteral("Nouveau.iso"));
    QCOMPARE(props.DialogTitle, QStringLiteral("Enregistrer Sous"));
    QCOMPARE(props.Flags, 2);
    QCOMPARE(props.FilterIndex, 3);
    QVERIFY(props.CancelError);
    QVERIFY(app.main->activeDocument()->Change);
    QVERIFY(!QFile::exists(app.path(QStringLiteral("Nouveau.iso"))));
}

void TestFileCommands::richSaveAsAsksBeforeReplacing_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("no") << int(platform::mb::AnswerNo);
    QTest::newRow("yes") << int(platform::mb::AnswerYes);
}

void TestFileCommands::richSaveAsAsksBeforeReplacing()
{
    QFETCH(int, answer);
    App app;
    const QString file = app.write(QStringLiteral("a.iso"), "N10\r\n");
    const QString existing = app.write(QStringLiteral("prog.rtf"), "OLD");
    Form1 *doc = app.open(file);
    // The dialog asked about "prog"; ".rtf" is added, and that file exists.
    app.fakes.commonDialog.expectSave(app.path(QStringLiteral("prog")), 11);
    app.fakes.messageBox.answer(answer);
    app.trigger("Mnu_EnregistrerSous");
    QCOMPARE(app.fakes.messageBox.last().text, QStringLiteral("Le fichier %1 existe déjà.\rVoulez-vous le remplacer ?").arg(existing));
    QCOMPARE(app.fakes.messageBox.last().flags, 52);
    if (answer == platform::mb::AnswerNo) {
        QCOMPARE(App::read(existing), QByteArray("OLD"));
        QCOMPARE(doc->caption(), file);
    } else {
        QVERIFY(App::read(existing).startsWith("{\\rtf1"));
        QCOMPARE(doc->caption(), existing);
    }
}

void TestFileCommands::saveAsUpperCasesPanel()
{
    App app;
    const QString file = app.write(QStringLiteral("a.iso"), "N10\r\n");
    Form1 *doc = app.open(file);
    const QString target = app.path(QStringLiteral("Prog2.iso"));
    app.fakes.commonDialog.expectSave(target, 5);
    app.trigger("Mnu_EnregistrerSous");
    QCOMPARE(doc->caption(), target);
    QCOMPARE(doc->StatusBar1->panelText(1), QStringLiteral("PROG2.ISO"));
    QCOMPARE(app.main->state().FilterIndex, qint16(5));
    QCOMPARE(app.main->state().LastFilterIndex, qint16(5));
    QCOMPARE(App::read(target), QByteArray("N10\r\n"));
}

void TestFileCommands::unrepresentableCharacterAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QByteArray>("expected"); // empty: not saved
    QTest::newRow("no") << int(platform::mb::AnswerNo) << QByteArray();
    QTest::newRow("yes") << int(platform::mb::AnswerYes) << QByteArray("N10 \xC2\xB0 \xE4\xB8\x80\r\n");
}

void TestFileCommands::unrepresentableCharacterAsks()
{
    QFETCH(int, answer);
    QFETCH(QByteArray, expected);
    App app;
    const QString file = app.write(QStringLiteral("a.iso"), "N10 \xB0\r\n"); // a Windows-1252 degree sign
    Form1 *doc = app.open(file);
    doc->Text1->setSelStart(5);
    doc->Text1->setSelText(QStringLiteral(" \u4E00"));
    app.fakes.messageBox.answer(answer);
    app.trigger("Mnu_Enregistrer");
    QCOMPARE(app.fakes.messageBox.boxes().size(), 1);
    QVERIFY(app.fakes.messageBox.last().text.contains(QStringLiteral("\u4E00")));
    QVERIFY(app.fakes.messageBox.last().text.contains(QStringLiteral("UTF-8")));
    QCOMPARE(app.fakes.messageBox.last().flags, 52);
    if (expected.isEmpty()) {
        QCOMPARE(App::read(file), QByteArray("N10 \xB0\r\n"));
        QVERIFY(doc->Change);
    } else {
        QCOMPARE(App::read(file), expected);
        QVERIFY(!doc->Change);
        QCOMPARE(doc->StatusBar1->panelText(9), QStringLiteral("UTF-8"));
    }
}

void TestFileCommands::mergeAndUndo()
{
    App app;
    const QString file = app.write(QStringLiteral("a.iso"), "N10\r\nN30\r\n");
    const QString part = app.write(QStringLiteral("part.iso"), "N20\nN21\rN22\r\n"); // line ends made CR LF
    Form1 *doc = app.open(file);
    doc->Text1->setSelStart(5);
    app.fakes.commonDialog.expectOpen(part);
    app.trigger("Mnu_Fusionner");
    QCOMPARE(doc->Text1->text(), QStringLiteral("N10\r\nN20\r\nN21\r\nN22\r\nN30\r\n"));
    QVERIFY(doc->Change);
    QVERIFY(app.enabled("Mnu_Annuler"));
    app.trigger("Mnu_Annuler");
    QCOMPARE(doc->Text1->text(), QStringLiteral("N10\r\nN30\r\n"));
    QVERIFY(!app.enabled("Mnu_Annuler"));
}

void TestFileCommands::mergeFilters()
{
    App app;
    const QString file = app.write(QStringLiteral("a.iso"), "N10\r\n");
    app.open(file);
    app.main->state().LastFilterIndex = 11;
    app.fakes.commonDialog.expectCancel();
    app.trigger("Mnu_Fusionner");
    const auto &props = app.fakes.commonDialog.lastShown().props;
    QCOMPARE(props.DialogTitle, QStringLiteral("Fusionner un fichier"));
    QCOMPARE(props.FilterIndex, 1);
    QVERIFY(props.FileName.isEmpty());
    QVERIFY(!props.Filter.contains(QStringLiteral("RTF")));
    QCOMPARE(app.main->activeDocument()->Text1->text(), QStringLiteral("N10\r\n"));
}

void TestFileCommands::mergeUnreadable()
{
    App app;
    const QString file = app.write(QStringLiteral("a.iso"), "N10\r\n");
    app.open(file);
    const QString folder = app.path(QStringLiteral("dir.iso"));
    QVERIFY(QDir().mkdir(folder));
    app.fakes.commonDialog.expectOpen(folder);
    app.fakes.messageBox.answerOk();
    app.trigger("Mnu_Fusionner");
    QCOMPARE(app.fakes.messageBox.last().text, kOpenError);
    QCOMPARE(app.main->activeDocument()->Text1->text(), QStringLiteral("N10\r\n"));
}

void TestFileCommands::richTextNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("rich");
    QTest::addColumn<QString>("saveName");
    QTest::newRow("rtf") << "/p/prog.rtf" << true << "/p/prog.rtf";
    QTest::newRow("RTF") << "/p/PROG.RTF" << true << "/p/PROG.RTF";
    QTest::newRow("iso") << "/p/prog.iso" << false << "/p/prog.iso.rtf";
    QTest::newRow("ends in rtf without dot") << "/p/myrtf" << true << "/p/myrtf.rtf";
}

void TestFileCommands::richTextNames()
{
    QFETCH(QString, name);
    QFETCH(bool, rich);
    QFETCH(QString, saveName);
    QCOMPARE(isRichTextName(name), rich);
    QCOMPARE(richTextSaveName(name), saveName);
}

QTEST_MAIN(TestFileCommands)
#include "tst_file_commands.moc"
