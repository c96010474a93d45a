#pragma once
// What a print puts on paper, without any printer: the lines each copy gives the printer
// (leading empty lines, the header, the carriage-return line, the text) and how those lines
// fall on pages of a given size in a given font.

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

namespace tarmel::printing {

// The header line for HeaderOption: 1 "Programme : " and the file name, 2 none, 0 and any
// other value "Programme : " and the whole caption (the document's full path).
std::optional<QString> headerLine(int headerOption, const QString &caption);

// Every copy's lines, in the order the printer receives them: the empty line that starts the
// document (first copy only), an empty line, the header (when there is one), a line holding a
// carriage return, then the text split at its line ends (CR LF, LF or CR), the last piece
// included: a text ending with a line end gives a last empty line. No copy at all when copies
// is below 1.
QList<QStringList> printedCopies(QStringView text, int headerOption, const QString &caption, int copies);

enum class LongLines { Wrap, Cut };

// A page and its font, in device units.
struct PageMetrics {
    double width = 0;      // printable width
    double height = 0;     // printable height
    double lineHeight = 1; // from one line to the next
    int tabWidth = 8;      // columns
    LongLines longLines = LongLines::Wrap;
};

// The advance of one character (one UTF-16 unit, or a surrogate pair) in the print font.
using CharAdvance = std::function<double(QStringView)>;

// Lines that fit on a page: at least one, whatever the sizes.
int linesPerPage(const PageMetrics &metrics);

// The pages of one copy. Each line becomes rows: tabs expanded, carriage returns dropped (they
// print nothing), then cut at the right edge or wrapped onto further rows; a row holds at least
// one character, so a character wider than the page still prints. Rows follow one another, a
// new page whenever the bottom is reached. No lines at all still give one page (a copy is never
// an empty job).
QList<QStringList> composePages(const QStringList &lines, const PageMetrics &metrics, const CharAdvance &advance);

} // namespace tarmel::printing
