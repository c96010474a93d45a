// The NC tokenizer line by line: which bytes make which token, the values of words, and the line
// splitter with every kind of line end.
#include "checks/NcLines.h"
#include "checks/NcTokenizer.h"

#include <QtTest>

#include <cmath>

using namespace tarmel;

namespace {

const char *kindName(NcTokenKind kind)
{
    static const char *const names[] = {"def", "del", "num", "g", "m", "axis", "fs", "tool", "word", "com", "pct", "name", "var"};
    return names[int(kind)];
}

// "kind[letter]'bytes'" for each token, joined by blanks.
QByteArray describe(std::string_view line)
{
    std::vector<NcToken> tokens{{NcTokenKind::Comment, 'Q', 99, 1}}; // must be cleared
    tokenizeNcLine(line, tokens);
    QByteArray text;
    int previousEnd = 0;
    for (const NcToken &t : tokens) {
        if (t.start < previousEnd || t.length <= 0 || t.start + t.length > int(line.size()))
            return "overlap or out of the line at " + QByteArray::number(t.start);
        previousEnd = t.start + t.length;
        if (!text.isEmpty())
            text += ' ';
        text += kindName(t.kind);
        if (t.letter)
            text += '[' + QByteArray(1, t.letter) + ']';
        text += '\'' + QByteArray(line.data() + t.start, t.length) + '\'';
    }
    return text;
}

} // namespace

