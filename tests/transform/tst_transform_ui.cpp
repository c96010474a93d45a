// Case conversion and accent removal through their menu items, on a document whose first character is
// bold: selection or whole text, the document's encoding, the undo snapshot and "&Annuler", the empty
// document, rich text becoming plain, the hourglass, and Form4 while the accents go.
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "files/FormattedText.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"
#include "transform/Form4.h"

#include <QApplication>
#include <QProgressBar>
#include <QtTest>

using namespace tarmel;

namespace {

int overrideShape() { return QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : -1; }

} // namespace

class TestTransformUi : public QObject {
    Q_OBJECT
private slots:
    void commands_data();
    void commands();
};

void TestTransformUi::commands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const char *command, bool utf8, const QString &text, int selStart,
                        int selLength, const QString &expected) {
        QTest::newRow(name) << QString::fromLatin1(command) << utf8 << text << selStart << selLength << expected;
    };
    const char *upper = "Mnu_Majuscule", *lower = "Mnu_Minuscule", *outside = "Mnu_MajusculeHorsCommentaires";
    const char *accents = "Mnu_SupprimAccents";
    row("upper, nothing selected", upper, false, "g1 x-5.2 é", 0, 0, "G1 X-5.2 É");
    row("upper, a selection", upper, false, "g1 x1\r\ng2 x2", 0, 5, "G1 X1\r\ng2 x2");
    row("lower, nothing selected", lower, false, "N10 G1 É", 0, 0, "n10 g1 é");
    row("upper, Windows-1252: µ stays", upper, false, "µm ÿ ß", 0, 0, "µM Ÿ ß");
    row("upper, UTF-8: µ to Greek", upper, true, "µm ÿ ß", 0, 0, "ΜM Ÿ ß");
    row("outside comments", outside, false, "g1 (op é) x1 ; fin\r\ny2", 0, 0, "G1 (op é) X1 ; fin\r\nY2");
    row("outside comments, selection inside one", outside, false, "n1 (abc def) ghi", 8, 8, "n1 (abc def) GHI");
    row("upper, empty document: a snapshot", upper, false, "", 0, 0, "");
    row("accents", accents, false, "Élève À Ça", 0, 0, "eleve a ca");
    row("accents, a selection: the whole text", accents, false, "é (è)\r\nà", 0, 1, "e (e)\r\na");
    row("accents, none to remove: a snapshot all the same", accents, false, "Ù and ñ", 0, 0, "Ù and ñ");
    row("accents, empty document: nothing at all", accents, false, "", 0, 0, "");
}

void TestTransformUi::commands()
{
    QFETCH(QString, command);
    QFETCH(bool, utf8);
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, expected);
    testsupport::TestApp app;
    app.trigger("Mnu_Nouveau");
    Form1 *doc = app.main->activeDocument();
    platform::RichTextBox *box = doc->Text1;
    FileFormat format = box->fileFormat();
    format.encoding = utf8 ? Encoding::Utf8 : Encoding::Windows1252;
    box->setFileFormat(format);
    const FormattedText plain = FormattedText::plain(text, box->baseFontName(), box->baseFontSize());
    FormattedText rich = plain;
    CharFormat bold = rich.baseFormat();
    bold.bold = true;
    rich.runs.prepend(TextRun{0, qMin<qsizetype>(1, text.size()), bold});
    box->setFormattedText(normalized(rich));
    QVERIFY(text.isEmpty() || box->formattedText() != plain);
    box->setSelStart(selStart);
    box->setSelLength(selLength);
    // The hourglass, and Form4 as it stands, when the new text goes in.
    QList<int> cursorAtChange;
    QString form4;
    QObject::connect(box, &platform::RichTextBox::textChanged, doc, [&] {
        cursorAtChange << overrideShape();
        if (const Form4 *form = app.main->findChild<Form4 *>())
            form4 = QStringLiteral("%1 visible %2 modal %3 bar at end %4")
                        .arg(form->windowTitle())
                        .arg(form->isVisible())
                        .arg(form->isModal())
                        .arg(form->ProgressBar1->value() == form->ProgressBar1->maximum());
    });
    app.main->runCommand(command);

    QCOMPARE(box->text(), expected);
    const bool accentRun = command == QLatin1String("Mnu_SupprimAccents") && !text.isEmpty();
    const bool acted = accentRun || command != QLatin1String("Mnu_SupprimAccents");
    QCOMPARE(doc->AnnulRedo, acted);
    QCOMPARE(QString::fromUtf8(doc->RedoText), text);
    QCOMPARE(app.mismatches(acted ? QStringLiteral("Mnu_Annuler #8") : QStringLiteral("-Mnu_Annuler -#8")), QString());
    if (!text.isEmpty())
        QCOMPARE(cursorAtChange.value(0), int(Qt::WaitCursor));
    QVERIFY(!QApplication::overrideCursor());
    if (selLength == 0 || accentRun) // the whole text was replaced: plain, in the base font
        QCOMPARE(box->formattedText(), FormattedText::plain(expected, box->baseFontName(), box->baseFontSize()));
    // A removal that runs shows Form4, a child of the main window, until its end; then it is gone.
    QCOMPARE(form4, accentRun ? QStringLiteral("Suppression des caractères accentués visible 1 modal 0 bar at end 1")
                              : QString());
    QVERIFY(!app.main->findChild<Form4 *>());
    if (acted) {
        app.trigger("Mnu_Annuler");
        QCOMPARE(box->text(), text);
    }
}

QTEST_MAIN(TestTransformUi)
#include "tst_transform_ui.moc"
