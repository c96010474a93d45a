#include "commands/DateFormats.h"

#include <QTest>

class DateFormatsTest : public QObject
{
    Q_OBJECT

private slots:
    void entries_data();
    void entries();
    void noLocaleKeepsATimeZoneOrTwoDigitYear();
};

void DateFormatsTest::entries_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("text");

    const QDateTime afternoon(QDate(2026, 1, 5), QTime(14, 3, 9));
    const QDateTime midnight(QDate(2026, 12, 24), QTime(0, 0, 0));
    const QDateTime justAfterMidnight(QDate(2026, 12, 24), QTime(0, 0, 1));
    const QDateTime halfSecondAfterMidnight(QDate(2026, 12, 24), QTime(0, 0, 0, 500));
    const QDateTime may(QDate(2026, 5, 1), QTime(8, 0, 0));
    const QDateTime lastDay(QDate(2027, 12, 31), QTime(23, 59, 59));

    QTest::newRow("fr D1") << "fr_FR" << afternoon << 1 << "05/01/2026 14:03:09";
    QTest::newRow("fr D2") << "fr_FR" << afternoon << 2 << "05/01/2026";
    QTest::newRow("fr D3") << "fr_FR" << afternoon << 3 << "14:03:09";
    QTest::newRow("fr D4") << "fr_FR" << afternoon << 4 << "lundi 5 janvier 2026";
    QTest::newRow("fr D5 janv.") << "fr_FR" << afternoon << 5 << "5.janv. 2026";
    QTest::newRow("fr D1 midnight: date alone") << "fr_FR" << midnight << 1 << "24/12/2026";
    QTest::newRow("fr D1 midnight and a half second: date alone")
        << "fr_FR" << halfSecondAfterMidnight << 1 << "24/12/2026";
    QTest::newRow("fr D1 one second after midnight") << "fr_FR" << justAfterMidnight << 1 << "24/12/2026 00:00:01";
    QTest::newRow("fr D3 midnight") << "fr_FR" << midnight << 3 << "00:00:00";
    QTest::newRow("fr D4 midnight") << "fr_FR" << midnight << 4 << "jeudi 24 décembre 2026";
    QTest::newRow("fr D5 déc.") << "fr_FR" << midnight << 5 << QStringLiteral(u"24.déc. 2026");
    QTest::newRow("fr D5 mai has no period") << "fr_FR" << may << 5 << "1.mai 2026";
    QTest::newRow("fr D1 last second of the year") << "fr_FR" << lastDay << 1 << "31/12/2027 23:59:59";
    QTest::newRow("fr-CA D2") << "fr_CA" << afternoon << 2 << "2026-01-05";
    QTest::newRow("fr-CA D3 written out") << "fr_CA" << afternoon << 3 << "14:03:09";
    QTest::newRow("fr-CH D2 four-digit year") << "fr_CH" << afternoon << 2 << "05.01.2026";
    QTest::newRow("en-US D1") << "en_US" << afternoon << 1 << "1/5/2026 2:03:09 PM";
    QTest::newRow("en-US D2 four-digit year") << "en_US" << afternoon << 2 << "1/5/2026";
    QTest::newRow("en-US D3 without zone") << "en_US" << afternoon << 3 << "2:03:09 PM";
    QTest::newRow("en-US D4") << "en_US" << afternoon << 4 << "Monday, January 5, 2026";
    QTest::newRow("en-US D5") << "en_US" << afternoon << 5 << "5.Jan 2026";
    QTest::newRow("en-US D1 midnight") << "en_US" << midnight << 1 << "12/24/2026";
    QTest::newRow("de D2 four-digit year") << "de_DE" << afternoon << 2 << "05.01.2026";
    QTest::newRow("de D3 without zone") << "de_DE" << afternoon << 3 << "14:03:09";
    QTest::newRow("de D5 Jan.") << "de_DE" << afternoon << 5 << "5.Jan. 2026";
    QTest::newRow("es D3 bracketed zone removed") << "es_ES" << afternoon << 3 << "14:03:09";
    QTest::newRow("zh D3 leading zone removed") << "zh_CN" << afternoon << 3 << "14:03:09";
    QTest::newRow("no such entry 0") << "fr_FR" << afternoon << 0 << "";
}

void DateFormatsTest::entries()
{
    QFETCH(QString, locale);
    QFETCH(QDateTime, moment);
    QFETCH(int, entry);
    QFETCH(QString, text);
    QCOMPARE(tarmel::dateEntryText(entry, moment, QLocale(locale)), text);
}

// Every locale Qt knows: no time-zone field left in the long time, no two-digit year in
// the short date, and the quoted parts of the patterns kept.
void DateFormatsTest::noLocaleKeepsATimeZoneOrTwoDigitYear()
{
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    QVERIFY(locales.size() > 100);
    for (const QLocale &locale : locales) {
        const auto fieldRuns = [](const QString &pattern, QChar letter) {
            QList<int> runs;
            bool quoted = false;
            for (qsizetype i = 0; i < pattern.size(); ++i) {
                if (pattern[i] == u'\'')
                    quoted = !quoted;
                else if (!quoted && pattern[i] == letter) {
                    qsizetype end = i;
                    while (end < pattern.size() && pattern[end] == letter)
                        ++end;
                    runs.append(int(end - i));
                    i = end - 1;
                }
            }
            return runs;
        };
        const QString time = tarmel::longTimePattern(locale);
        QVERIFY2(fieldRuns(time, u't').isEmpty(), qPrintable(locale.name() + ": " + time));
        QVERIFY2(!fieldRuns(time, u's').isEmpty(), qPrintable(locale.name() + ": " + time));
        QVERIFY2(time == time.trimmed() && !time.endsWith(u',') && !time.contains(u"()") && !time.contains(u"[]"),
                 qPrintable(locale.name() + ": " + time));
        const QString date = tarmel::shortDatePattern(locale);
        QVERIFY2(!fieldRuns(date, u'y').contains(2), qPrintable(locale.name() + ": " + date));
        QCOMPARE(date.count(u'\''), locale.dateFormat(QLocale::ShortFormat).count(u'\''));
    }
}

QTEST_GUILESS_MAIN(DateFormatsTest)
#include "tst_DateFormats.moc"
