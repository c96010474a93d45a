#include "commands/DateFormats.h"

#include <QRegularExpression>
#include <QTest>

class DateFormatsTest : public QObject
{
    Q_OBJECT
private slots:
    void entries_data()
    {
        QTest::addColumn<QString>("locale"); QTest::addColumn<QDateTime>("moment"); QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("text");
        const QDateTime afternoon(QDate(2026, 1, 5), QTime(14, 3, 9)), midnight(QDate(2026, 12, 24), QTime(0, 0));
        QTest::newRow("fr D1") << "fr_FR" << afternoon << 1 << "05/01/2026 14:03:09";
        QTest::newRow("fr D5, month with its period") << "fr_FR" << afternoon << 5 << "5.janv. 2026";
        QTest::newRow("fr D5, month without") << "fr_FR" << QDateTime(QDate(2026, 5, 1), QTime(8, 0)) << 5 << "1.mai 2026";
        QTest::newRow("fr D1 midnight: the date alone") << "fr_FR" << midnight << 1 << "24/12/2026";
        QTest::newRow("fr D1 half a second after midnight") << "fr_FR" << midnight.addMSecs(500) << 1 << "24/12/2026";
        QTest::newRow("fr D1 one second after midnight") << "fr_FR" << midnight.addSecs(1) << 1 << "24/12/2026 00:00:01";
        QTest::newRow("fr-CA D2") << "fr_CA" << afternoon << 2 << "2026-01-05";
        QTest::newRow("en-US D1, four-digit year") << "en_US" << afternoon << 1 << "1/5/2026 2:03:09 PM";
        QTest::newRow("es D3 bracketed zone removed") << "es_ES" << afternoon << 3 << "14:03:09";
        QTest::newRow("zh D3 leading zone removed") << "zh_CN" << afternoon << 3 << "14:03:09";
        QTest::newRow("no entry 0") << "fr_FR" << afternoon << 0 << "";
    }

    void entries()
    {
        QFETCH(QString, locale); QFETCH(QDateTime, moment); QFETCH(int, entry); QFETCH(QString, text);
        QCOMPARE(tarmel::dateEntryText(entry, moment, QLocale(locale)), text);
    }

    // Every locale Qt knows: no time-zone field (t) left in the long time, no leftover separator, no
    // two-digit year in the short date; quoted parts kept.
    void everyLocale()
    {
        static const QRegularExpression quoted("'[^']*'"), leftover("^ | $|,$|\\(\\)|\\[\\]"), twoDigitYear("(^|[^y])yy($|[^y])");
        for (const QLocale &locale : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
            const QString time = tarmel::longTimePattern(locale), date = tarmel::shortDatePattern(locale);
            QVERIFY2(!QString(time).remove(quoted).contains(u't') && !time.contains(leftover) && time.contains(u's'),
                     qPrintable(locale.name() + ": " + time));
            QVERIFY2(!QString(date).remove(quoted).contains(twoDigitYear), qPrintable(locale.name() + ": " + date));
            QCOMPARE(date.count(u'\''), locale.dateFormat(QLocale::ShortFormat).count(u'\''));
        }
    }
};

QTEST_GUILESS_MAIN(DateFormatsTest)
#include "tst_DateFormats.moc"
