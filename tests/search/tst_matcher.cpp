// The matcher and the search rules on UTF-8 bytes: case, whole words, direction, where a
// search begins, and the replacement of every occurrence.
#include "search/Matcher.h"
#include "search/SearchRules.h"

#include <QtTest>

using namespace tarmel::search;

namespace {

enum Flag { Down = 0, Up = 1, MatchCase = 2, WholeWord = 4 };

SearchOptions optionsOf(int flags)
{
    return {bool(flags & MatchCase), bool(flags & WholeWord), flags & Up ? Direction::Up : Direction::Down};
}

// "start,length" or "-" for nothing.
QString shown(const std::optional<Span> &span)
{
    return span ? QStringLiteral("%1,%2").arg(span->start).arg(span->length) : QStringLiteral("-");
}

// One row of find_data: the hit as "start,length", "-" for none.
void findRow(const char *name, const QByteArray &text, const QByteArray &needle, qint64 from, int flags,
             const char *hit)
{
    QTest::newRow(name) << text << needle << from << flags << QString::fromLatin1(hit);
}

// One row of searchOrigin_data; spans as "start,length", "-" for none.
void originRow(const char *name, bool up, const char *selection, const char *hit, const char *replaced,
               qint64 position, bool afterIt)
{
    QTest::newRow(name) << up << QString::fromLatin1(selection) << QString::fromLatin1(hit)
                        << QString::fromLatin1(replaced) << position << afterIt;
}

void replaceRow(const char *name, const QByteArray &text, const QByteArray &needle, const QByteArray &replacement,
                qint64 origin, qint64 caret, int flags, const QByteArray &expected, qint64 count, qint64 newCaret)
{
    QTest::newRow(name) << text << needle << replacement << origin << caret << flags << expected << count << newCaret;
}

std::optional<Span> parsed(const QString &span)
{
    if (span == QStringLiteral("-"))
        return std::nullopt;
    return Span{span.section(QLatin1Char(','), 0, 0).toLongLong(), span.section(QLatin1Char(','), 1).toLongLong()};
}

} // namespace

class TestMatcher : public QObject {
    Q_OBJECT
private slots:
    void find_data();
    void find();
    void searchOrigin_data();
    void searchOrigin();
    void replaceAll_data();
    void replaceAll();
};

void TestMatcher::find_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("needle");
    QTest::addColumn<qint64>("from");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("expected");
    const int word = WholeWord, up = Up, exact = MatchCase;
    // Case
    findRow("case ignored: g01 finds G01", "N10 G01", "g01", 0, 0, "4,3");
    findRow("é finds É", "N1 (ÉTÉ)", "été", 0, 0, "4,5");
    findRow("case kept: é misses É", "ÉTÉ", "é", 0, exact, "-");
    findRow("ß is no SS", "STRASSE", "straße", 0, 0, "-");
    findRow("dotless ı is an I of two bytes", "xıx", "I", 0, 0, "1,2");
    findRow("far hit, letter", QByteArray(21, 'x') + "G01", "g01", 0, 0, "21,3");
    findRow("far hit, accent", QByteArray(17, 'x') + "aé", "É", 0, 0, "18,2");
    findRow("far hit, digit", QByteArray(30, 'x') + "5", "5", 0, 0, "30,1");
    findRow("invalid byte as itself", "\xff\xfe" "A\xfe", "\xfe", 2, 0, "3,1");
    // Whole word
    findRow("word between blanks", "G01 X10 Y5", "X10", 0, word, "4,3");
    findRow("word at the end of the text", "G01 X10", "X10", 0, word, "4,3");
    findRow("word at the start of the text", "X10 Y5", "x10", 0, word, "0,3");
    findRow("word before CR LF", "G01 X10\r\nY5", "X10", 0, word, "4,3");
    findRow("word between tabs", "G01\tX10\tY5", "X10", 0, word, "4,3");
    findRow("X10 inside X100 skipped", "X100 X10", "X10", 0, word, "5,3");
    findRow("X10 inside X10.5", "G01 X10.5", "X10", 0, word, "-");
    findRow("digit before", "1X10 Y", "X10", 0, word, "-");
    findRow("parenthesis around", "(X10)", "X10", 0, word, "-");
    findRow("upward word skips X100", "X10 X100", "X10", 8, up | word, "0,3");
    findRow("case kept, word", "X100 X10", "X10", 0, exact | word, "5,3");
    findRow("case kept, upward word", "X10 X100", "X10", 8, up | exact | word, "0,3");
    // Order
    findRow("down, hit at from", "G0 G0 G0", "G0", 3, 0, "3,2");
    findRow("down, case kept", "G0 G0 G0", "G0", 1, exact, "3,2");
    findRow("down past the end", "G0", "G0", 3, 0, "-");
    findRow("up before a hit", "G0 G0 G0", "G0", 6, up, "3,2");
    findRow("up, hit reaching past from", "G01", "g01", 1, up, "0,3");
    findRow("up from the start", "G0 G0", "G0", 0, up, "-");
    findRow("up, case kept", "G0 g0 G0", "G0", 6, up | exact, "0,2");
    findRow("up, far", "G01" + QByteArray(20, 'x'), "g01", 23, up, "0,3");
    findRow("up, accent far", "é" + QByteArray(20, 'x'), "É", 22, up, "0,2");
    // Overlapping needles
    findRow("overlap down from 1", "AAAA", "aa", 1, 0, "1,2");
    findRow("overlap up from 4", "AAAA", "AA", 4, up, "2,2");
    findRow("overlap up from 2, case kept", "AAAA", "AA", 2, up | exact, "1,2");
    // Line ends, sizes
    findRow("CR LF inside the needle", "N10\r\nN20", "0\r\nN", 0, 0, "2,4");
    findRow("CR LF inside, case kept", "N10\r\nN20", "10\r\nN2", 0, exact, "1,6");
    findRow("empty text", "", "G", 0, 0, "-");
    findRow("empty needle", "G01", "", 0, 0, "-");
    findRow("needle longer than text", "X1", "X10", 0, 0, "-");
    findRow("needle longer, case kept, up", "X1", "X10", 2, up | exact, "-");
    findRow("needle cut by the end", "N1 ÉT", "été", 0, 0, "-");
}

