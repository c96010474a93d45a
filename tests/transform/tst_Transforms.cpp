// Accent removal: the table over every Latin-1 character, the program's examples, bytes that are not
// UTF-8, how often progress is reported. Upper case outside comments: nested, unclosed and stray
// parentheses, ";" inside and outside them, line ends, a text starting inside a comment.
#include "transform/Accents.h"
#include "transform/CommentCase.h"

#include <QtTest>

using namespace tarmel;

class TestTransforms : public QObject {
    Q_OBJECT
private slots:
    void accentTable();
    void removeAccents_data();
    void removeAccents();
    void progressAtMostOncePerBlock();
    void upperOutsideComments_data();
    void upperOutsideComments();
};

// The table's characters become the letter of their row; every other Latin-1 character stays.
void TestTransforms::accentTable()
{
    const QList<QPair<char, QString>> table = {
        {'e', QStringLiteral("èéêëÊËÉÈ")}, {'a', QStringLiteral("âàäÂÄÀ")}, {'u', QStringLiteral("ùüûÛÜ")},
        {'i', QStringLiteral("îïÏÎ")}, {'o', QStringLiteral("öôÔÖ")}, {'c', QStringLiteral("Çç")}, {'D', QStringLiteral("øØ")}};
    for (char16_t c = 0x20; c <= 0xFF; ++c) {
        QString expected(QChar{c});
        for (const auto &[letter, characters] : table)
            if (characters.contains(QChar(c)))
                expected = QChar::fromLatin1(letter);
        QCOMPARE(QString::fromUtf8(removeAccentsUtf8(QString(QChar(c)).toUtf8())), expected);
    }
}

void TestTransforms::removeAccents_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("upper-case letters become lower-case plain ones") << QByteArray("Élève À Ça") << QByteArray("eleve a ca");
    QTest::newRow("ø and Ø become D") << QByteArray("Ø 20 and ø 20") << QByteArray("D 20 and D 20");
    QTest::newRow("outside the table") << QByteArray("Ù ñ á ò ÿ œ æ") << QByteArray("Ù ñ á ò ÿ œ æ");
    QTest::newRow("three-byte characters stay") << QByteArray("€é…") << QByteArray("€e…");
    QTest::newRow("a lead byte at the end stays") << QByteArray("é\xC3") << QByteArray("e\xC3");
    QTest::newRow("a lead byte without its second stays") << QByteArray("\xC3(é") << QByteArray("\xC3(e");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    const QByteArray block(kProgressBlock - 1, 'x');
    QTest::newRow("across the end of a block") << block + "éa" << block + "ea";
}

void TestTransforms::removeAccents()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    const QByteArray result = removeAccentsUtf8(text);
    QCOMPARE(result, expected);
    QCOMPARE(QString::fromUtf8(result).size(), QString::fromUtf8(text).size()); // every character keeps its place
}

// However fast the machine, the callback runs at most once per block and once at the end, never per
// character; its last call says the whole text is done.
void TestTransforms::progressAtMostOncePerBlock()
{
    const qint64 size = 3 * kProgressBlock + 5;
    QByteArray text(size, 'a');
    for (qint64 i = 0; i + 1 < size; i += 4096)
        text.replace(i, 2, "é");
    QList<QPair<qint64, qint64>> calls;
    removeAccentsUtf8(text, [&](qint64 done, qint64 total) { calls.append({done, total}); });
    QVERIFY(!calls.isEmpty() && calls.size() <= 5);
    QCOMPARE(calls.last(), qMakePair(size, size));
}

void TestTransforms::upperOutsideComments_data()
{
    QTest::addColumn<QByteArray>("linePrefix");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("windows1252");
    QTest::addColumn<QByteArray>("expected");
    const auto row = [](const char *name, QByteArray prefix, QByteArray text, bool windows1252, QByteArray expected) {
        QTest::newRow(name) << prefix << text << windows1252 << expected;
    };
    row("no comment", "", "n10 g1 x-5.2 é\r\n", true, "N10 G1 X-5.2 É\r\n");
    row("two comments", "", "(a) b (c) d", true, "(a) B (c) D");
    row("nested parentheses are one comment", "", "(a (b) c) g1", true, "(a (b) c) G1");
    row("a stray ) is text", "", "g1) x", true, "G1) X");
    row("unclosed ( runs to the line end", "", "g1 (open x1\r\ng2", true, "G1 (open x1\r\nG2");
    row("a lone CR ends the line", "", "(a\rb", true, "(a\rB");
    row("; runs to the line end", "", "g1 ; note (x\r\ng2", true, "G1 ; note (x\r\nG2");
    row("; inside parentheses is part of the comment", "", "(a;b) g1", true, "(a;b) G1");
    row(") after ; closes nothing", "", "; a) b", true, "; a) b");
    // Openings are looked for eight bytes at a time: at a word's first byte, after several words.
    row("( opening the second word", "", "abcdefgh(ij) kl", true, "ABCDEFGH(ij) KL");
    row("( and ; in later words", "", "n10 g01 x1.5 y2 (op a) z3 f100 ; fin b\r\nn20 g00 x0 y0 z50 (fin)", true,
        "N10 G01 X1.5 Y2 (op a) Z3 F100 ; fin b\r\nN20 G00 X0 Y0 Z50 (fin)");
    row("µ kept in Windows-1252", "", "µ é ß ÿ (µ é)", true, "µ É ß Ÿ (µ é)");
    row("µ to Greek in UTF-8", "", "µ é (µ é)", false, "Μ É (µ é)");
    row("starting inside parentheses", "g1 (a ", "b) c", true, "b) C");
    row("starting two levels deep", "((", "b) c) d", true, "b) c) D");
    row("starting after a closed comment", "(a) ", "b", true, "B");
    row("starting inside a ; comment", "x ; (", "b) c\r\nd", true, "b) c\r\nD");
    row("empty", "(", "", true, "");
}

void TestTransforms::upperOutsideComments()
{
    QFETCH(QByteArray, linePrefix);
    QFETCH(QByteArray, text);
    QFETCH(bool, windows1252);
    QFETCH(QByteArray, expected);
    QCOMPARE(upperOutsideCommentsUtf8(text, windows1252, linePrefix), expected);
}

QTEST_APPLESS_MAIN(TestTransforms)
#include "tst_Transforms.moc"
