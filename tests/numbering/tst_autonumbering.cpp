// The step field, the start number of a renumbering, the numbers of automatic numbering and the jump
// report.

#include "numbering/AutoNumbering.h"
#include "numbering/NumberingTexts.h"

#include <QTest>

#include <limits>

using numbering::NumberForm;

Q_DECLARE_METATYPE(numbering::NumberForm)

class TestAutoNumbering : public QObject {
    Q_OBJECT
private slots:
    void fieldNumericValue_data();
    void fieldNumericValue();
    void validateStep_data();
    void validateStep();
    void renumberStartNumber_data();
    void renumberStartNumber();
    void autoNumberText_data();
    void autoNumberText();
    void nextAutoNumber_data();
    void nextAutoNumber();
    void autoIncrementFieldValue_data();
    void autoIncrementFieldValue();
    void openingValues();
};

void TestAutoNumbering::fieldNumericValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("value");
    QTest::newRow("empty") << QString() << qint64(0);
    QTest::newRow("digits") << QStringLiteral("100") << qint64(100);
    QTest::newRow("leading zeros") << QStringLiteral("00012") << qint64(12);
    QTest::newRow("leading blanks") << QStringLiteral("  7") << qint64(7);
    QTest::newRow("stops at the first other character") << QStringLiteral("12ab3") << qint64(12);
    QTest::newRow("no digits") << QStringLiteral("ab") << qint64(0);
    QTest::newRow("minus") << QStringLiteral("-5") << qint64(-5);
    QTest::newRow("plus") << QStringLiteral("+5") << qint64(5);
    QTest::newRow("sign alone") << QStringLiteral("-") << qint64(0);
    QTest::newRow("decimal part dropped") << QStringLiteral("2.5") << qint64(2);
    QTest::newRow("saturates") << QStringLiteral("99999999999999999999999") << std::numeric_limits<qint64>::max();
}

void TestAutoNumbering::fieldNumericValue()
{
    QFETCH(QString, text);
    QFETCH(qint64, value);
    QCOMPARE(numbering::fieldNumericValue(text), value);
}

void TestAutoNumbering::validateStep_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("fieldText");
    QTest::addColumn<bool>("startEnabled");
    const QString none;
    const QString minimum = QStringLiteral("Pas de renumérotation minimum =1 !");
    const QString maximum = QStringLiteral("Pas de renumérotation maximum =50 !");
    QTest::newRow("emptied field shows 0, start disabled") << QString() << qint64(0) << none << "0" << false;
    QTest::newRow("1") << "1" << qint64(1) << none << "1" << true;
    QTest::newRow("50") << "50" << qint64(50) << none << "50" << true;
    QTest::newRow("51") << "51" << qint64(50) << maximum << "50" << true;
    QTest::newRow("pasted -5") << "-5" << qint64(1) << minimum << "1" << true;
    QTest::newRow("pasted -0 is 0") << "-0" << qint64(0) << none << "0" << false;
    QTest::newRow("leading zero written back without it") << "05" << qint64(5) << none << "5" << true;
    QTest::newRow("letters give 0") << "ab" << qint64(0) << none << "0" << false;
}

void TestAutoNumbering::validateStep()
{
    QFETCH(QString, text);
    QFETCH(qint64, value);
    QFETCH(QString, message);
    QFETCH(QString, fieldText);
    QFETCH(bool, startEnabled);
    const numbering::StepFieldResult r = numbering::validateStep(text);
    QCOMPARE(r.value, value);
    QCOMPARE(r.message, message);
    QCOMPARE(r.fieldText, fieldText);
    QCOMPARE(r.startEnabled, startEnabled);
    // Writing the text back into the field settles: same state, no second message.
    const numbering::StepFieldResult again = numbering::validateStep(r.fieldText);
    QCOMPARE(again.value, value);
    QCOMPARE(again.message, QString());
    QCOMPARE(again.fieldText, fieldText);
    QCOMPARE(again.startEnabled, startEnabled);
}

