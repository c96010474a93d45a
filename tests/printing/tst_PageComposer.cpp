// What a print puts on paper: the lines of each copy (header modes, copies, line ends, empty
// text), the rows a line takes (tabs, carriage returns, long lines cut or wrapped, characters
// outside the first plane) and how rows fall on pages.
#include "printing/PageComposer.h"

#include <QtTest>

using namespace tarmel::printing;

namespace {

// Lines shown as "a|b|<CR>", copies separated by " # ".
QString shown(const QList<QStringList> &copies)
{
    QStringList out;
    for (QStringList lines : copies) {
        lines.replaceInStrings(QStringLiteral("\r"), QStringLiteral("<CR>"));
        out << lines.join(QLatin1Char('|'));
    }
    return out.join(QStringLiteral(" # "));
}

// Every character is one unit wide, but "W" is two and "i" half of one.
double unitAdvance(QStringView c)
{
    if (c == u"W")
        return 2;
    if (c == u"i")
        return 0.5;
    return 1;
}

} // namespace

class TestPageComposer : public QObject {
    Q_OBJECT
private slots:
    void copies_data();
    void copies();
    void rows_data();
    void rows();
    void pages_data();
    void pages();
};

void TestPageComposer::copies_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("headerOption");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("copies");
    QTest::addColumn<QString>("expected");
    const QString path = QStringLiteral("/home/op/pièces/bride.iso");
    const auto row = [](const char *name, const char *text, int header, const QString &caption, int copies,
                        const char *expected) {
        QTest::newRow(name) << QString::fromUtf8(text) << header << caption << copies << QString::fromUtf8(expected);
    };
    row("mode 0: folder and file", "N10\r\nN20", 0, path, 1, "||Programme : /home/op/pièces/bride.iso|<CR>|N10|N20");
    row("mode 1: file only", "N10", 1, path, 1, "||Programme : bride.iso|<CR>|N10");
    row("mode 2: no header, the CR line stays", "N10", 2, path, 1, "||<CR>|N10");
    row("mode 3 behaves as 0", "N10", 3, path, 1, "||Programme : /home/op/pièces/bride.iso|<CR>|N10");
    row("negative mode behaves as 0", "N10", -1, path, 1, "||Programme : /home/op/pièces/bride.iso|<CR>|N10");
    row("new document: its caption", "N10", 1, QStringLiteral("Nouveau.iso"), 1, "||Programme : Nouveau.iso|<CR>|N10");
    row("caption without folder, mode 0", "N10", 0, QStringLiteral("Nouveau.iso"), 1, "||Programme : Nouveau.iso|<CR>|N10");
    row("no copy", "N10", 0, path, 0, "");
    row("negative copies", "N10", 0, path, -2, "");
    row("three copies: only the first has two empty lines", "N10", 1, path, 3,
        "||Programme : bride.iso|<CR>|N10 # |Programme : bride.iso|<CR>|N10 # |Programme : bride.iso|<CR>|N10");
    row("empty text: one empty line", "", 2, path, 1, "||<CR>|");
    row("final line end: a last empty line", "N10\r\n", 2, path, 1, "||<CR>|N10|");
    row("LF and lone CR end lines too", "a\nb\rc\r\n\r\nd", 2, path, 1, "||<CR>|a|b|c||d");
    row("CR LF is one line end", "a\r\n\nb", 2, path, 1, "||<CR>|a||b");
    row("tabs and accents untouched", "N10\tG1 É€", 2, path, 1, "||<CR>|N10\tG1 É€");
}

void TestPageComposer::copies()
{
    QFETCH(QString, text);
    QFETCH(int, headerOption);
    QFETCH(QString, caption);
    QFETCH(int, copies);
    QFETCH(QString, expected);
    QCOMPARE(shown(printedCopies(text, headerOption, caption, copies)), expected);
}

