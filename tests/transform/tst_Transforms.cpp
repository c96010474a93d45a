// The text transforms on UTF-8 bytes, each one character for one character: the case mapping in both
// directions and both encodings, upper case outside comments, accent removal through the program's
// table; and how often accent removal reports its progress.
#include "transform/Accents.h"
#include "transform/CaseMap.h"
#include "transform/CommentCase.h"

#include <QtTest>

using namespace tarmel;

class TestTransforms : public QObject {
    Q_OBJECT
private slots:
    void transform_data()
    {
        QTest::addColumn<QString>("how"); // upper, lower, outside (comments), accents
        QTest::addColumn<QByteArray>("text"); QTest::addColumn<bool>("windows1252"); QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QByteArray>("linePrefix"); // before the text on its line (outside comments)
        const auto row = [](const char *name, const char *how, QByteArray text, bool windows1252, QByteArray expected,
                            QByteArray prefix = {}) {
            QTest::newRow(name) << QString(how) << text << windows1252 << expected << prefix;
        };
        // Eight ASCII bytes are converted at once: every letter and its neighbours, across such blocks.
        row("every letter up", "upper", "@abcdefghijklmnopqrstuvwxyz[`{AZ", true, "@ABCDEFGHIJKLMNOPQRSTUVWXYZ[`{AZ");
        row("every letter down", "lower", "@ABCDEFGHIJKLMNOPQRSTUVWXYZ[`{az", true, "@abcdefghijklmnopqrstuvwxyz[`{az");
        row("accent inside a block", "upper", "n10 g1 é x1 y2 z3", true, "N10 G1 É X1 Y2 Z3");
        row("ÿ to Ÿ, which Windows-1252 holds", "upper", "ÿ", true, "Ÿ");
        row("ß has no one-character capital", "upper", "ß", false, "ß");
        row("µ kept in Windows-1252", "upper", "µ", true, "µ");
        row("µ to Greek in UTF-8", "upper", "µ", false, "Μ");
        // A capital longer in UTF-8 than its small letter (U+0250 -> U+2C6F): the bytes grow, not the text.
        row("capital longer in UTF-8", "upper", "\xC9\x90 abcdefgh", false, "\xE2\xB1\xAF ABCDEFGH");
        row("beyond the BMP", "upper", "\xF0\x90\x90\xA8", false, "\xF0\x90\x90\x80");
        row("invalid bytes kept", "upper", "\xFF" "a\xC3", false, "\xFF" "A\xC3");
        // Upper case outside comments; openings are looked for eight bytes at a time.
        row("nested parentheses are one comment", "outside", "(a (b) c) g1", true, "(a (b) c) G1");
        row("a stray ) is text", "outside", "g1) x", true, "G1) X");
        row("unclosed ( runs to the line end", "outside", "g1 (open x1\ng2", true, "G1 (open x1\nG2");
        row("a lone CR ends the line", "outside", "(a\rb", true, "(a\rB");
        row("; runs to the line end", "outside", "g1 ; note (x\r\ng2", true, "G1 ; note (x\r\nG2");
        row("; inside parentheses is part of the comment", "outside", "(a;b) g1", true, "(a;b) G1");
        row(") after ; closes nothing", "outside", "; a) b", true, "; a) b");
        row("( and ; in later words", "outside", "n10 g01 x1.5 y2 (op a) z3 f100 ; fin b\r\nn20 g00 x0 y0 z50 (fin)", true,
            "N10 G01 X1.5 Y2 (op a) Z3 F100 ; fin b\r\nN20 G00 X0 Y0 Z50 (fin)");
        row("comments, Windows-1252", "outside", "µ é ÿ (µ é)", true, "µ É Ÿ (µ é)");
        row("comments, UTF-8", "outside", "µ é (µ é)", false, "Μ É (µ é)");
        row("starting two levels deep", "outside", "b) c) d", true, "b) c) D", "((");
        row("starting after a closed comment", "outside", "b", true, "B", "(a) ");
        row("starting inside a ; comment", "outside", "b) c\r\nd", true, "b) c\r\nD", "x ; (");
        // Accent removal: from U+00C0 to U+00FF the table's characters become the letter of their row.
        row("every character from À to ÿ", "accents", "ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞßàáâãäåæçèéêëìíîïðñòóôõö÷øùúûüýþÿ",
            false, "aÁaÃaÅÆceeeeÌÍiiÐÑÒÓoÕo×DÙÚuuÝÞßaáaãaåæceeeeìíiiðñòóoõo÷Duúuuýþÿ");
        row("second bytes of other characters", "accents", "© ¨ ¤ € …", false, "© ¨ ¤ € …");
        row("a lead byte at the end", "accents", "é\xC3", false, "e\xC3");
        row("a lead byte without its second", "accents", "\xC3(é", false, "\xC3(e");
        const QByteArray block(kProgressBlock - 1, 'x');
        row("across the end of a block", "accents", block + "éa", false, block + "ea");
    }

    void transform()
    {
        QFETCH(QString, how); QFETCH(QByteArray, text); QFETCH(bool, windows1252); QFETCH(QByteArray, expected);
        QFETCH(QByteArray, linePrefix);
        const QByteArray result = how == u"accents"   ? removeAccentsUtf8(text)
                                  : how == u"outside" ? upperOutsideCommentsUtf8(text, windows1252, linePrefix)
                                                      : convertCaseUtf8(text, how == u"upper" ? Case::Upper : Case::Lower, windows1252);
        QCOMPARE(result, expected);
        QCOMPARE(QString::fromUtf8(result).size(), QString::fromUtf8(text).size()); // every character keeps its place
    }

    // However fast the machine, the callback runs at most once per block and once at the end, never per
    // character; its last call says the whole text is done.
    void progressAtMostOncePerBlock()
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
};

QTEST_APPLESS_MAIN(TestTransforms)
#include "tst_Transforms.moc"
