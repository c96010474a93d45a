// Syntax colouring: one text-colour indicator whose value is the colour, laid over the
// lines on screen just before they are drawn. The character formats stay in the styles,
// so fonts, sizes, bold and italic are drawn as they are.
#include "platform/ScintillaEditor.h"

namespace platform {

namespace {

// Lines longer than this are coloured over their start only: a line of megabytes would
// otherwise be read at every repaint.
constexpr qsizetype MaxColouredLine = 1 << 16;

long engineColour(QRgb rgb) { return long(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16)); }

} // namespace

void ScintillaEditor::setLineColourer(LineColourer colourer)
{
    SendScintilla(SCI_INDICSETSTYLE, ColourIndicator, long(INDIC_TEXTFORE));
    SendScintilla(SCI_INDICSETFLAGS, ColourIndicator, long(SC_INDICFLAG_VALUEBEFORE)); // colour = value
    colourer_ = std::move(colourer);
    colourDirty_ = true;
    colouredFrom_ = colouredTo_ = -1;
    if (!colourer_) {
        SendScintilla(SCI_SETINDICATORCURRENT, static_cast<unsigned long>(ColourIndicator));
        SendScintilla(SCI_INDICATORCLEARRANGE, 0UL, long(byteLength()));
    }
    viewport()->update();
}

// The lines on screen get their colours again when the text changed or they are other
// lines than last time; otherwise nothing is done, so a repaint costs nothing more.
void ScintillaEditor::colourVisibleLines()
{
    if (!colourer_)
        return;
    const long firstVisible = SendScintilla(SCI_GETFIRSTVISIBLELINE);
    const long onScreen = SendScintilla(SCI_LINESONSCREEN) + 1;
    const long firstLine = SendScintilla(SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(firstVisible));
    const long lastLine = std::min<long>(
        SendScintilla(SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(firstVisible + onScreen)),
        SendScintilla(SCI_GETLINECOUNT) - 1);
    const qsizetype from = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(firstLine));
    const qsizetype to = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(lastLine));
    if (!colourDirty_ && from == colouredFrom_ && to == colouredTo_)
        return;
    colourDirty_ = false;
    colouredFrom_ = from;
    colouredTo_ = to;

    SendScintilla(SCI_SETINDICATORCURRENT, static_cast<unsigned long>(ColourIndicator));
    SendScintilla(SCI_INDICATORCLEARRANGE, static_cast<unsigned long>(from), long(to - from));
    for (long line = firstLine; line <= lastLine; ++line) {
        const qsizetype start = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
        const qsizetype end = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
        const qsizetype length = std::min(end - start, MaxColouredLine);
        if (length <= 0)
            continue;
        const char *bytes = rangePointer(start, length);
        colourRuns_.clear();
        colourer_(std::string_view(bytes, std::size_t(length)), colourRuns_);
        for (const ColourRun &run : colourRuns_) {
            if (run.length <= 0 || run.start < 0 || run.start + run.length > length)
                continue;
            SendScintilla(SCI_SETINDICATORVALUE, static_cast<unsigned long>(SC_INDICVALUEBIT | engineColour(run.colour)));
            SendScintilla(SCI_INDICATORFILLRANGE, static_cast<unsigned long>(start + run.start), long(run.length));
        }
    }
}

} // namespace platform
