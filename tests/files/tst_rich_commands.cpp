// The file commands with rich text, through the menu actions with scripted dialogs: names
// read as rich text, the format each document saves in, Save As with the rich-text filter,
// undo and merge on a rich document.
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "files/RtfReader.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

using namespace tarmel;

namespace {

// Two fonts, bold, a colour and a non-ASCII character, three lines.
const QByteArray kRich = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Courier New;}{\\f1 Serif;}}"
                         "{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs20 "
                         "{\\b N10} G01 {\\cf1 X10}\\par {\\f1\\i op\\'e9ration}\\par N30}";
const QString kRichText = QStringLiteral("N10 G01 X10\r\nopération\r\nN30");

struct App : testsupport::TestApp {
    Form1 *open(const QString &file)
    {
        fakes.commonDialog.expectOpen(file);
        trigger("Mnu_Ouvrir");
        return main->activeDocument();
    }
    Form1 *openRich(const QString &name) { return open(write(name, kRich)); }
};

bool hasFormats(const FormattedText &doc)
{
    for (const TextRun &run : doc.runs)
        if (run.format != doc.baseFormat())
            return true;
    return false;
}

// The file as the reader sees it; an empty text with no runs when it is no rich text.
FormattedText readBack(const QString &path)
{
    return readRtf(testsupport::TestApp::read(path)).value_or(FormattedText{});
}

} // namespace

class TestRichCommands : public QObject {
    Q_OBJECT
private slots:
    void openMixedCaseName();
    void filterChoiceBelongsToItsDocument();
    void saveAsRichFilterNames_data();
    void saveAsRichFilterNames();
    void saveAsRichFailureKeepsDocument();
    void undoRestoresPlainText();
    void mergeKeepsDocumentRich();
};

// The name's case does not matter (the name rules have their own table).
void TestRichCommands::openMixedCaseName()
{
    const QString name = QStringLiteral("x.Rtf");
    App app;
    const QString file = app.write(name, kRich);
    Form1 *doc = app.open(file);
    QVERIFY(doc);
    QCOMPARE(doc->fileType, tarmel::FileType::Rich);
    QCOMPARE(doc->Text1->text(), kRichText);
    const FormattedText shown = doc->Text1->formattedText();
    QVERIFY(hasFormats(shown));
    QCOMPARE(shown.text, readRtf(kRich)->text);
    QCOMPARE(shown.runs, readRtf(kRich)->runs);
    QCOMPARE(shown.baseFontName, doc->Text1->baseFontName()); // the window keeps its own base font
    QCOMPARE(doc->caption(), file);
    QCOMPARE(doc->StatusBar1->panelText(1), name);
    QCOMPARE(doc->StatusBar1->panelText(2), QStringLiteral(" %1 Octets").arg(kRich.size()));
    QCOMPARE(doc->StatusBar1->panelText(10), QStringLiteral("CR LF"));
    QVERIFY(!doc->Change);
    QVERIFY(app.enabled("Mnu_Enregistrer"));
    QVERIFY(!app.enabled("Mnu_Annuler"));
    QCOMPARE(app.fakes.messageBox.boxes().size(), 0);
}

void TestRichCommands::filterChoiceBelongsToItsDocument()
{
    App app;
    // One window saves with the rich-text filter...
    app.trigger("Mnu_Nouveau");
    Form1 *first = app.main->activeDocument();
    first->Text1->setText(QStringLiteral("N10\r\n"));
    const QString rich = app.path(QStringLiteral("first.rtf"));
    app.fakes.commonDialog.expectSave(rich, 11);
    app.trigger("Mnu_EnregistrerSous");
    QVERIFY(App::read(rich).startsWith("{\\rtf1"));
    QCOMPARE(app.main->state().LastFilterIndex, qint16(11));
    // ...a program opened afterwards still saves as plain text.
    const QString iso = app.write(QStringLiteral("prog.iso"), "N10 G0\r\n");
    Form1 *second = app.open(iso);
    QCOMPARE(second->fileType, tarmel::FileType::Plain);
    second->Text1->setSelStart(0);
    second->Text1->setSelText(QStringLiteral("%\r\n"));
    app.trigger("Mnu_Enregistrer");
    QCOMPARE(App::read(iso), QByteArray("%\r\nN10 G0\r\n"));
    QCOMPARE(second->caption(), iso);
    // And the first window still saves rich text through "&Enregistrer".
    app.main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(first->parentWidget()));
    QCOMPARE(app.main->activeDocument(), first);
    first->Text1->setSelStart(first->Text1->textLength());
    first->Text1->setSelText(QStringLiteral("N20"));
    app.trigger("Mnu_Enregistrer");
    QCOMPARE(readBack(rich).text, QStringLiteral("N10\r\nN20"));
    QVERIFY(App::read(rich).startsWith("{\\rtf1"));
}

void TestRichCommands::saveAsRichFilterNames_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("RTF kept") << "prog.RTF" << "prog.RTF";
    QTest::newRow("other extension") << "prog.iso" << "prog.iso.rtf";
}