void TestAutoNumbering::renumberStartNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("step");
    QTest::addColumn<qint64>("start");
    QTest::newRow("empty means the step") << QString() << qint64(25) << qint64(25);
    QTest::newRow("blanks mean the step") << QStringLiteral("  ") << qint64(10) << qint64(10);
    QTest::newRow("a number") << QStringLiteral("1000") << qint64(10) << qint64(1000);
    QTest::newRow("zero") << QStringLiteral("0") << qint64(10) << qint64(0);
    QTest::newRow("pasted negative means the step") << QStringLiteral("-5") << qint64(5) << qint64(5);
    QTest::newRow("letters mean the step") << QStringLiteral("x") << qint64(5) << qint64(5);
}

void TestAutoNumbering::renumberStartNumber()
{
    QFETCH(QString, text);
    QFETCH(qint64, step);
    QFETCH(qint64, start);
    QCOMPARE(numbering::renumberStartNumber(text, step), start);
}

void TestAutoNumbering::autoNumberText_data()
{
    QTest::addColumn<qint64>("number");
    QTest::addColumn<NumberForm>("form");
    QTest::addColumn<QString>("text");
    QTest::newRow("N10") << qint64(10) << NumberForm::WithN << "N10 ";
    QTest::newRow("10") << qint64(10) << NumberForm::DigitsOnly << "10 ";
    QTest::newRow("0") << qint64(0) << NumberForm::WithN << "N0 ";
    QTest::newRow("more than five digits in full") << qint64(1234567) << NumberForm::WithN << "N1234567 ";
    QTest::newRow("negative keeps its sign") << qint64(-5) << NumberForm::DigitsOnly << "-5 ";
}

void TestAutoNumbering::autoNumberText()
{
    QFETCH(qint64, number);
    QFETCH(NumberForm, form);
    QFETCH(QString, text);
    QCOMPARE(numbering::autoNumberText(number, form), text);
}

void TestAutoNumbering::nextAutoNumber_data()
{
    QTest::addColumn<qint64>("current");
    QTest::addColumn<int>("increment");
    QTest::addColumn<qint64>("next");
    constexpr qint64 top = std::numeric_limits<qint64>::max();
    QTest::newRow("10 + 10") << qint64(10) << 10 << qint64(20);
    QTest::newRow("emptied increment repeats the number") << qint64(30) << 0 << qint64(30);
    QTest::newRow("negative increment") << qint64(30) << -5 << qint64(25);
    QTest::newRow("beyond five digits") << qint64(99995) << 10 << qint64(100005);
    QTest::newRow("saturates at the top") << top - 3 << 10 << top;
    QTest::newRow("saturates at the bottom") << std::numeric_limits<qint64>::min() + 1 << -10
                                             << std::numeric_limits<qint64>::min();
}

void TestAutoNumbering::nextAutoNumber()
{
    QFETCH(qint64, current);
    QFETCH(int, increment);
    QFETCH(qint64, next);
    QCOMPARE(numbering::nextAutoNumber(current, qint16(increment)), next);
}

void TestAutoNumbering::autoIncrementFieldValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("99") << QStringLiteral("99") << 99;
    QTest::newRow("pasted -5") << QStringLiteral("-5") << -5;
    QTest::newRow("above 16 bits") << QStringLiteral("40000") << 32767;
    QTest::newRow("below 16 bits") << QStringLiteral("-40000") << -32768;
}

void TestAutoNumbering::autoIncrementFieldValue()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(int(numbering::autoIncrementFieldValue(text)), value);
}

void TestAutoNumbering::openingValues()
{
    QCOMPARE(numbering::stepOnOpening(0), qint64(10));
    QCOMPARE(numbering::stepOnOpening(25), qint64(25));
    QCOMPARE(numbering::autoStartOnOpening(0), qint64(10));
    QCOMPARE(numbering::autoStartOnOpening(130), qint64(130));
    QCOMPARE(numbering::autoIncrementOnOpening(0), qint16(10));
    QCOMPARE(numbering::autoIncrementOnOpening(5), qint16(5));
    QCOMPARE(numbering::autoStartFieldValue(QString()), qint64(0));
    QCOMPARE(numbering::autoStartFieldValue(QStringLiteral("100")), qint64(100));
}

QTEST_GUILESS_MAIN(TestAutoNumbering)
#include "tst_autonumbering.moc"
