#pragma once
#include <QDateTime>
#include <QLocale>
#include <QString>

namespace tarmel {

// The five date and time texts that the "Insérer Date / Heure" entries insert and show as
// their captions, in a given locale.
//
// Patterns: French (every territory) uses "HH:mm:ss" for the long time and
// "dddd d MMMM yyyy" for the long date, written out because the locale's long formats carry
// a time zone. Other locales use their own long formats with any time-zone field removed.
// The short date is the locale's short format with a two-digit year widened to four digits
// ("M/d/yy" -> "M/d/yyyy"; French "dd/MM/yyyy" as it is), as desktop short dates show.

QString shortDatePattern(const QLocale &locale);
QString longTimePattern(const QLocale &locale);
QString longDatePattern(const QLocale &locale);

// D1: short date, a blank, long time; the date alone when the time is exactly midnight
// to the second (the texts show no fraction of a second, so 00:00:00.400 is midnight).
QString generalDateText(const QDateTime &moment, const QLocale &locale);
// D2: the short date.
QString shortDateText(const QDateTime &moment, const QLocale &locale);
// D3: the long time.
QString longTimeText(const QDateTime &moment, const QLocale &locale);
// D4: the long date.
QString longDateText(const QDateTime &moment, const QLocale &locale);
// D5: "d.MMM yyyy": day without leading zero, a period, the locale's abbreviated month
// (which may end with a period of its own: "5.janv. 2026"), a blank, the four-digit year.
QString dayMonthYearText(const QDateTime &moment, const QLocale &locale);

// The text of entry 1..5 (D1..D5); empty for any other number.
QString dateEntryText(int entry, const QDateTime &moment, const QLocale &locale);

} // namespace tarmel
