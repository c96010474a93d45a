// What a print puts on paper: each copy's lines (header modes, copies, line ends, empty text), the
// rows a line takes (tabs, long lines cut or wrapped) and how rows fall on pages.
#include "printing/PageComposer.h"

#include <QtTest>

using namespace tarmel::printing;

class TestPageComposer : public QObject {
    Q_OBJECT
private slots:
    void copies_data();
    void copies();
    void pages_data();
    void pages();
};

void TestPageComposer::copies_data()
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

void TestPageComposer::copies()
{
    QFETCH(QString, text);
    QFETCH(int, headerOption);
    QFETCH(int, copies);
    QFETCH(QString, expected);
    QStringList shown;
    for (QStringList lines : printedCopies(text, headerOption, QStringLiteral("/op/pièces/b.iso"), copies))
        shown << lines.replaceInStrings(QStringLiteral("\r"), QStringLiteral("<CR>")).join(QLatin1Char('|'));
    QCOMPARE(shown.join(QStringLiteral(" # ")), expected);
}

void TestPageComposer::pages_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<double>("width"); // characters one unit wide, "W" two
    QTest::addColumn<double>("height"); // lines ten units high
    QTest::addColumn<bool>("cut");
    QTest::addColumn<QString>("expected"); // pages joined by " / ", rows by "|"
    const QStringList five{"1", "2", "3", "4", "5"};
    QTest::newRow("one page") << five << 9.0 << 50.0 << false << "1|2|3|4|5";
    QTest::newRow("bottom reached: new page") << five << 9.0 << 40.0 << false << "1|2|3|4 / 5";
    QTest::newRow("part of a line's height is no line") << five << 9.0 << 29.9 << false << "1|2 / 3|4 / 5";
    QTest::newRow("exactly full: no empty page") << QStringList{"1", "2"} << 9.0 << 20.0 << false << "1|2";
    QTest::newRow("no lines: one empty page") << QStringList{} << 9.0 << 20.0 << false << "";
    QTest::newRow("page lower than a line") << QStringList{"1", "2"} << 9.0 << 5.0 << false << "1 / 2";
    QTest::newRow("long line wrapped, rows on lines") << QStringList{"abcdefgh", "x"} << 3.0 << 20.0 << false
                                                      << "abc|def / gh|x";
    QTest::newRow("long line cut") << QStringList{"abcdefgh", "x"} << 3.0 << 20.0 << true << "abc|x";
    QTest::newRow("wide characters count their width") << QStringList{"WWab"} << 4.0 << 50.0 << false << "WW|ab";
    QTest::newRow("a character wider than the page prints") << QStringList{"WW"} << 1.0 << 50.0 << false << "W|W";
    QTest::newRow("tabs to stops of 8") << QStringList{"ab\tc", "abcdefg\tx", "\tx"} << 9.0 << 90.0 << false
                                        << "ab      c|abcdefg x|        x";
    QTest::newRow("CR line prints empty") << QStringList{"", "\r", "a"} << 9.0 << 20.0 << false << "| / a";
    QTest::newRow("surrogate pair never split") << QStringList{"a\U0001D11Eb"} << 1.0 << 50.0 << false
                                                << "a|\U0001D11E|b";
}

void TestPageComposer::pages()
{
    QFETCH(QStringList, lines);
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(bool, cut);
    QFETCH(QString, expected);
    const PageMetrics m{width, height, 10, 8, cut ? LongLines::Cut : LongLines::Wrap};
    QStringList shown;
    for (const QStringList &page : composePages(lines, m, [](QStringView c) { return c == u"W" ? 2.0 : 1.0; }))
        shown << page.join(QLatin1Char('|'));
    QCOMPARE(shown.join(QStringLiteral(" / ")), expected);
}

QTEST_GUILESS_MAIN(TestPageComposer)
#include "tst_PageComposer.moc"
