// The one-for-one case mapping, over UTF-8 texts, in both directions and both encodings.
#include "transform/CaseMap.h"

#include <QtTest>

using namespace tarmel;

class TestCaseMap : public QObject {
    Q_OBJECT
private slots:
    void convert_data();
    void convert();
};

void TestCaseMap::convert_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("upper");
    QTest::addColumn<bool>("windows1252");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("ASCII up") << QByteArray("g01 x-1.5;(op)\r\n") << true << true << QByteArray("G01 X-1.5;(OP)\r\n");
    QTest::newRow("ASCII down") << QByteArray("G01 X10") << false << true << QByteArray("g01 x10");
    QTest::newRow("accents up") << QByteArray("é à ç") << true << true << QByteArray("É À Ç");
    QTest::newRow("accents down") << QByteArray("ÉÈ") << false << true << QByteArray("éè");
    QTest::newRow("accents up, UTF-8") << QByteArray("g1 x-5.2 é ù") << true << false << QByteArray("G1 X-5.2 É Ù");
    QTest::newRow("accents down, UTF-8") << QByteArray("ÀÇÙ") << false << false << QByteArray("àçù");
    QTest::newRow("ÿ to Ÿ, which Windows-1252 holds") << QByteArray("ÿ") << true << true << QByteArray("Ÿ");
    QTest::newRow("ÿ to Ÿ in UTF-8") << QByteArray("ÿ") << true << false << QByteArray("Ÿ");
    QTest::newRow("Ÿ back to ÿ") << QByteArray("Ÿ") << false << true << QByteArray("ÿ");
    QTest::newRow("ß has no one-character capital") << QByteArray("ß") << true << false << QByteArray("ß");
    QTest::newRow("ß in Windows-1252") << QByteArray("aß") << true << true << QByteArray("Aß");
    QTest::newRow("µ kept in Windows-1252") << QByteArray("µ") << true << true << QByteArray("µ");
    QTest::newRow("µ to Greek in UTF-8") << QByteArray("µ") << true << false << QByteArray("Μ");
    QTest::newRow("µ has no small form") << QByteArray("µ") << false << false << QByteArray("µ");
    // Eight ASCII bytes are converted at once: runs across, and next to, such a block.
    QTest::newRow("long ASCII run, every letter") << QByteArray("@abcdefghijklmnopqrstuvwxyz[`{AZ") << true << true
                                                  << QByteArray("@ABCDEFGHIJKLMNOPQRSTUVWXYZ[`{AZ");
    QTest::newRow("long ASCII run down") << QByteArray("@ABCDEFGHIJKLMNOPQRSTUVWXYZ[`{az") << false << true
                                         << QByteArray("@abcdefghijklmnopqrstuvwxyz[`{az");
    QTest::newRow("accent inside a block") << QByteArray("n10 g1 é x1 y2 z3") << true << true
                                           << QByteArray("N10 G1 É X1 Y2 Z3");
    // A capital longer in UTF-8 than its small letter (U+0250 -> U+2C6F): the text grows by a byte.
    QTest::newRow("capital longer in UTF-8") << QByteArray("\xC9\x90 abcdefgh") << true << false
                                             << QByteArray("\xE2\xB1\xAF ABCDEFGH");
    QTest::newRow("small letter shorter in UTF-8") << QByteArray("\xE2\xB1\xAF ABCDEFGH") << false << false
                                                   << QByteArray("\xC9\x90 abcdefgh");
    QTest::newRow("beyond the BMP") << QByteArray("\xF0\x90\x90\xA8") << true << false << QByteArray("\xF0\x90\x90\x80");
    QTest::newRow("invalid bytes kept") << QByteArray("\xFF" "a\xC3") << true << false << QByteArray("\xFF" "A\xC3");
    QTest::newRow("NUL kept") << QByteArray("a\0b", 3) << true << true << QByteArray("A\0B", 3);
    QTest::newRow("empty") << QByteArray() << true << true << QByteArray();
}

void TestCaseMap::convert()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, upper);
    QFETCH(bool, windows1252);
    QFETCH(QByteArray, expected);
    const QByteArray result = convertCaseUtf8(text, upper ? Case::Upper : Case::Lower, windows1252);
    QCOMPARE(result, expected);
    QCOMPARE(QString::fromUtf8(result).size(), QString::fromUtf8(text).size()); // never a length change
}

QTEST_APPLESS_MAIN(TestCaseMap)
#include "tst_CaseMap.moc"
