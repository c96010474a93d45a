// Syntax colouring: one text-colour indicator whose value is the colour, laid over the
// lines on screen. The character formats stay in the styles, so fonts, sizes, bold and
// italic are drawn as they are. Lines are coloured when they come on screen (just before
// they are drawn) and when they change (right after the change, so that the colours go
// into the same drawing as the change itself).
#include "platform/ScintillaEditor.h"

#include <algorithm>

namespace platform {

namespace {

// Lines longer than this are coloured over their start only: a line of megabytes would
// otherwise be read at every change.
constexpr qsizetype MaxColouredLine = 1 << 16;

long engineColour(QRgb rgb) { return long(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16)); }

} // namespace

void ScintillaEditor::setLineColourer(LineColourer colourer)
{
    SendScintilla(SCI_INDICSETSTYLE, ColourIndicator, long(INDIC_TEXTFORE));
    SendScintilla(SCI_INDICSETFLAGS, ColourIndicator, long(SC_INDICFLAG_VALUEBEFORE)); // colour = value
    colourer_ = std::move(colourer);
    colourAll_ = true;
    coloured_ = {};
    if (!colourer_) {
        SendScintilla(SCI_SETINDICATORCURRENT, static_cast<unsigned long>(ColourIndicator));
        SendScintilla(SCI_INDICATORCLEARRANGE, 0UL, long(byteLength()));
    }
    viewport()->update();
}

ScintillaEditor::VisibleLines ScintillaEditor::visibleLines() const
{
    const long firstVisible = SendScintilla(SCI_GETFIRSTVISIBLELINE);
    const long onScreen = SendScintilla(SCI_LINESONSCREEN) + 1;
    VisibleLines lines;
    lines.first = SendScintilla(SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(firstVisible));
    lines.last = std::min<long>(SendScintilla(SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(firstVisible + onScreen)),
                                SendScintilla(SCI_GETLINECOUNT) - 1);
    return lines;
}

// The changed bytes, kept as one range that covers every change since the last colouring
// (the events come before each change, so the range is moved as the text moves).
void ScintillaEditor::noteColourChange(bool insert, qsizetype pos, qsizetype length)
{
    if (!colourer_ || colourAll_)
        return;
    if (insert) {
        if (changedFrom_ >= 0 && changedTo_ >= pos)
            changedTo_ += length;
        changedFrom_ = changedFrom_ < 0 ? pos : std::min(changedFrom_, pos);
        changedTo_ = std::max(changedTo_, pos + length);
        return;
    }
    const qsizetype end = pos + length;
    const auto moved = [&](qsizetype x) { return x <= pos ? x : x >= end ? x - length : pos; };
    changedFrom_ = changedFrom_ < 0 ? pos : std::min(moved(changedFrom_), pos);
    changedTo_ = std::max(changedTo_ < 0 ? pos : moved(changedTo_), pos);
}

// Lines that came on screen, or a whole-text change: every line on screen again. Otherwise
// nothing is done, so a drawing that follows no change costs nothing more.
void ScintillaEditor::colourVisibleLines()
{
    if (!colourer_)
        return;
    const VisibleLines lines = visibleLines();
    if (colourAll_ || lines != coloured_) {
        colourLines(lines.first, lines.last);
        coloured_ = lines;
        colourAll_ = false;
        changedFrom_ = changedTo_ = -1;
        return;
    }
    colourChangedLines();
}

// The changed lines that are on screen, when the same lines are still on screen; the next
// drawing takes care of the rest.
void ScintillaEditor::colourChangedLines()
{
    if (!colourer_ || colourAll_ || changedFrom_ < 0)
        return;
    const VisibleLines lines = visibleLines();
    if (lines != coloured_)
        return;
    const long from = std::max<long>(lines.first, SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(changedFrom_)));
    const long to = std::min<long>(lines.last, SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(changedTo_)));
    changedFrom_ = changedTo_ = -1;
    if (from <= to)
        colourLines(from, to);
}

void ScintillaEditor::colourLines(long first, long last)
{
    const qsizetype from = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(first));
    const qsizetype to = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(last));
    SendScintilla(SCI_SETINDICATORCURRENT, static_cast<unsigned long>(ColourIndicator));
    SendScintilla(SCI_INDICATORCLEARRANGE, static_cast<unsigned long>(from), long(to - from));
    for (long line = first; line <= last; ++line) {
        const qsizetype start = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
        const qsizetype end = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
        const qsizetype length = std::min(end - start, MaxColouredLine);
        if (length <= 0)
            continue;
        const char *bytes = rangePointer(start, length);
        colourRuns_.clear();
        colourer_(std::string_view(bytes, std::size_t(length)), colourRuns_);
        widenColourRuns(std::string_view(bytes, std::size_t(length)), colourRuns_);
        for (const ColourRun &run : colourRuns_) {
            SendScintilla(SCI_SETINDICATORVALUE, static_cast<unsigned long>(SC_INDICVALUEBIT | engineColour(run.colour)));
            SendScintilla(SCI_INDICATORFILLRANGE, static_cast<unsigned long>(start + run.start), long(run.length));
        }
    }
}

// The engine draws a line one piece per colour change. Blanks show no colour, so each run
// takes the blanks that follow it, and runs of one colour that meet become one: a line of
// words is drawn in as few pieces as it has colours in a row. Runs outside the line or
// overlapping the one before are dropped.
void widenColourRuns(std::string_view line, std::vector<ColourRun> &runs)
{
    const int length = int(line.size());
    std::size_t kept = 0;
    int end = 0; // of the last run kept, before its blanks
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const ColourRun run = runs[i];
        if (run.length <= 0 || run.start < end || run.start + run.length > length)
            continue;
        if (kept > 0) {
            ColourRun &last = runs[kept - 1];
            last.length = std::min(last.length, run.start - last.start); // its blanks up to this run
            if (last.colour == run.colour && last.start + last.length == run.start)
                last.length += run.length;
            else
                runs[kept++] = run;
        } else {
            runs[kept++] = run;
        }
        end = run.start + run.length;
        int widened = end;
        while (widened < length && (line[widened] == ' ' || line[widened] == '\t'))
            ++widened;
        runs[kept - 1].length = widened - runs[kept - 1].start;
    }
    runs.resize(kept);
}

} // namespace platform
