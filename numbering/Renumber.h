#pragma once
// Renumbering of the block numbers of a whole program text, in one pass over the text.
//
// Lines
//   The text is cut at every line end it holds: CR LF, a lone LF or a lone CR. Each line keeps its own
//   line end, so joining gives back every byte that is not part of a block number. Whole-text runs keep
//   two rules of the program: blanks (char 32) at the end of the last line are removed, and a text
//   without any line end also loses the leading blanks of its single line. Selection-only runs change
//   nothing but the numbers of the lines they renumber.
//
// Numbered lines
//   Form WithN ("Nxxxx"): the line starts with N or n, or with "/N" or "/n", and the character after
//   the N is not a letter or an underscore (so labels and words such as "NINE:" or "NOT" are left
//   alone). The old number is the whole run of digits after the N (possibly empty).
//     N...   -> "N" + new + rest, with one blank inserted when the rest does not begin with a blank
//     /N...  -> "/N" + new + rest, never a blank inserted
//   Form DigitsOnly ("xxxx"): the line starts with a digit; the old number is the whole leading run of
//   digits; new + rest, with one blank inserted when the rest does not begin with a blank.
//   Any other line (empty, leading blanks, "%", "(", ";" ...) is left as it is and does not move the
//   counter. Numbers run start, start + step, ... over the renumbered lines only.
//
// Jump targets (option updateJumps, off by default)
//   Block numbers used as jump targets are rewritten to the new number of the block they point to:
//     GOTO n, GOTOB n, GOTOF n, GOTOC n   (Sinumerik, Fanuc macro GOTO)
//     M97 ... Pn                          (Haas local subprogram call: P names a block of this program)
//     M98 ... Hn                          (call of a block of this program by its number; only when
//                                          the line has no P word: with P, H names a block of the
//                                          called program, which this text does not hold)
//   Tokens:
//   - keywords and address letters in either case; GOTO/GOTOB/GOTOF/GOTOC must not follow a letter or
//     an underscore (a digit may precede it: "N70GOTOF 90"); blanks or tabs may stand between the
//     keyword and its target; the target is digits, optionally written "N" + digits ("GOTOF N90"), and
//     must not run on into a letter, digit, underscore or '.' (labels, variables such as #10 and
//     expressions are not block numbers and are neither rewritten nor counted);
//   - M97 / M98 are M words whose value is 97 / 98 (leading zeros allowed, "M097"), not preceded by a
//     letter; the first P (for M97) or H (for M98) word of the same line, before or after the M word,
//     written as the letter directly followed by digits, is the target;
//   - nothing inside a comment is read: "(" to ")" or to the line end, ";" to the line end, and text in
//     double quotes (messages) is skipped as well;
//   - only the digits are rewritten; "N", blanks and everything around them stay as they are.
//   The old -> new mapping is the one of this run. Numbers are compared by value (N0090 and GOTO 90 are
//   the same block). When several blocks carry the same old number, a target points to the first of
//   them in the text. Lines that the run does not renumber (outside the selection) keep their number,
//   so a target pointing to them is found and stays as it is. Jump targets are updated in the whole
//   text, selection or not, since a jump from outside the selection may point into it. A target whose
//   number no block carries is left as it is and counted in targetsNotFound.
//
// Progress
//   The callback gets (done, total) in code units of the text (total covers two passes when jumps are
//   updated). It is called at most once every few milliseconds, and once at the end with done == total.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

namespace numbering {

enum class NumberForm {
    WithN,      // "Nxxxx"
    DigitsOnly, // "xxxx"
};

struct RenumberOptions {
    NumberForm form = NumberForm::WithN;
    qint64 step = 10;                 // at least 1
    std::optional<qint64> start;      // first number given; the step when empty; at least 0
    bool selectionOnly = false;       // renumber only numbered lines touched by [selectionFrom, selectionTo)
    qint64 selectionFrom = 0;         // code units of the text: bytes for UTF-8, UTF-16 units for QString
    qint64 selectionTo = 0;           // a line is touched when the range meets the line or its line end;
                                      // an empty range touches no line
    bool updateJumps = false;
    std::function<void(qint64 done, qint64 total)> progress;
};

enum class RenumberStatus {
    Done,
    InvalidStep,    // step < 1: nothing was changed
    InvalidStart,   // start < 0: nothing was changed
    NumberOverflow, // the numbers would exceed the 64-bit range: nothing was changed
};

struct RenumberCounts {
    qint64 lines = 0;            // lines of the text (a text always has at least one line)
    qint64 linesRenumbered = 0;  // lines that received a new number
    qint64 jumpsUpdated = 0;     // jump targets found; each now carries its block's current number
    qint64 targetsNotFound = 0;  // jump targets whose number no block carries (left as they are)
};

struct RenumberBytesResult {
    RenumberStatus status = RenumberStatus::Done;
    QByteArray text; // the new text; a copy of the input when status is not Done
    RenumberCounts counts;
};

struct RenumberStringResult {
    RenumberStatus status = RenumberStatus::Done;
    QString text;
    RenumberCounts counts;
};

// Renumbers UTF-8 (or any ASCII-compatible single-byte) text. Positions are byte offsets.
RenumberBytesResult renumberUtf8(QByteArrayView text, const RenumberOptions &options);

// Renumbers a QString. Positions are UTF-16 offsets, as the editing area's selection counts them.
RenumberStringResult renumberString(QStringView text, const RenumberOptions &options);

} // namespace numbering
