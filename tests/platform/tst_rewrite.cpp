// Whole-text rewrites on the real engine: whichever way the bytes reach it, the editing area
// ends as if it had been given the new text from scratch, and draws it.
#include "platform/RichTextBox.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QTest>

using platform::RichTextBox;
using Sci = QsciScintillaBase;

namespace {

struct Box : RichTextBox {
    explicit Box(const QByteArray &utf8)
    {
        resize(400, 200);
        show();
        engine()->SendScintilla(Sci::SCI_SETCARETSTYLE, 0UL); // no blinking caret in the pictures
        setUtf8(utf8);
    }
};

} // namespace

class TestRewrite : public QObject {
    Q_OBJECT
private slots:
    void rewriteEndsAsAFreshText_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<bool>("bold"); // a format in the text before the rewrite
        QTest::newRow("case, ASCII") << QByteArray("n10 g01 x1\r\nn20 m30\r\n") << QByteArray("N10 G01 X1\r\nN20 M30\r\n") << false;
        QTest::newRow("case, accents") << QByteArray("(\xC3\xA9t\xC3\xA9)\r\nx") << QByteArray("(\xC3\x89T\xC3\x89)\r\nX") << false;
        QTest::newRow("ASCII to accents") << QByteArray("ab\ncd") << QByteArray("\xC3\xA9\n\xC3\xA8") << false;
        QTest::newRow("accents to ASCII") << QByteArray("\xC3\xA9\r\n") << QByteArray("ab\r\n") << false;
        QTest::newRow("line end moved") << QByteArray("ab\r\ncd") << QByteArray("abc\r\nd") << false;
        QTest::newRow("CR LF to LF CR") << QByteArray("ab\r\ncd") << QByteArray("ab\n\rcd") << false;
        QTest::newRow("bold text") << QByteArray("n10 x1\r\n") << QByteArray("N10 X1\r\n") << true;
        // Longer programs where a few lines change length.
        QByteArray program;
        for (int n = 1; n <= 40; ++n)
            program += "N" + QByteArray::number(n * 10) + (n % 13 == 0 ? " (\xC3\xA9" "bauche)" : " G01 X1") + "\r\n";
        QByteArray plain = program;
        plain.replace("\xC3\xA9", "e");
        QTest::newRow("accents removed here and there") << program << plain << false;
        QTest::newRow("accents removed, bold text") << program << plain << true;
        QTest::newRow("first and last lines") << program << "X" + program.mid(1).chopped(2) + "\n" << false;
        QTest::newRow("a line added at the end") << program << program + "M30" << false;
        QTest::newRow("lines taken away at the end") << program << program.left(60) << false;
        QTest::newRow("a line end moved") << program << QByteArray(program).replace("N30\r\n", "N30 ").replace("N40", "N40\r\n") << false;
        QTest::newRow("every line changed") << program << QByteArray(program).replace("G01", "G1") << false;
        QTest::newRow("CR line ends") << QByteArray(program).replace("\r\n", "\r") << QByteArray(plain).replace("\r\n", "\r") << false;
    }
    void rewriteEndsAsAFreshText()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(bool, bold);
        Box box(before);
        QsciScintilla *engine = box.engine();
        box.setSelStart(2);
        box.setSelText(QStringLiteral("z")); // an undo step the rewrite must drop
        box.setSelStart(0);
        box.setSelLength(1);
        box.setSelBold(bold);
        box.setSelStart(2);
        box.setSelLength(1);
        box.setSelText(QString());
        QCOMPARE(box.utf8(), before);
        QVERIFY(engine->SendScintilla(Sci::SCI_CANUNDO));
        box.setSelStart(1);
        box.engine()->grab(); // the caret's line is laid out and kept
        box.setUtf8(after);

        Box fresh(after);
        QCOMPARE(box.utf8(), after);
        QCOMPARE(box.textLength(), fresh.textLength());
        QCOMPARE(box.lineCount(), fresh.lineCount());
        QCOMPARE(box.selStart(), 0);
        QCOMPARE(box.selLength(), 0);
        QCOMPARE(engine->SendScintilla(Sci::SCI_CANUNDO), 0L);
        for (qsizetype pos = 0; pos <= box.textLength(); ++pos) {
            box.setSelStart(pos);
            fresh.setSelStart(pos);
            QCOMPARE(engine->SendScintilla(Sci::SCI_GETCURRENTPOS), fresh.engine()->SendScintilla(Sci::SCI_GETCURRENTPOS));
        }
        box.setSelStart(0);
        fresh.setSelStart(0);
        QCOMPARE(engine->SendScintilla(Sci::SCI_GETSTYLEAT, 0UL), 0L);
        // What is drawn is the new text, not a layout kept from the old one.
        QCOMPARE(box.engine()->grab().toImage(), fresh.engine()->grab().toImage());
    }
};

QTEST_MAIN(TestRewrite)
#include "tst_rewrite.moc"