void TestPageComposer::rows_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("tabWidth");
    QTest::addColumn<bool>("cut");
    QTest::addColumn<QString>("expected"); // rows joined by "|"
    const auto row = [](const char *name, const QString &line, double width, int tab, bool cut, const QString &exp) {
        QTest::newRow(name) << line << width << tab << cut << exp;
    };
    row("fits", QStringLiteral("N10 G1"), 6, 8, false, QStringLiteral("N10 G1"));
    row("empty line is one empty row", QString(), 6, 8, false, QString());
    row("wrapped at the edge", QStringLiteral("abcdefgh"), 3, 8, false, QStringLiteral("abc|def|gh"));
    row("cut at the edge", QStringLiteral("abcdefgh"), 3, 8, true, QStringLiteral("abc"));
    row("exactly the width: one row", QStringLiteral("abc"), 3, 8, false, QStringLiteral("abc"));
    row("wide characters count their width", QStringLiteral("WWab"), 4, 8, false, QStringLiteral("WW|ab"));
    row("narrow characters count theirs", QStringLiteral("iiiiiiab"), 4, 8, false, QStringLiteral("iiiiiia|b"));
    row("a character wider than the page still prints", QStringLiteral("WW"), 1, 8, false, QStringLiteral("W|W"));
    row("tab to the next stop", QStringLiteral("ab\tc"), 80, 4, false, QStringLiteral("ab  c"));
    row("tab on a stop moves a whole width", QStringLiteral("abcd\te"), 80, 4, false, QStringLiteral("abcd    e"));
    row("tabs at 8", QStringLiteral("\tx\ty"), 80, 8, false, QStringLiteral("        x       y"));
    row("tab width 0 counts as 1", QStringLiteral("a\tb"), 80, 0, false, QStringLiteral("a b"));
    row("expanded tabs wrap as blanks", QStringLiteral("\tab"), 3, 2, false, QStringLiteral("  a|b"));
    row("carriage-return line prints nothing", QStringLiteral("\r"), 6, 8, false, QString());
    row("surrogate pair never split", QStringLiteral("a\U0001D11Eb"), 1, 8, false,
        QStringLiteral("a|\U0001D11E|b"));
    row("Windows-1252 characters kept", QStringLiteral("É€Øœ"), 2, 8, false, QStringLiteral("É€|Øœ"));
}

void TestPageComposer::rows()
{
    QFETCH(QString, line);
    QFETCH(double, width);
    QFETCH(int, tabWidth);
    QFETCH(bool, cut);
    QFETCH(QString, expected);
    PageMetrics m;
    m.width = width;
    m.height = 100;
    m.tabWidth = tabWidth;
    m.longLines = cut ? LongLines::Cut : LongLines::Wrap;
    QCOMPARE(rowsOf(line, m, unitAdvance).join(QLatin1Char('|')), expected);
}

void TestPageComposer::pages_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<double>("height");
    QTest::addColumn<double>("lineHeight");
    QTest::addColumn<QString>("expected"); // pages joined by " / ", rows by "|"
    const QStringList five{"1", "2", "3", "4", "5"};
    QTest::newRow("one page") << five << 50.0 << 10.0 << "1|2|3|4|5";
    QTest::newRow("bottom reached: new page") << five << 40.0 << 10.0 << "1|2|3|4 / 5";
    QTest::newRow("partial line space is no line") << five << 29.9 << 10.0 << "1|2 / 3|4 / 5";
    QTest::newRow("exactly full: no empty page after") << QStringList{"1", "2"} << 20.0 << 10.0 << "1|2";
    QTest::newRow("wrapped rows take their own lines") << QStringList{"abcdefgh", "x"} << 20.0 << 10.0
                                                        << "abcdef|gh / x";
    QTest::newRow("no lines: one empty page") << QStringList{} << 20.0 << 10.0 << "";
    QTest::newRow("page lower than a line: a line a page") << QStringList{"1", "2"} << 5.0 << 10.0 << "1 / 2";
    QTest::newRow("no line height: a line a page") << QStringList{"1", "2"} << 50.0 << 0.0 << "1 / 2";
    QTest::newRow("CR line keeps its place") << QStringList{"", "\r", "a"} << 20.0 << 10.0 << "| / a";
}

void TestPageComposer::pages()
{
    QFETCH(QStringList, lines);
    QFETCH(double, height);
    QFETCH(double, lineHeight);
    QFETCH(QString, expected);
    PageMetrics m;
    m.width = 6;
    m.height = height;
    m.lineHeight = lineHeight;
    QStringList shownPages;
    for (const QStringList &page : composePages(lines, m, unitAdvance))
        shownPages << page.join(QLatin1Char('|'));
    QCOMPARE(shownPages.join(QStringLiteral(" / ")), expected);
}

QTEST_GUILESS_MAIN(TestPageComposer)
#include "tst_PageComposer.moc"
