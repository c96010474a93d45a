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

// Spans written "start,length", "-" for none.
std::optional<Span> parsed(const QString &span)
{
    return span == u"-" ? std::nullopt : std::optional<Span>({span.section(u',', 0, 0).toLongLong(), span.section(u',', 1).toLongLong()});
}

} // namespace

class TestMatcher : public QObject {
    Q_OBJECT
private slots:
    void find_data()
    {
        QTest::addColumn<QByteArray>("text"); QTest::addColumn<QByteArray>("needle"); QTest::addColumn<qint64>("from");
        QTest::addColumn<int>("flags"); QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const QByteArray &text, const QByteArray &needle, qint64 from, int flags,
                            const char *hit) { QTest::newRow(name) << text << needle << from << flags << QString(hit); };
        const int word = WholeWord, up = Up, exact = MatchCase;
        // Case; a far hit comes from the eight-bytes-at-a-time scan (an ASCII letter, a lead byte).
        row("case ignored: g01 finds G01", "N10 G01", "g01", 0, 0, "4,3");
        row("é finds É", "N1 (ÉTÉ)", "été", 0, 0, "4,5");
        row("case kept: é misses É", "ÉTÉ", "é", 0, exact, "-");
        row("dotless ı is an I of two bytes", "xıx", "I", 0, 0, "1,2");
        row("far hit, letter", QByteArray(21, 'x') + "G01", "g01", 0, 0, "21,3");
        row("far hit, accent", QByteArray(17, 'x') + "aé", "É", 0, 0, "18,2");
        row("invalid byte as itself", "\xff\xfe" "A\xfe", "\xfe", 2, 0, "3,1");
        // Whole word: blanks, tabs, line ends and the ends of the text delimit it, nothing else.
        row("word at the start, before CR LF", "X10\r\nY5", "x10", 0, word, "0,3");
        row("word between tabs", "G01\tX10\tY5", "X10", 0, word, "4,3");
        row("X10 inside X100 skipped, word at the end", "X100 X10", "X10", 0, word, "5,3");
        row("X10 inside X10.5", "G01 X10.5", "X10", 0, word, "-");
        row("digit before", "1X10 Y", "X10", 0, word, "-");
        row("parenthesis around", "(X10)", "X10", 0, word, "-");
        row("upward word skips X100", "X10 X100", "X10", 8, up | word, "0,3");
        row("case kept, word", "X100 X10", "X10", 0, exact | word, "5,3");
        row("case kept, upward word", "X10 X100", "X10", 8, up | exact | word, "0,3");
        row("down, hit at from", "G0 G0 G0", "G0", 3, 0, "3,2");
        row("down, case kept", "G0 G0 G0", "G0", 1, exact, "3,2");
        row("up before a hit", "G0 G0 G0", "G0", 6, up, "3,2");
        row("up, hit reaching past from", "G01", "g01", 1, up, "0,3");
        row("up from the start", "G0 G0", "G0", 0, up, "-");
        row("up, case kept", "G0 g0 G0", "G0", 6, up | exact, "0,2");
        row("up, far", "G01" + QByteArray(20, 'x'), "g01", 23, up, "0,3");
        row("up, accent far", "é" + QByteArray(20, 'x'), "É", 22, up, "0,2");
        row("overlap up from 2, case kept", "AAAA", "AA", 2, up | exact, "1,2");
        row("empty text", "", "G", 0, 0, "-");
        row("empty needle", "G01", "", 0, 0, "-");
        row("needle longer, case kept, up", "X1", "X10", 2, up | exact, "-");
        row("needle cut by the end", "N1 ÉT", "été", 0, 0, "-");
    }

    void find()
    {
        QFETCH(QByteArray, text); QFETCH(QByteArray, needle); QFETCH(qint64, from); QFETCH(int, flags); QFETCH(QString, expected);
        const std::optional<Span> hit = findUtf8(text, needle, from, optionsOf(flags));
        QCOMPARE(hit ? QStringLiteral("%1,%2").arg(hit->start).arg(hit->length) : QStringLiteral("-"), expected);
    }

    void searchOrigin_data()
    {
        // "direction selection hit replaced": the last search's hit, the last replacement; expected: the
        // position, "+" when the occurrence there is stepped over.
        QTest::addColumn<QString>("state"); QTest::addColumn<QString>("expected");
        QTest::newRow("first search at the caret") << "down 0,0 - -" << "0";
        QTest::newRow("repeated: steps over the hit") << "down 9,3 9,3 -" << "9+";
        QTest::newRow("same start, other length") << "down 9,2 9,3 -" << "9";
        QTest::newRow("down after a replacement") << "down 12,0 - 9,3" << "12";
        QTest::newRow("up, repeated") << "up 9,3 9,3 -" << "9";
        QTest::newRow("up, caret after the replacement") << "up 12,0 - 9,3" << "9";
        QTest::newRow("up, caret moved since") << "up 11,0 - 9,3" << "11";
        QTest::newRow("up, replacement selected") << "up 9,3 - 9,3" << "9";
    }

    void searchOrigin()
    {
        QFETCH(QString, state); QFETCH(QString, expected);
        const QStringList s = state.split(u' ');
        const SearchOrigin origin = tarmel::search::searchOrigin(s[0] == u"up" ? Direction::Up : Direction::Down,
                                                                 *parsed(s[1]), {parsed(s[2]), parsed(s[3])});
        QCOMPARE(QString::number(origin.position) + (origin.afterIt ? "+" : ""), expected);
    }

    void replaceAll_data()
    {
        QTest::addColumn<QByteArray>("text"); QTest::addColumn<QByteArray>("needle");
        QTest::addColumn<QByteArray>("replacement");
        QTest::addColumn<QList<qint64>>("from");    // origin, caret
        QTest::addColumn<int>("flags");
        QTest::addColumn<QByteArray>("expected");   // empty: nothing replaced
        QTest::addColumn<QList<qint64>>("counted"); // occurrences replaced, the caret afterwards
        const auto row = [](const char *name, const QByteArray &text, const QByteArray &needle, const QByteArray &by,
                            QList<qint64> from, int flags, const QByteArray &expected, QList<qint64> counted) {
            QTest::newRow(name) << text << needle << by << from << flags << expected << counted; };
        const int up = Up;
        row("down from the start", "G0 X1\r\nG0 Y2", "g0", "G00", {0, 0}, 0, "G00 X1\r\nG00 Y2", {2, 0});
        row("down from the caret, case kept", "G0 g0 G0 G0", "G0", "G1", {3, 3}, MatchCase, "G0 g0 G1 G1", {2, 3});
        row("up to the start", "G0 G0 G0", "G0", "G00", {8, 8}, up, "G00 G00 G00", {3, 11});
        row("up, only before the caret", "G0 G0 G0", "G0", "G1", {3, 3}, up, "G1 G0 G0", {1, 3});
        row("up after a replacement", "G0 G00", "G0", "G00", {3, 6}, up, "G00 G00", {1, 7});
        row("caret inside an occurrence", "AB CD", "B C", "x", {3, 3}, up, "AxD", {1, 2});
        row("overlap, down", "AAA", "AA", "B", {0, 0}, 0, "BA", {1, 0});
        row("overlap, up", "AAA", "AA", "B", {3, 3}, up, "AB", {1, 2});
        row("whole words only", "X10 X100 X10.5\r\nX10", "X10", "X20", {0, 0}, WholeWord, "X20 X100 X10.5\r\nX20", {2, 0});
        row("nothing found", "N1 G1", "G2", "G3", {0, 2}, 0, "", {0, 2});
    }

    void replaceAll()
    {
        QFETCH(QByteArray, text); QFETCH(QByteArray, needle); QFETCH(QByteArray, replacement);
        QFETCH(QList<qint64>, from); QFETCH(int, flags); QFETCH(QByteArray, expected); QFETCH(QList<qint64>, counted);
        const ReplaceAllResult r = replaceAllUtf8(text, needle, replacement, from[0], from[1], optionsOf(flags));
        QCOMPARE(r.text, expected);
        QCOMPARE(QList<qint64>({r.count, r.caret}), counted);
    }
};

QTEST_APPLESS_MAIN(TestMatcher)
#include "tst_matcher.moc"
