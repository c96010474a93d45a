#pragma once
// Small rules of the numbering panels: the step field, the start number of a renumbering, and the
// numbers that automatic numbering inserts on Enter.

#include "numbering/Renumber.h"

#include <QString>
#include <QStringView>

namespace numbering {

// Numeric value of a field's text: leading blanks, an optional sign, then the digits up to the first
// other character. No digits (an empty field included) gives 0; values beyond 64 bits saturate.
qint64 fieldNumericValue(QStringView text);

// Outcome of one change of the step field.
struct StepFieldResult {
    qint64 value = 0;      // the step after clamping: 0 (start disabled) or 1..50
    QString message;       // texts::stepMinimum() / texts::stepMaximum(), or empty for no message
    QString fieldText;     // what the field shows afterwards: value as digits
    bool startEnabled = false;
};

// value := numeric value; < 0 -> 1 with the minimum message; > 50 -> 50 with the maximum message;
// written back as digits; start enabled when the value is above 0. validateStep(r.fieldText) gives
// r again without a message, so writing the text back into the field settles at once.
StepFieldResult validateStep(const QString &fieldText);

inline constexpr qint64 MinimumStep = 1;
inline constexpr qint64 MaximumStep = 50;
inline constexpr qint64 DefaultNumber = 10; // step, start number and increment when 0 or never set

// The step shown when the renumbering panel opens: 0 (never set) becomes 10.
qint64 stepOnOpening(qint64 step);

// First number of a renumbering from the "Premier numéro :" field: the step when the field holds no
// number (empty, blanks, or a negative value pasted in), else its value.
qint64 renumberStartNumber(const QString &startFieldText, qint64 step);

// Automatic numbering.
// The text inserted on Enter: "N10 " or "10 " (decimal digits, no leading zero, one blank). A negative
// number, which only pasted text can produce, keeps its minus sign.
QString autoNumberText(qint64 number, NumberForm form);
// The number after an insertion (saturates instead of wrapping).
qint64 nextAutoNumber(qint64 current, qint16 increment);
// Start field: its numeric value, empty -> 0, no range check.
qint64 autoStartFieldValue(const QString &fieldText);
// Increment field: its numeric value converted to 16 bits (saturating), empty -> 0, no range check.
qint16 autoIncrementFieldValue(const QString &fieldText);
// Values shown when the panel opens: 0 (or never set) becomes 10.
qint64 autoStartOnOpening(qint64 next);
qint16 autoIncrementOnOpening(qint16 increment);

} // namespace numbering