void TestRichCommands::saveAsRichFilterNames()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    App app;
    const QString iso = app.write(QStringLiteral("source.iso"), "N10 G0\r\nN20 \xE9\r\n");
    Form1 *doc = app.open(iso);
    app.fakes.commonDialog.expectSave(app.path(typed), 11);
    app.trigger("Mnu_EnregistrerSous");
    QCOMPARE(app.fakes.messageBox.boxes().size(), 0);
    const QString target = app.path(written);
    QStringList files = QDir(app.workDir.path()).entryList(QDir::Files | QDir::Hidden);
    QStringList expectedFiles{QStringLiteral("source.iso"), written};
    files.sort();
    expectedFiles.sort();
    QCOMPARE(files, expectedFiles);
    QVERIFY(App::read(target).startsWith("{\\rtf1"));
    QCOMPARE(readBack(target).text, QStringLiteral("N10 G0\r\nN20 é\r\n"));
    QCOMPARE(App::read(iso), QByteArray("N10 G0\r\nN20 \xE9\r\n"));
    QCOMPARE(doc->caption(), target);
    QCOMPARE(doc->StatusBar1->panelText(1), written.toUpper());
    QCOMPARE(doc->fileType, tarmel::FileType::Rich);
    QVERIFY(!doc->Change);
    // The next "&Enregistrer" writes rich text to the same name.
    doc->Text1->setSelStart(0);
    doc->Text1->setSelText(QStringLiteral("%"));
    app.trigger("Mnu_Enregistrer");
    QCOMPARE(readBack(target).text, QStringLiteral("%N10 G0\r\nN20 é\r\n"));
    QCOMPARE(doc->caption(), target);
}

void TestRichCommands::saveAsRichFailureKeepsDocument()
{
    App app;
    const QString iso = app.write(QStringLiteral("a.iso"), "N10\r\n");
    Form1 *doc = app.open(iso);
    doc->Text1->setText(QStringLiteral("N20\r\n"));
    app.fakes.commonDialog.expectSave(app.path(QStringLiteral("missing/prog")), 11);
    app.fakes.messageBox.answerOk();
    app.trigger("Mnu_EnregistrerSous");
    QCOMPARE(app.fakes.messageBox.last().text, QStringLiteral("Erreur lors de l'enregistrement du fichier"));
    QVERIFY(doc->Change);
    QCOMPARE(doc->caption(), iso);
    QCOMPARE(doc->fileType, tarmel::FileType::Plain); // still a plain document: the next save writes plain text
    app.trigger("Mnu_Enregistrer");
    QCOMPARE(App::read(iso), QByteArray("N20\r\n"));
}

// Which commands record the snapshot is the command-state tests' business.
void TestRichCommands::undoRestoresPlainText()
{
    App app;
    app.fakes.clipboard.setText(QStringLiteral("G90 "));
    Form1 *doc = app.openRich(QStringLiteral("u.rtf"));
    QVERIFY(hasFormats(doc->Text1->formattedText()));
    doc->Text1->setSelStart(4);
    app.trigger("Mnu_Edition(6)");
    QCOMPARE(doc->Text1->text(), QStringLiteral("N10 G90 G01 X10\r\nopération\r\nN30"));
    QVERIFY(app.enabled("Mnu_Annuler"));
    app.trigger("Mnu_Annuler");
    QCOMPARE(doc->Text1->text(), kRichText);
    const FormattedText after = doc->Text1->formattedText();
    QVERIFY(!hasFormats(after));
    QCOMPARE(after.runs.size(), 1);
    QCOMPARE(after.runs.first().format.fontName, doc->Text1->baseFontName());
    QVERIFY(doc->Change);
    QVERIFY(!app.enabled("Mnu_Annuler"));
    // Saved afterwards: still a rich-text file, now without formats.
    app.trigger("Mnu_Enregistrer");
    const FormattedText saved = readBack(doc->caption());
    QCOMPARE(saved.text, kRichText);
    QVERIFY(!hasFormats(saved));
}

void TestRichCommands::mergeKeepsDocumentRich()
{
    App app;
    Form1 *doc = app.openRich(QStringLiteral("m.RTF"));
    const QString part = app.write(QStringLiteral("part.iso"), "N20 G00\nN25\n");
    doc->Text1->setSelStart(13); // start of the second line
    app.fakes.commonDialog.expectOpen(part, 1);
    app.trigger("Mnu_Fusionner");
    const QString merged = QStringLiteral("N10 G01 X10\r\nN20 G00\r\nN25\r\nopération\r\nN30");
    QCOMPARE(doc->Text1->text(), merged);
    QCOMPARE(app.main->state().FilterIndex, qint16(1));
    app.trigger("Mnu_Enregistrer");
    const QString file = doc->caption();
    QVERIFY(App::read(file).startsWith("{\\rtf1"));
    const FormattedText saved = readBack(file);
    QCOMPARE(saved.text, merged);
    QVERIFY(hasFormats(saved));
    QCOMPARE(saved, doc->Text1->formattedText());
}

QTEST_MAIN(TestRichCommands)
#include "tst_rich_commands.moc"
