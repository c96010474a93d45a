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

std::optional<Span> spanOf(qint64 start, qint64 length)
{
    return start < 0 ? std::nullopt : std::optional<Span>(Span{start, length});
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

    // Case
    QTest::newRow("case ignored: g01 finds G01") << QByteArray("N10 G01") << QByteArray("g01") << 0LL << 0 << "4,3";
    QTest::newRow("case kept: g01 misses G01") << QByteArray("N10 G01") << QByteArray("g01") << 0LL << +MatchCase
                                               << "-";
    QTest::newRow("case kept: exact hit") << QByteArray("g01 G01") << QByteArray("G01") << 0LL << +MatchCase << "4,3";
    QTest::newRow("é finds É") << QByteArray("N1 (ÉTÉ)") << QByteArray("été") << 0LL << 0 << "4,5";
    QTest::newRow("É finds é") << QByteArray("(été)") << QByteArray("É") << 0LL << 0 << "1,2";
    QTest::newRow("case kept: é misses É") << QByteArray("ÉTÉ") << QByteArray("é") << 0LL << +MatchCase << "-";
    QTest::newRow("ß is no SS") << QByteArray("STRASSE") << QByteArray("straße") << 0LL << 0 << "-";
    QTest::newRow("dotless ı is an I of two bytes") << QByteArray("xıx") << QByteArray("I") << 0LL << 0 << "1,2";
    QTest::newRow("Ÿ finds ÿ") << QByteArray("aÿ") << QByteArray("Ÿ") << 0LL << 0 << "1,2";
    QTest::newRow("offsets count bytes") << QByteArray("é G01") << QByteArray("g01") << 0LL << 0 << "3,3";
    QTest::newRow("far hit, letter") << QByteArray(21, 'x') + "G01" << QByteArray("g01") << 0LL << 0 << "21,3";
    QTest::newRow("far hit, accent") << QByteArray(17, 'x') + "aé" << QByteArray("É") << 0LL << 0 << "18,2";
    QTest::newRow("far hit, digit") << QByteArray(30, 'x') + "5" << QByteArray("5") << 0LL << 0 << "30,1";
    QTest::newRow("invalid byte as itself") << QByteArray("\xff\xfe" "A\xfe") << QByteArray("\xfe") << 2LL << 0
                                            << "3,1";

    // Whole word
    QTest::newRow("word between blanks") << QByteArray("G01 X10 Y5") << QByteArray("X10") << 0LL << +WholeWord
                                         << "4,3";
    QTest::newRow("word at the end of the text") << QByteArray("G01 X10") << QByteArray("X10") << 0LL << +WholeWord
                                                 << "4,3";
    QTest::newRow("word at the start of the text") << QByteArray("X10 Y5") << QByteArray("x10") << 0LL << +WholeWord
                                                   << "0,3";
    QTest::newRow("word before CR LF") << QByteArray("G01 X10\r\nY5") << QByteArray("X10") << 0LL << +WholeWord
                                       << "4,3";
    QTest::newRow("word after LF") << QByteArray("Y5\nX10 Y") << QByteArray("X10") << 0LL << +WholeWord << "3,3";
    QTest::newRow("word between tabs") << QByteArray("G01\tX10\tY5") << QByteArray("X10") << 0LL << +WholeWord
                                       << "4,3";
    QTest::newRow("X10 inside X100 skipped") << QByteArray("X100 X10") << QByteArray("X10") << 0LL << +WholeWord
                                             << "5,3";
    QTest::newRow("X10 inside X10.5") << QByteArray("G01 X10.5") << QByteArray("X10") << 0LL << +WholeWord << "-";
    QTest::newRow("digit before") << QByteArray("1X10 Y") << QByteArray("X10") << 0LL << +WholeWord << "-";
    QTest::newRow("parenthesis around") << QByteArray("(X10)") << QByteArray("X10") << 0LL << +WholeWord << "-";
    QTest::newRow("comma after") << QByteArray("X10,Y") << QByteArray("X10") << 0LL << +WholeWord << "-";
    QTest::newRow("accent after") << QByteArray("X10é") << QByteArray("X10") << 0LL << +WholeWord << "-";
    QTest::newRow("upward word skips X100") << QByteArray("X10 X100") << QByteArray("X10") << 8LL
                                            << (Up | WholeWord) << "0,3";
    QTest::newRow("case kept, word") << QByteArray("X100 X10") << QByteArray("X10") << 0LL << (MatchCase | WholeWord)
                                     << "5,3";
    QTest::newRow("case kept, upward word") << QByteArray("X10 X100") << QByteArray("X10") << 8LL
                                            << (Up | MatchCase | WholeWord) << "0,3";

    // Order
    QTest::newRow("down from the start") << QByteArray("G0 G0 G0") << QByteArray("G0") << 0LL << 0 << "0,2";
    QTest::newRow("down, hit at from") << QByteArray("G0 G0 G0") << QByteArray("G0") << 3LL << 0 << "3,2";
    QTest::newRow("down, past one") << QByteArray("G0 G0 G0") << QByteArray("G0") << 4LL << 0 << "6,2";
    QTest::newRow("down, case kept") << QByteArray("G0 G0 G0") << QByteArray("G0") << 1LL << +MatchCase << "3,2";
    QTest::newRow("down past the end") << QByteArray("G0") << QByteArray("G0") << 3LL << 0 << "-";
    QTest::newRow("up from the end") << QByteArray("G0 G0 G0") << QByteArray("G0") << 8LL << +Up << "6,2";
    QTest::newRow("up before a hit") << QByteArray("G0 G0 G0") << QByteArray("G0") << 6LL << +Up << "3,2";
    QTest::newRow("up, hit reaching past from") << QByteArray("G01") << QByteArray("g01") << 1LL << +Up << "0,3";
    QTest::newRow("up from the start") << QByteArray("G0 G0") << QByteArray("G0") << 0LL << +Up << "-";
    QTest::newRow("up, case kept") << QByteArray("G0 g0 G0") << QByteArray("G0") << 6LL << (Up | MatchCase) << "0,2";
    QTest::newRow("up, far") << "G01" + QByteArray(20, 'x') << QByteArray("g01") << 23LL << +Up << "0,3";
    QTest::newRow("up, accent far") << "é" + QByteArray(20, 'x') << QByteArray("É") << 22LL << +Up << "0,2";

    // Overlapping needles
    QTest::newRow("overlap down from 0") << QByteArray("AAAA") << QByteArray("AA") << 0LL << 0 << "0,2";
    QTest::newRow("overlap down from 1") << QByteArray("AAAA") << QByteArray("aa") << 1LL << 0 << "1,2";
    QTest::newRow("overlap up from 4") << QByteArray("AAAA") << QByteArray("AA") << 4LL << +Up << "2,2";
    QTest::newRow("overlap up from 2") << QByteArray("AAAA") << QByteArray("AA") << 2LL << (Up | MatchCase) << "1,2";

    // Line ends, sizes
    QTest::newRow("CR LF inside the needle") << QByteArray("N10\r\nN20") << QByteArray("0\r\nN") << 0LL << 0 << "2,4";
    QTest::newRow("CR LF inside, case kept") << QByteArray("N10\r\nN20") << QByteArray("10\r\nN2") << 0LL
                                             << +MatchCase << "1,6";
    QTest::newRow("lone LF is no CR LF") << QByteArray("N10\nN20") << QByteArray("0\r\nN") << 0LL << 0 << "-";
    QTest::newRow("empty text") << QByteArray() << QByteArray("G") << 0LL << 0 << "-";
    QTest::newRow("empty text, upward") << QByteArray() << QByteArray("G") << 0LL << +Up << "-";
    QTest::newRow("empty needle") << QByteArray("G01") << QByteArray() << 0LL << 0 << "-";
    QTest::newRow("needle longer than text") << QByteArray("X1") << QByteArray("X10") << 0LL << 0 << "-";
    QTest::newRow("needle longer, case kept, up") << QByteArray("X1") << QByteArray("X10") << 2LL
                                                  << (Up | MatchCase) << "-";
    QTest::newRow("needle cut by the end") << QByteArray("N1 ÉT") << QByteArray("été") << 0LL << 0 << "-";
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
    QTest::addColumn<qint64>("selStart");
    QTest::addColumn<qint64>("selLength");
    QTest::addColumn<qint64>("hitStart"); // -1: none
    QTest::addColumn<qint64>("hitLength");
    QTest::addColumn<qint64>("replacedStart"); // -1: none
    QTest::addColumn<qint64>("replacedLength");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<bool>("afterIt");

    QTest::newRow("first search at the caret") << false << 0LL << 0LL << -1LL << 0LL << -1LL << 0LL << 0LL << false;
    QTest::newRow("repeated: steps over the hit") << false << 9LL << 3LL << 9LL << 3LL << -1LL << 0LL << 9LL << true;
    QTest::newRow("same start, other length") << false << 9LL << 2LL << 9LL << 3LL << -1LL << 0LL << 9LL << false;
    QTest::newRow("caret on the hit's start") << false << 9LL << 0LL << 9LL << 3LL << -1LL << 0LL << 9LL << false;
    QTest::newRow("selection elsewhere") << false << 20LL << 3LL << 9LL << 3LL << -1LL << 0LL << 20LL << false;
    QTest::newRow("down after a replacement") << false << 12LL << 0LL << -1LL << 0LL << 9LL << 3LL << 12LL << false;
    QTest::newRow("up, repeated") << true << 9LL << 3LL << 9LL << 3LL << -1LL << 0LL << 9LL << false;
    QTest::newRow("up, caret after the replacement") << true << 12LL << 0LL << -1LL << 0LL << 9LL << 3LL << 9LL
                                                     << false;
    QTest::newRow("up, caret moved since") << true << 11LL << 0LL << -1LL << 0LL << 9LL << 3LL << 11LL << false;
    QTest::newRow("up, replacement selected") << true << 9LL << 3LL << -1LL << 0LL << 9LL << 3LL << 9LL << false;
}

