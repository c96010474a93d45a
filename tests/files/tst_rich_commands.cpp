// The file commands with rich text, through the menu actions with scripted dialogs: a rich
// document opened, merged into, undone and saved; Save As with the rich-text filter.
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "files/RtfReader.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"

#include <QtTest>

using namespace tarmel;
using testsupport::TestApp;

namespace {

// Two fonts, bold, a colour and a non-ASCII character, three lines.
const QByteArray kRich = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Courier New;}{\\f1 Serif;}}"
                         "{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs20 "
                         "{\\b N10} G01 {\\cf1 X10}\\par {\\f1\\i op\\'e9ration}\\par N30}";
const QString kRichText = QStringLiteral("N10 G01 X10\r\nopération\r\nN30");

bool hasFormats(const FormattedText &doc)
{
    return std::any_of(doc.runs.begin(), doc.runs.end(), [&](const TextRun &run) { return run.format != doc.baseFormat(); });
}

// The file as the reader sees it; empty when it is no rich text.
FormattedText readBack(const QString &path)
{
    return readRtf(TestApp::read(path)).value_or(FormattedText{});
}

} // namespace

class TestRichCommands : public QObject {
    Q_OBJECT
private slots:
    // Opened by a name of any case, merged into and saved: the formats stay. A snapshot is plain
    // text: undone, the formats are gone, and the file saved afterwards is rich text without them.
    void richDocument()
    {
        TestApp app;
        Form1 *doc = app.open(app.write(QStringLiteral("m.Rtf"), kRich));
        QCOMPARE(doc->Text1->formattedText().runs, readRtf(kRich)->runs);
        doc->Text1->setSelStart(13); // start of the second line
        app.fakes.commonDialog.expectOpen(app.write(QStringLiteral("part.iso"), "N20 G00\nN25\n"), 1);
        app.trigger("Mnu_Fusionner");
        const QString merged = QStringLiteral("N10 G01 X10\r\nN20 G00\r\nN25\r\nopération\r\nN30");
        QCOMPARE(doc->Text1->text(), merged);
        app.trigger("Mnu_Enregistrer");
        QCOMPARE(readBack(doc->caption()), doc->Text1->formattedText());
        QVERIFY(hasFormats(readBack(doc->caption())));
        app.run(QStringLiteral("Mnu_Supprimer")); // nothing selected: a snapshot, no change
        app.trigger("Mnu_Annuler");
        QCOMPARE(doc->Text1->text(), merged);
        QVERIFY(!hasFormats(doc->Text1->formattedText()));
        app.trigger("Mnu_Enregistrer");
        QCOMPARE(readBack(doc->caption()).text, merged);
        QVERIFY(!hasFormats(readBack(doc->caption())));
    }

    // Save As with the rich-text filter (11) from a plain document. "written": the file the rich
    // text goes to, empty when none; the choice belongs to this document only.
    void saveAsRich_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("answer"); // to the question on replacing prog.rtf; 0: none asked
        QTest::addColumn<QString>("written");
        QTest::newRow("other extension") << "prog.iso" << 0 << "prog.iso.rtf";
        QTest::newRow("replace: no") << "prog" << int(platform::mb::AnswerNo) << "";
        QTest::newRow("replace: yes") << "prog" << int(platform::mb::AnswerYes) << "prog.rtf";
        QTest::newRow("no such folder") << "missing/prog" << int(platform::mb::AnswerOk) << "";
    }
    void saveAsRich()
    {
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(QString, written);
        TestApp app;
        app.write(QStringLiteral("prog.rtf"), "OLD");
        const QString iso = app.write(QStringLiteral("source.iso"), "N10 \xE9\r\n");
        Form1 *doc = app.open(iso);
        app.fakes.commonDialog.expectSave(app.path(typed), 11);
        if (answer)
            app.fakes.messageBox.answer(answer);
        app.trigger("Mnu_EnregistrerSous");
        QCOMPARE(app.fakes.messageBox.boxes().size(), qsizetype(answer != 0));
        const QString target = written.isEmpty() ? iso : app.path(written);
        QCOMPARE(doc->caption(), target);
        QCOMPARE(doc->fileType, written.isEmpty() ? FileType::Plain : FileType::Rich);
        QCOMPARE(TestApp::read(app.path(QStringLiteral("prog.rtf"))) == "OLD", written != QStringLiteral("prog.rtf"));
        // The next "&Enregistrer" writes in the document's format; another program stays plain text.
        doc->Text1->setSelStart(0);
        doc->Text1->setSelText(QStringLiteral("%"));
        app.trigger("Mnu_Enregistrer");
        if (written.isEmpty())
            QCOMPARE(TestApp::read(iso), QByteArray("%N10 \xE9\r\n"));
        else
            QCOMPARE(readBack(target).text, QStringLiteral("%N10 é\r\n"));
        Form1 *other = app.open(app.write(QStringLiteral("other.iso"), "N1\r\n"));
        other->Change = true;
        app.trigger("Mnu_Enregistrer");
        QCOMPARE(TestApp::read(other->caption()), QByteArray("N1\r\n"));
    }
};

QTEST_MAIN(TestRichCommands)
#include "tst_rich_commands.moc"