void TestMatcher::find()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, needle);
    QFETCH(qint64, from);
    QFETCH(int, flags);
    QFETCH(QString, expected);
    QCOMPARE(shown(findUtf8(text, needle, from, optionsOf(flags))), expected);
}

void TestMatcher::searchOrigin_data()
{
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("hit");      // the last search's hit
    QTest::addColumn<QString>("replaced"); // the last replacement
    QTest::addColumn<qint64>("position");
    QTest::addColumn<bool>("afterIt");
    originRow("first search at the caret", false, "0,0", "-", "-", 0, false);
    originRow("repeated: steps over the hit", false, "9,3", "9,3", "-", 9, true);
    originRow("same start, other length", false, "9,2", "9,3", "-", 9, false);
    originRow("caret on the hit's start", false, "9,0", "9,3", "-", 9, false);
    originRow("selection elsewhere", false, "20,3", "9,3", "-", 20, false);
    originRow("down after a replacement", false, "12,0", "-", "9,3", 12, false);
    originRow("up, repeated", true, "9,3", "9,3", "-", 9, false);
    originRow("up, caret after the replacement", true, "12,0", "-", "9,3", 9, false);
    originRow("up, caret moved since", true, "11,0", "-", "9,3", 11, false);
    originRow("up, replacement selected", true, "9,3", "-", "9,3", 9, false);
}

void TestMatcher::searchOrigin()
{
    QFETCH(bool, up);
    QFETCH(QString, selection);
    QFETCH(QString, hit);
    QFETCH(QString, replaced);
    QFETCH(qint64, position);
    QFETCH(bool, afterIt);
    const SearchOrigin origin = tarmel::search::searchOrigin(up ? Direction::Up : Direction::Down,
                                                             *parsed(selection), {parsed(hit), parsed(replaced)});
    QCOMPARE(origin.position, position);
    QCOMPARE(origin.afterIt, afterIt);
}

void TestMatcher::replaceAll_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("needle");
    QTest::addColumn<QByteArray>("replacement");
    QTest::addColumn<qint64>("origin");
    QTest::addColumn<qint64>("caret");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QByteArray>("expected"); // empty: nothing replaced
    QTest::addColumn<qint64>("count");
    QTest::addColumn<qint64>("newCaret");
    const int up = Up;
    replaceRow("down from the start", "G0 X1\r\nG0 Y2", "g0", "G00", 0, 0, 0, "G00 X1\r\nG00 Y2", 2, 0);
    replaceRow("down from the caret", "G0 G0 G0", "G0", "G1", 3, 3, 0, "G0 G1 G1", 2, 3);
    replaceRow("up to the start", "G0 G0 G0", "G0", "G00", 8, 8, up, "G00 G00 G00", 3, 11);
    replaceRow("up, only before the caret", "G0 G0 G0", "G0", "G1", 3, 3, up, "G1 G0 G0", 1, 3);
    replaceRow("up after a replacement", "G0 G00", "G0", "G00", 3, 6, up, "G00 G00", 1, 7);
    replaceRow("caret inside an occurrence", "AB CD", "B C", "x", 3, 3, up, "AxD", 1, 2);
    replaceRow("overlap, down", "AAA", "AA", "B", 0, 0, 0, "BA", 1, 0);
    replaceRow("overlap, up", "AAA", "AA", "B", 3, 3, up, "AB", 1, 2);
    replaceRow("whole words only", "X10 X100 X10.5\r\nX10", "X10", "X20", 0, 0, WholeWord, "X20 X100 X10.5\r\nX20", 2,
               0);
    replaceRow("accents, case ignored", "été ÉTÉ", "été", "x", 0, 0, 0, "x x", 2, 0);
    replaceRow("case kept", "g0 G0", "G0", "G1", 0, 0, MatchCase, "g0 G1", 1, 0);
    replaceRow("replacement empty", "N1 M8 M8", " M8", "", 0, 0, 0, "N1", 2, 0);
    replaceRow("nothing found", "N1 G1", "G2", "G3", 0, 2, 0, "", 0, 2);
}

void TestMatcher::replaceAll()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, needle);
    QFETCH(QByteArray, replacement);
    QFETCH(qint64, origin);
    QFETCH(qint64, caret);
    QFETCH(int, flags);
    QFETCH(QByteArray, expected);
    QFETCH(qint64, count);
    QFETCH(qint64, newCaret);
    const ReplaceAllResult r = replaceAllUtf8(text, needle, replacement, origin, caret, optionsOf(flags));
    QCOMPARE(r.text, expected);
    QCOMPARE(r.count, count);
    QCOMPARE(r.caret, newCaret);
}

QTEST_APPLESS_MAIN(TestMatcher)
#include "tst_matcher.moc"