void TestMatcher::searchOrigin()
{
    QFETCH(bool, up);
    QFETCH(qint64, selStart);
    QFETCH(qint64, selLength);
    QFETCH(qint64, hitStart);
    QFETCH(qint64, hitLength);
    QFETCH(qint64, replacedStart);
    QFETCH(qint64, replacedLength);
    QFETCH(qint64, position);
    QFETCH(bool, afterIt);
    const LastSearch last{spanOf(hitStart, hitLength), spanOf(replacedStart, replacedLength)};
    const SearchOrigin origin =
        tarmel::search::searchOrigin(up ? Direction::Up : Direction::Down, {selStart, selLength}, last);
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

    QTest::newRow("down from the start") << QByteArray("G0 X1\r\nG0 Y2") << QByteArray("g0") << QByteArray("G00")
                                         << 0LL << 0LL << 0 << QByteArray("G00 X1\r\nG00 Y2") << 2LL << 0LL;
    QTest::newRow("down from the caret") << QByteArray("G0 G0 G0") << QByteArray("G0") << QByteArray("G1") << 3LL
                                         << 3LL << 0 << QByteArray("G0 G1 G1") << 2LL << 3LL;
    QTest::newRow("up to the start") << QByteArray("G0 G0 G0") << QByteArray("G0") << QByteArray("G00") << 8LL << 8LL
                                     << +Up << QByteArray("G00 G00 G00") << 3LL << 11LL;
    QTest::newRow("up, only before the caret") << QByteArray("G0 G0 G0") << QByteArray("G0") << QByteArray("G1")
                                               << 3LL << 3LL << +Up << QByteArray("G1 G0 G0") << 1LL << 3LL;
    QTest::newRow("up after a replacement") << QByteArray("G0 G00") << QByteArray("G0") << QByteArray("G00") << 3LL
                                            << 6LL << +Up << QByteArray("G00 G00") << 1LL << 7LL;
    QTest::newRow("caret inside an occurrence") << QByteArray("AB CD") << QByteArray("B C") << QByteArray("x") << 3LL
                                                << 3LL << +Up << QByteArray("AxD") << 1LL << 2LL;
    QTest::newRow("overlap, down") << QByteArray("AAA") << QByteArray("AA") << QByteArray("B") << 0LL << 0LL << 0
                                   << QByteArray("BA") << 1LL << 0LL;
    QTest::newRow("overlap, up") << QByteArray("AAA") << QByteArray("AA") << QByteArray("B") << 3LL << 3LL << +Up
                                 << QByteArray("AB") << 1LL << 2LL;
    QTest::newRow("whole words only") << QByteArray("X10 X100 X10.5\r\nX10") << QByteArray("X10")
                                      << QByteArray("X20") << 0LL << 0LL << +WholeWord
                                      << QByteArray("X20 X100 X10.5\r\nX20") << 2LL << 0LL;
    QTest::newRow("accents, case ignored") << QByteArray("été ÉTÉ") << QByteArray("été") << QByteArray("x") << 0LL
                                           << 0LL << 0 << QByteArray("x x") << 2LL << 0LL;
    QTest::newRow("case kept") << QByteArray("g0 G0") << QByteArray("G0") << QByteArray("G1") << 0LL << 0LL
                               << +MatchCase << QByteArray("g0 G1") << 1LL << 0LL;
    QTest::newRow("replacement empty") << QByteArray("N1 M8 M8") << QByteArray(" M8") << QByteArray() << 0LL << 0LL
                                       << 0 << QByteArray("N1") << 2LL << 0LL;
    QTest::newRow("nothing found") << QByteArray("N1 G1") << QByteArray("G2") << QByteArray("G3") << 0LL << 2LL << 0
                                   << QByteArray() << 0LL << 2LL;
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
