// Accent removal: the table, character by character, every other Latin-1 character left alone, the
// program's own examples, bytes that are not UTF-8, and how often progress is reported.
#include "transform/Accents.h"

#include <QtTest>

using namespace tarmel;

namespace {

// The table as the program gives it: replacement letter, characters replaced.
const QList<QPair<char, QString>> kTable = {
    {'e', QStringLiteral("èéêëÊËÉÈ")}, {'a', QStringLiteral("âàäÂÄÀ")}, {'u', QStringLiteral("ùüûÛÜ")},
    {'i', QStringLiteral("îïÏÎ")},     {'o', QStringLiteral("öôÔÖ")},   {'c', QStringLiteral("Çç")},
    {'D', QStringLiteral("øØ")},
};

char letterInTable(QChar c)
{
    for (const auto &[letter, characters] : kTable)
        if (characters.contains(c))
            return letter;
    return 0;
}

} // namespace

class TestAccents : public QObject {
    Q_OBJECT
private slots:
    void table_data();
    void table();
    void everyOtherLatin1CharacterStays();
    void texts_data();
    void texts();
    void progressIsReportedPerBlockAtMost_data();
    void progressIsReportedPerBlockAtMost();
};

void TestAccents::table_data()
{
    QTest::addColumn<QString>("characters");
    QTest::addColumn<char>("letter");
    for (const auto &[letter, characters] : kTable)
        QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(QChar::fromLatin1(letter)).arg(characters)))
            << characters << letter;
}

void TestAccents::table()
{
    QFETCH(QString, characters);
    QFETCH(char, letter);
    for (const QChar c : characters)
        QCOMPARE(accentFreeLetter(c.unicode()), letter);
    const QByteArray result = removeAccentsUtf8(characters.toUtf8());
    QCOMPARE(result, QByteArray(characters.size(), letter));
}

void TestAccents::everyOtherLatin1CharacterStays()
{
    for (char16_t c = 0x20; c <= 0xFF; ++c) {
        if (letterInTable(QChar(c)))
            continue;
        const QByteArray one = QString(QChar(c)).toUtf8();
        QVERIFY2(removeAccentsUtf8(one) == one, qPrintable(QString(QChar(c))));
        QCOMPARE(accentFreeLetter(c), 0);
    }
}

void TestAccents::texts_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("upper-case accented letters become lower-case plain ones")
        << QByteArray("Élève À Ça") << QByteArray("eleve a ca");
    QTest::newRow("ø and Ø become D") << QByteArray("Ø 20 and ø 20") << QByteArray("D 20 and D 20");
    QTest::newRow("Ù and ñ stay") << QByteArray("Ù and ñ") << QByteArray("Ù and ñ");
    QTest::newRow("outside the table") << QByteArray("Ù ñ á ò ÿ œ æ") << QByteArray("Ù ñ á ò ÿ œ æ");
    QTest::newRow("a program line") << QByteArray("N10 (Perçage Ø8 ébauche)\r\n") << QByteArray("N10 (Percage D8 ebauche)\r\n");
    QTest::newRow("three-byte characters stay") << QByteArray("€é…") << QByteArray("€e…");
    QTest::newRow("a lead byte at the end stays") << QByteArray("é\xC3") << QByteArray("e\xC3");
    QTest::newRow("a lead byte without its second byte stays") << QByteArray("\xC3(é") << QByteArray("\xC3(e");
    QTest::newRow("NUL bytes stay") << QByteArray("\0é\0", 4) << QByteArray("\0e\0", 3);
    QTest::newRow("empty") << QByteArray() << QByteArray();
    // A replaced character across the end of a progress block.
    QByteArray across(kProgressBlock - 1, 'x');
    QTest::newRow("across a block") << across + "éa" << across + "ea";
}

void TestAccents::texts()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    const QByteArray result = removeAccentsUtf8(text);
    QCOMPARE(result, expected);
    QCOMPARE(QString::fromUtf8(result).size(), QString::fromUtf8(text).size()); // every character keeps its place
}

void TestAccents::progressIsReportedPerBlockAtMost_data()
{
    QTest::addColumn<qint64>("size");
    QTest::newRow("empty") << qint64(0);
    QTest::newRow("one byte") << qint64(1);
    QTest::newRow("three blocks and a bit") << 3 * kProgressBlock + 5;
}

// However fast or slow the machine, the callback runs at most once per block and once at the end,
// never once per character; its last call says the whole text is done.
void TestAccents::progressIsReportedPerBlockAtMost()
{
    QFETCH(qint64, size);
    QByteArray text(size, 'a');
    for (qint64 i = 0; i + 1 < size; i += 4096)
        text.replace(i, 2, "é");
    QList<QPair<qint64, qint64>> calls;
    removeAccentsUtf8(text, [&](qint64 done, qint64 total) { calls.append({done, total}); });
    QVERIFY(!calls.isEmpty());
    QVERIFY(calls.size() <= (size + kProgressBlock - 1) / kProgressBlock + 1);
    QCOMPARE(calls.last(), qMakePair(size, size));
    for (qsizetype k = 1; k < calls.size(); ++k)
        QVERIFY(calls[k].first >= calls[k - 1].first);
}

QTEST_APPLESS_MAIN(TestAccents)
#include "tst_Accents.moc"
