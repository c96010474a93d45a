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
    const auto row = [](const char *name, QByteArray text, bool upper, bool windows1252, QByteArray expected) {
        QTest::newRow(name) << text << upper << windows1252 << expected;
    };
    row("ASCII up", "g01 x-1.5;(op)\r\n", true, true, "G01 X-1.5;(OP)\r\n");
    // Eight ASCII bytes are converted at once: every letter and its neighbours, across such blocks.
    row("every letter up", "@abcdefghijklmnopqrstuvwxyz[`{AZ", true, true, "@ABCDEFGHIJKLMNOPQRSTUVWXYZ[`{AZ");
    row("every letter down", "@ABCDEFGHIJKLMNOPQRSTUVWXYZ[`{az", false, true, "@abcdefghijklmnopqrstuvwxyz[`{az");
    row("accent inside a block", "n10 g1 é x1 y2 z3", true, true, "N10 G1 É X1 Y2 Z3");
    row("accents up, UTF-8", "g1 é ù", true, false, "G1 É Ù");
    row("ÿ to Ÿ, which Windows-1252 holds", "ÿ", true, true, "Ÿ");
    row("ÿ to Ÿ in UTF-8", "ÿ", true, false, "Ÿ");
    row("ß has no one-character capital, Windows-1252", "aß", true, true, "Aß");
    row("ß has no one-character capital, UTF-8", "ß", true, false, "ß");
    row("µ kept in Windows-1252", "µ", true, true, "µ");
    row("µ to Greek in UTF-8", "µ", true, false, "Μ");
    // A capital longer in UTF-8 than its small letter (U+0250 -> U+2C6F): the bytes grow, not the text.
    row("capital longer in UTF-8", "\xC9\x90 abcdefgh", true, false, "\xE2\xB1\xAF ABCDEFGH");
    row("beyond the BMP", "\xF0\x90\x90\xA8", true, false, "\xF0\x90\x90\x80");
    row("invalid bytes kept", "\xFF" "a\xC3", true, false, "\xFF" "A\xC3");
    row("NUL kept", QByteArray("a\0b", 3), true, true, QByteArray("A\0B", 3));
    row("empty", "", true, true, "");
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
