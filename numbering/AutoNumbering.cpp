#include "numbering/AutoNumbering.h"

#include "numbering/NumberingTexts.h"

#include <limits>

namespace numbering {

qint64 fieldNumericValue(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr qint64 limit = std::numeric_limits<qint64>::max();
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        const int digit = text[i].unicode() - u'0';
        value = value > (limit - digit) / 10 ? limit : value * 10 + digit;
    }
    return negative ? -value : value;
}

StepFieldResult validateStep(const QString &fieldText)
{
    StepFieldResult r;
    r.value = fieldNumericValue(fieldText);
    if (r.value < 0) {
        r.value = MinimumStep;
        r.message = texts::stepMinimum();
    } else if (r.value > MaximumStep) {
        r.value = MaximumStep;
        r.message = texts::stepMaximum();
    }
    r.fieldText = QString::number(r.value);
    r.startEnabled = r.value > 0;
    return r;
}

qint64 stepOnOpening(qint64 step)
{
    return step == 0 ? DefaultNumber : step;
}

qint64 renumberStartNumber(const QString &startFieldText, qint64 step)
{
    const QString trimmed = startFieldText.trimmed();
    const bool hasNumber = !trimmed.isEmpty() && (trimmed[0].isDigit() || trimmed[0] == u'+');
    const qint64 value = fieldNumericValue(trimmed);
    return hasNumber && value >= 0 ? value : step;
}

QString autoNumberText(qint64 number, NumberForm form)
{
    const QString digits = QString::number(number);
    return form == NumberForm::WithN ? QLatin1Char('N') + digits + QLatin1Char(' ') : digits + QLatin1Char(' ');
}

qint64 nextAutoNumber(qint64 current, qint16 increment)
{
    qint64 next = 0;
    if (!__builtin_add_overflow(current, qint64(increment), &next))
        return next;
    return increment > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
}

qint64 autoStartFieldValue(const QString &fieldText)
{
    return fieldNumericValue(fieldText);
}

qint16 autoIncrementFieldValue(const QString &fieldText)
{
    const qint64 v = fieldNumericValue(fieldText);
    constexpr qint64 low = std::numeric_limits<qint16>::min();
    constexpr qint64 high = std::numeric_limits<qint16>::max();
    return qint16(v < low ? low : v > high ? high : v);
}

qint64 autoStartOnOpening(qint64 next)
{
    return next == 0 ? DefaultNumber : next;
}

qint16 autoIncrementOnOpening(qint16 increment)
{
    return increment == 0 ? qint16(DefaultNumber) : increment;
}

} // namespace numbering
