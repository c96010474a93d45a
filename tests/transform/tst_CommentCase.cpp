// Upper case outside comments: parentheses (nested, unclosed, stray), ";" comments, line ends,
// selections starting inside a comment, and the case mapping of the document's encoding.
#include "transform/CommentCase.h"

#include <QtTest>

using namespace tarmel;

Q_DECLARE_METATYPE(tarmel::CommentState)

class TestCommentCase : public QObject {
    Q_OBJECT
private slots:
    void upper_data();
    void upper();
    void stateAfter_data();
    void stateAfter();
};

void TestCommentCase::upper_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("windows1252");
    QTest::addColumn<CommentState>("from");
    QTest::addColumn<QByteArray>("expected");
    const CommentState outside;
    QTest::newRow("no comment") << QByteArray("n10 g1 x-5.2 é\r\n") << true << outside << QByteArray("N10 G1 X-5.2 É\r\n");
    QTest::newRow("comment kept") << QByteArray("g1 x10 (op é) y2") << true << outside << QByteArray("G1 X10 (op é) Y2");
    QTest::newRow("two comments on a line") << QByteArray("(a) b (c) d") << true << outside << QByteArray("(a) B (c) D");
    QTest::newRow("nested parentheses are one comment")
        << QByteArray("(a (b) c) g1") << true << outside << QByteArray("(a (b) c) G1");
    QTest::newRow("a stray ) is text") << QByteArray("g1) x") << true << outside << QByteArray("G1) X");
    QTest::newRow("unclosed ( runs to the line end, CR LF")
        << QByteArray("g1 (open x1\r\ng2") << true << outside << QByteArray("G1 (open x1\r\nG2");
    QTest::newRow("unclosed ( ends at a lone LF") << QByteArray("(a\nb") << true << outside << QByteArray("(a\nB");
    QTest::newRow("unclosed ( ends at a lone CR") << QByteArray("(a\rb") << true << outside << QByteArray("(a\rB");
    QTest::newRow("unclosed nested ( runs to the line end")
        << QByteArray("(a (b) c\r\nd") << true << outside << QByteArray("(a (b) c\r\nD");
    QTest::newRow("; runs to the line end") << QByteArray("g1 ; note x\r\ng2") << true << outside
                                            << QByteArray("G1 ; note x\r\nG2");
    QTest::newRow("; inside parentheses is part of the comment")
        << QByteArray("(a;b) g1") << true << outside << QByteArray("(a;b) G1");
    QTest::newRow("( after ; does not outlive the line") << QByteArray("; a (b\r\nc") << true << outside
                                                         << QByteArray("; a (b\r\nC");
    QTest::newRow(") after ; closes nothing") << QByteArray("; a) b") << true << outside << QByteArray("; a) b");
    QTest::newRow("µ kept in Windows-1252, comment untouched")
        << QByteArray("µ é (µ é)") << true << outside << QByteArray("µ É (µ é)");
    QTest::newRow("µ to Greek in UTF-8, comment untouched")
        << QByteArray("µ é (µ é)") << false << outside << QByteArray("Μ É (µ é)");
    QTest::newRow("ß and ÿ") << QByteArray("ß ÿ (ÿ)") << true << outside << QByteArray("ß Ÿ (ÿ)");
    QTest::newRow("starting inside parentheses") << QByteArray("b) c") << true << CommentState{1, false}
                                                 << QByteArray("b) C");
    QTest::newRow("starting two levels deep") << QByteArray("b) c) d") << true << CommentState{2, false}
                                              << QByteArray("b) c) D");
    QTest::newRow("starting inside a ; comment") << QByteArray("b) c\r\nd") << true << CommentState{0, true}
                                                 << QByteArray("b) c\r\nD");
    QTest::newRow("empty") << QByteArray() << true << outside << QByteArray();
}

void TestCommentCase::upper()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, windows1252);
    QFETCH(CommentState, from);
    QFETCH(QByteArray, expected);
    QCOMPARE(upperOutsideCommentsUtf8(text, windows1252, from), expected);
}

void TestCommentCase::stateAfter_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<CommentState>("expected");
    QTest::newRow("empty") << QByteArray() << CommentState{};
    QTest::newRow("code") << QByteArray("g1 x") << CommentState{};
    QTest::newRow("open (") << QByteArray("g1 (a") << CommentState{1, false};
    QTest::newRow("two open (") << QByteArray("(a (b") << CommentState{2, false};
    QTest::newRow("closed") << QByteArray("(a (b))") << CommentState{};
    QTest::newRow("stray )") << QByteArray("x)") << CommentState{};
    QTest::newRow(";") << QByteArray("x ; (") << CommentState{0, true};
    QTest::newRow("; inside (") << QByteArray("(a;b") << CommentState{1, false};
    QTest::newRow("line end closes") << QByteArray("(a ; b\r\n") << CommentState{};
}

void TestCommentCase::stateAfter()
{
    QFETCH(QByteArray, text);
    QFETCH(CommentState, expected);
    QCOMPARE(commentStateAfter(text), expected);
}

QTEST_APPLESS_MAIN(TestCommentCase)
#include "tst_CommentCase.moc"
