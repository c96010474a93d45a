#include "commands/DateFormats.h"

namespace tarmel {

namespace {

bool isFrench(const QLocale &locale) { return locale.language() == QLocale::French; }

// Removes the time-zone field ("t" to "tttt") of a time pattern, with the blank or comma
// that separates it and brackets around it: "HH:mm:ss t", "h:mm:ss AP, t", "H:mm:ss (t)",
// "t HH:mm:ss". Quoted text is left alone.
QString withoutTimeZone(const QString &pattern)
{
    QString out;
    bool quoted = false;
    const qsizetype n = pattern.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = pattern[i];
        if (c == u'\'') {
            quoted = !quoted;
            out += c;
            continue;
        }
        if (quoted || c != u't') {
            out += c;
            continue;
        }
        while (i + 1 < n && pattern[i + 1] == u't')
            ++i;
        if (!out.isEmpty() && i + 1 < n) {
            const QChar open = out.back();
            const QChar close = pattern[i + 1];
            if ((open == u'(' && close == u')') || (open == u'[' && close == u']')) {
                out.chop(1);
                ++i;
            }
        }
        while (!out.isEmpty() && (out.back().isSpace() || out.back() == u','))
            out.chop(1);
        if (out.isEmpty()) {
            while (i + 1 < n && pattern[i + 1].isSpace())
                ++i;
        }
    }
    return out.trimmed();
}

// Widens a two-digit year field ("yy") to four digits; quoted text is left alone.
QString withFourDigitYear(const QString &pattern)
{
    QString out;
    bool quoted = false;
    const qsizetype n = pattern.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = pattern[i];
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u'y') {
            out += c;
            continue;
        }
        qsizetype run = 1;
        while (i + 1 < n && pattern[i + 1] == u'y') {
            ++i;
            ++run;
        }
        out += QString(run == 2 ? 4 : run, u'y');
    }
    return out;
}

bool isMidnight(const QTime &time)
{
    return time.hour() == 0 && time.minute() == 0 && time.second() == 0;
}

} // namespace

QString shortDatePattern(const QLocale &locale)
{
    return withFourDigitYear(locale.dateFormat(QLocale::ShortFormat));
}

QString longTimePattern(const QLocale &locale)
{
    if (isFrench(locale))
        return QStringLiteral("HH:mm:ss");
    return withoutTimeZone(locale.timeFormat(QLocale::LongFormat));
}

QString longDatePattern(const QLocale &locale)
{
    if (isFrench(locale))
        return QStringLiteral("dddd d MMMM yyyy");
    return locale.dateFormat(QLocale::LongFormat);
}

QString generalDateText(const QDateTime &moment, const QLocale &locale)
{
    const QString date = shortDateText(moment, locale);
    if (isMidnight(moment.time()))
        return date;
    return date + u' ' + longTimeText(moment, locale);
}

QString shortDateText(const QDateTime &moment, const QLocale &locale)
{
    return locale.toString(moment.date(), shortDatePattern(locale));
}

QString longTimeText(const QDateTime &moment, const QLocale &locale)
{
    return locale.toString(moment.time(), longTimePattern(locale));
}

QString longDateText(const QDateTime &moment, const QLocale &locale)
{
    return locale.toString(moment.date(), longDatePattern(locale));
}

QString dayMonthYearText(const QDateTime &moment, const QLocale &locale)
{
    return locale.toString(moment.date(), QStringLiteral("d.MMM yyyy"));
}

QString dateEntryText(int entry, const QDateTime &moment, const QLocale &locale)
{
    switch (entry) {
    case 1: return generalDateText(moment, locale);
    case 2: return shortDateText(moment, locale);
    case 3: return longTimeText(moment, locale);
    case 4: return longDateText(moment, locale);
    case 5: return dayMonthYearText(moment, locale);
    default: return QString();
    }
}

} // namespace tarmel
