// What a print puts on paper: each copy's lines (header modes, copies, line ends, empty text), the
// rows a line takes (tabs, long lines cut or wrapped) and how rows fall on pages.
#include "printing/PageComposer.h"

#include <QtTest>

using namespace tarmel::printing;

class TestPageComposer : public QObject {
    Q_OBJECT
private slots:
    void copies_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("headerOption");
        QTest::addColumn<int>("copies");
        QTest::addColumn<QString>("expected"); // lines joined by "|", copies by " # ", CR shown as "<CR>"
        const auto row = [](const char *name, const char *text, int header, int copies, const char *expected) {
            QTest::newRow(name) << QString::fromUtf8(text) << header << copies << QString::fromUtf8(expected);
        };
        row("mode 0: folder and file", "N10\r\nN20", 0, 1, "||Programme : /op/pièces/b.iso|<CR>|N10|N20");
        row("mode 1: file only", "N10", 1, 1, "||Programme : b.iso|<CR>|N10");
        row("mode 2: no header, the CR line stays", "N10", 2, 1, "||<CR>|N10");
        row("other modes act as 0", "N10", 7, 1, "||Programme : /op/pièces/b.iso|<CR>|N10");
        row("no copy", "N10", 0, 0, "");
        row("three copies: only the first starts with two empty lines", "N10", 1, 3,
            "||Programme : b.iso|<CR>|N10 # |Programme : b.iso|<CR>|N10 # |Programme : b.iso|<CR>|N10");
        row("empty text: one empty line", "", 2, 1, "||<CR>|");
        row("final line end: a last empty line", "N10\r\n", 2, 1, "||<CR>|N10|");
        row("CR LF, LF and lone CR end lines", "a\nb\rc\r\n\r\nd", 2, 1, "||<CR>|a|b|c||d");
    }
    void copies()
    {
        QFETCH(QString, text);
        QFETCH(int, headerOption);
        QFETCH(int, copies);
        QStringList shown;
        for (QStringList lines : printedCopies(text, headerOption, QStringLiteral("/op/pièces/b.iso"), copies))
            shown << lines.replaceInStrings(QStringLiteral("\r"), QStringLiteral("<CR>")).join(QLatin1Char('|'));
        QTEST(shown.join(QStringLiteral(" # ")), "expected");
    }

    void pages_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<double>("width");  // characters one unit wide, "W" two
        QTest::addColumn<double>("height"); // lines ten units high
        QTest::addColumn<bool>("cut");
        QTest::addColumn<QString>("expected"); // pages joined by " / ", rows by "|"
        const auto row = [](const char *name, QStringList lines, double width, double height, const char *expected,
                            bool cut = false) { QTest::newRow(name) << lines << width << height << cut << QString::fromUtf8(expected); };
        const QStringList five{"1", "2", "3", "4", "5"};
        row("one page", five, 9, 50, "1|2|3|4|5");
        row("bottom reached: new page", five, 9, 40, "1|2|3|4 / 5");
        row("part of a line's height is no line", five, 9, 29.9, "1|2 / 3|4 / 5");
        row("exactly full: no empty page", {"1", "2"}, 9, 20, "1|2");
        row("no lines: one empty page", {}, 9, 20, "");
        row("page lower than a line", {"1", "2"}, 9, 5, "1 / 2");
        row("long line wrapped, rows on lines", {"abcdefgh", "x"}, 3, 20, "abc|def / gh|x");
        row("long line cut", {"abcdefgh", "x"}, 3, 20, "abc|x", true);
        row("wide characters count their width", {"WWab"}, 4, 50, "WW|ab");
        row("a character wider than the page prints", {"WW"}, 1, 50, "W|W");
        row("tabs to stops of 8", {"ab\tc", "abcdefg\tx", "\tx"}, 9, 90, "ab      c|abcdefg x|        x");
        row("CR line prints empty", {"", "\r", "a"}, 9, 20, "| / a");
        row("surrogate pair never split", {"a\U0001D11Eb"}, 1, 50, "a|\U0001D11E|b");
    }
    void pages()
    {
        QFETCH(QStringList, lines);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(bool, cut);
        QStringList shown;
        const PageMetrics m{width, height, 10, 8, cut ? LongLines::Cut : LongLines::Wrap};
        for (const QStringList &page : composePages(lines, m, [](QStringView c) { return c == u"W" ? 2.0 : 1.0; }))
            shown << page.join(QLatin1Char('|'));
        QTEST(shown.join(QStringLiteral(" / ")), "expected");
    }
};

QTEST_GUILESS_MAIN(TestPageComposer)
#include "tst_PageComposer.moc"
