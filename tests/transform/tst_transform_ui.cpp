// Case conversion and accent removal through their menu items, on a document whose first character is
// bold: selection or whole text, the document's encoding, the undo snapshot and "&Annuler", the empty
// document, rich text becoming plain, the hourglass, and Form4 while the accents go.
#include "document/Form1.h"
#include "files/FormattedText.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"
#include "transform/Form4.h"

#include <QApplication>
#include <QProgressBar>
#include <QtTest>

using namespace tarmel;

class TestTransformUi : public QObject {
    Q_OBJECT
private slots:
    void commands_data()
    {
        QTest::addColumn<QString>("command"); QTest::addColumn<bool>("utf8"); QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("selection"); // start, length
        QTest::addColumn<QString>("expected");
        const QString upper = "Mnu_Majuscule", accents = "Mnu_SupprimAccents";
        QTest::newRow("upper, a selection") << upper << false << "g1 x1\r\ng2 x2" << QPoint(0, 5) << "G1 X1\r\ng2 x2";
        QTest::newRow("lower, nothing selected") << "Mnu_Minuscule" << false << "N10 G1 É" << QPoint() << "n10 g1 é";
        QTest::newRow("upper, Windows-1252: µ stays") << upper << false << "µm ÿ ß" << QPoint() << "µM Ÿ ß";
        QTest::newRow("upper, UTF-8: µ to Greek") << upper << true << "µm ÿ ß" << QPoint() << "ΜM Ÿ ß";
        QTest::newRow("outside comments, selection inside one") << "Mnu_MajusculeHorsCommentaires" << false
                                                                << "n1 (abc def) ghi" << QPoint(8, 8) << "n1 (abc def) GHI";
        QTest::newRow("upper, empty document: a snapshot") << upper << false << "" << QPoint() << "";
        QTest::newRow("accents, a selection: the whole text") << accents << false << "é (è)\r\nà" << QPoint(0, 1)
                                                              << "e (e)\r\na";
        QTest::newRow("accents, empty document: nothing at all") << accents << false << "" << QPoint() << "";
    }

    void commands()
    {
        QFETCH(QString, command); QFETCH(bool, utf8); QFETCH(QString, text); QFETCH(QPoint, selection);
        QFETCH(QString, expected);
        testsupport::TestApp app;
        app.trigger("Mnu_Nouveau");
        Form1 *doc = app.doc();
        platform::RichTextBox *box = doc->Text1;
        FileFormat format = box->fileFormat();
        format.encoding = utf8 ? Encoding::Utf8 : Encoding::Windows1252;
        box->setFileFormat(format);
        FormattedText rich = FormattedText::plain(text, box->baseFontName(), box->baseFontSize());
        rich.runs.prepend(TextRun{0, qMin<qsizetype>(1, text.size()), rich.baseFormat()});
        rich.runs.first().format.bold = true;
        box->setFormattedText(normalized(rich));
        box->setSelStart(selection.x()), box->setSelLength(selection.y());
        QStringList seen; // when the new text goes in: the hourglass, and Form4 as it stands
        QObject::connect(box, &platform::RichTextBox::textChanged, doc, [&] {
            const Form4 *form = app.main->findChild<Form4 *>();
            seen << QString::number(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : -1)
                 << (form ? QString("Form4 visible %1 modal %2 bar at end %3").arg(form->isVisible()).arg(form->isModal())
                                .arg(form->ProgressBar1->value() == form->ProgressBar1->maximum()) : QString());
        });
        app.main->runCommand(command);
        const bool accentRun = command == u"Mnu_SupprimAccents" && !text.isEmpty(), acted = accentRun || command != u"Mnu_SupprimAccents";
        QCOMPARE(box->text(), expected);
        QCOMPARE(QString::fromUtf8(doc->RedoText), text);
        QCOMPARE(app.mismatches(acted ? "Mnu_Annuler #8" : "-Mnu_Annuler -#8"), QString());
        const QString form4 = accentRun ? "Form4 visible 1 modal 0 bar at end 1" : "";
        QCOMPARE(seen, acted ? QStringList({QString::number(Qt::WaitCursor), form4}) : QStringList());
        QVERIFY(!QApplication::overrideCursor() && !app.main->findChild<Form4 *>());
        if (selection.y() == 0 || accentRun) // the whole text was replaced: plain, in the base font
            QCOMPARE(box->formattedText(), FormattedText::plain(expected, box->baseFontName(), box->baseFontSize()));
        if (acted) {
            app.trigger("Mnu_Annuler");
            QCOMPARE(box->text(), text);
        }
    }
};

QTEST_MAIN(TestTransformUi)
#include "tst_transform_ui.moc"