class TestNcTokenizer : public QObject {
    Q_OBJECT
private slots:
    void tokens_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("expected");
        const auto row = [](const char *name, QByteArray line, QByteArray expected) {
            QTest::newRow(name) << line << expected;
        };
        row("empty", "", "");
        row("blanks only", " \t ", "");
        row("a plain block", "N10 G01 X-12.5 Y.5 Z5. F100 S2000 T1 D1 H2 M03",
            "num[N]'N10' g[G]'G01' axis[X]'X-12.5' axis[Y]'Y.5' axis[Z]'Z5.' fs[F]'F100' fs[S]'S2000' "
            "tool[T]'T1' tool[D]'D1' tool[H]'H2' m[M]'M03'");
        row("every axis letter", "A1B2C3U4V5W6I7J8K9R0",
            "axis[A]'A1' axis[B]'B2' axis[C]'C3' axis[U]'U4' axis[V]'V5' axis[W]'W6' axis[I]'I7' axis[J]'J8' "
            "axis[K]'K9' axis[R]'R0'");
        row("other letters", "G65 P9010 Q2 L3 E1", "g[G]'G65' word[P]'P9010' word[Q]'Q2' word[L]'L3' word[E]'E1'");
        row("N later in the block is a word", "G1 N20", "g[G]'G1' word[N]'N20'");
        row("N after a comment numbers the block", "(op 1) N20", "com'(op 1)' num[N]'N20'");
        row("block delete", "/N10 G0", "del'/' num[N]'N10' g[G]'G0'");
        row("block delete with a level", " /2 N10", "del'/2' num[N]'N10'");
        row("/ later is no block delete", "X1 / 2", "axis[X]'X1' def'/' def'2'");
        row("letter without a value", "G1 X Y2", "g[G]'G1' axis[X]'X' axis[Y]'Y2'");
        row("sign without digits", "X- Y+", "axis[X]'X-' axis[Y]'Y+'");
        row("second point ends the word", "X1.2.3", "axis[X]'X1.2' def'.3'");
        row("comment in parentheses", "G0 (go home) X0", "g[G]'G0' com'(go home)' axis[X]'X0'");
        row("nested comment", "(a (b) c) M30", "com'(a (b) c)' m[M]'M30'");
        row("open comment runs to the end", "G1 (open X1", "g[G]'G1' com'(open X1'");
        row("semicolon comment", "G1 X1 ; fin (x", "g[G]'G1' axis[X]'X1' com'; fin (x'");
        row("semicolon inside parentheses", "(a;b) G1", "com'(a;b)' g[G]'G1'");
        row("stray closing parenthesis", "G1) X", "g[G]'G1' def')' axis[X]'X'");
        row("percent and a name", "%_N_MAIN_MPF ", "pct'%' name'_N_MAIN_MPF'");
        row("percent, name and comment", "% O1000 (part)", "pct'%' name'O1000' com'(part)'");
        row("O number at the line start", "O1234 (prog)", "name'O1234' com'(prog)'");
        row("colon number at the line start", ":0042", "name':0042'");
        row("O later is a word", "M98 O12", "m[M]'M98' word[O]'O12'");
        row("keywords are no words", "IF [#1 EQ 2] GOTO 10", "def'IF' var'[#1 EQ 2]' def'GOTO' def'10'");
        row("numbered variables and assignment", "#100=#101+2", "var'#100' var'=' var'#101' def'+2'");
        row("named variable", "#<depth> = 2", "var'#<depth>' var'=' def'2'");
        row("word with an expression", "X[#1*2]", "axis[X]'X' var'[#1*2]'");
        row("parameter word", "R1=5", "axis[R]'R1' var'=' def'5'");
        row("accented bytes are default", "G1 \xC3\xA9t\xC3\xA9", "g[G]'G1' def'\xC3\xA9' tool[T]'t' def'\xC3\xA9'");
        row("blank before a number", "G3 I -20 J 5.", "g[G]'G3' axis[I]'I -20' axis[J]'J 5.'");
        row("blank before no number", "X - Y", "axis[X]'X' def'-' axis[Y]'Y'");
        row("message in quotes", "MSG(\"Z- fin\") X1", "def'MSG' com'(\"Z- fin\")' axis[X]'X1'");
        row("bare message", "errmsg \"Z- X\" G1", "def'errmsg' com'\"Z- X\"' g[G]'G1'");
        row("names with underscores and digits", "E_MULTIPLIER = 1 sub x_plus R_2", "def'E_MULTIPLIER' var'=' def'1' def'sub' def'x_plus' def'R_2'");
        row("named o-word", "O<cone> sub", "name'O<cone>' def'sub'");
        row("named o-word after a number", "N10 o<cone> call", "num[N]'N10' def'o<cone>' def'call'");
    }

    void tokens()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, expected);
        QCOMPARE(describe(std::string_view(line.constData(), line.size())), expected);
    }

    void values()
    {
        const std::tuple<QByteArray, bool, double> rows[] = {
            {"X-12.5", true, -12.5}, {"Y.5", true, 0.5}, {"G01", true, 1.0}, {"X0.001", true, 0.001},
            {"X0.3", true, 0.3}, // tenths are rounded once
            {"X1.2345678901234567890123", true, 1.2345678901234567}, {"X123456789012345678", true, 123456789012345678.0},
            {"X", false, 0.0}, {"X-", false, 0.0}, {"I -20", true, -20.0}};
        for (const auto &[word, present, value] : rows) {
            const std::string_view line(word.constData(), word.size());
            std::vector<NcToken> tokens;
            tokenizeNcLine(line, tokens);
            QCOMPARE(tokens.size(), std::size_t(1));
            const std::optional<double> got = ncWordValue(line, tokens[0]);
            QCOMPARE(got.has_value(), present);
            QVERIFY2(got.value_or(0.0) == value, word); // exactly: the nearest double
        }
    }

    void lines()
    {
        const std::pair<QByteArray, QByteArrayList> rows[] = {
            {"", {}}, {"G1", {"G1"}}, {"G1\r\n", {"G1"}}, // a final line end adds no line
            {"a\r\nb\r\nc", {"a", "b", "c"}}, {"a\rb", {"a", "b"}}, {"a\n\rb", {"a", "", "b"}}, // LF CR is two ends
            {"\r\n\n\r", {"", "", ""}}};
        for (const auto &[text, expected] : rows) {
            QByteArrayList got;
            forEachNcLine(std::string_view(text.constData(), text.size()), [&](int index, std::string_view line) {
                QCOMPARE(index, int(got.size()));
                got.append(QByteArray(line.data(), qsizetype(line.size())));
            });
            QCOMPARE(got, expected);
        }
    }
};


QTEST_APPLESS_MAIN(TestNcTokenizer)
#include "tst_NcTokenizer.moc"
