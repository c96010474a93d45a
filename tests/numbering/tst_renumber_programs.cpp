// Renumbering of real programs (the shared corpus) and of generated ones: only block numbers change,
// every other byte and every line end stays, and the numbers run start, start + step, ...

#include "numbering/Renumber.h"
#include "tests/numbering/RenumberOracle.h"
#include "tests/support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

using numbering::NumberForm;
using numbering::RenumberOptions;

namespace {

QByteArray readCorpus(const QString &name)
{
    QFile f(testsupport::corpusPath(QStringLiteral("nc/") + name));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

// A line with every digit run folded to '#': two lines that differ only in numbers fold the same.
QByteArray foldDigits(QByteArray line)
{
    static const QRegularExpression digits(QStringLiteral("[0-9]+"));
    return QString::fromLatin1(line).replace(digits, QStringLiteral("#")).toLatin1();
}

QByteArray pick(QRandomGenerator &rng, std::initializer_list<const char *> pieces)
{
    return QByteArray(*(pieces.begin() + rng.bounded(int(pieces.size()))));
}

QByteArray randomDigits(QRandomGenerator &rng, int minimum)
{
    QByteArray digits;
    const int length = minimum + rng.bounded(13 - minimum);
    for (int i = 0; i < length; ++i)
        digits += char('0' + rng.bounded(10));
    return digits;
}

QByteArray randomLine(QRandomGenerator &rng)
{
    const QByteArray rest = pick(rng, {"", " ", " G01 X1.5", "G00", ".5 S10", "\tY2", "X", " (N5)", " \xc3\xa9", "  "});
    switch (rng.bounded(12)) {
    case 0:
    case 1:
        return "N" + randomDigits(rng, 0) + rest;
    case 2:
        return "n" + randomDigits(rng, 0) + rest;
    case 3:
        return pick(rng, {"/N", "/n"}) + randomDigits(rng, 0) + rest;
    case 4:
    case 5:
        return randomDigits(rng, 1) + rest;
    case 6:
        return QByteArray();
    case 7:
        return pick(rng, {" ", "   "}) + pick(rng, {"N5 X", "12 Y", ""});
    case 8:
        return pick(rng, {"(COMMENT N10)", "%", ";N20", "/G01", "/ N5"});
    case 9:
        return pick(rng, {"NINE: X9", "N_A", "/NOT"});
    default:
        return pick(rng, {"G01 X1", "M30", "X0 Y0"}) + rest;
    }
}

QByteArray randomProgram(QRandomGenerator &rng)
{
    QByteArray text;
    const int lines = rng.bounded(1, 30);
    for (int i = 0; i < lines; ++i) {
        text += randomLine(rng);
        if (i + 1 < lines || rng.bounded(2) == 0)
            text += pick(rng, {"\r\n", "\n", "\r"});
    }
    return text;
}

} // namespace

class TestRenumberPrograms : public QObject {
    Q_OBJECT
private slots:
    void corpus_data();
    void corpus();
    void corpusJumps_data();
    void corpusJumps();
    void generatedPrograms();
};

void TestRenumberPrograms::corpus_data()
{
    QTest::addColumn<QString>("file");
    const QStringList files = QDir(testsupport::corpusPath(QStringLiteral("nc"))).entryList(QDir::Files, QDir::Name);
    QVERIFY2(files.size() >= 20, "the program corpus was not found");
    for (const QString &f : files)
        QTest::newRow(qPrintable(f)) << f;
}

// Each program, in both forms, with and without jump targets: bytes and QString (Latin-1, one
// character per byte) give the same text; only numbers change.
void TestRenumberPrograms::corpus()
{
    QFETCH(QString, file);
    const QByteArray original = readCorpus(file);
    QVERIFY(!original.isEmpty());
    for (NumberForm form : {NumberForm::WithN, NumberForm::DigitsOnly}) {
        for (qint64 step : {qint64(7), qint64(10)}) {
            RenumberOptions o;
            o.form = form;
            o.step = step;
            const auto plain = numbering::renumberUtf8(original, o);
            QCOMPARE(oracle::compare(original, plain.text, {form, step, step}), QString());
            QCOMPARE(numbering::renumberString(QString::fromLatin1(original), o).text, QString::fromLatin1(plain.text));

            o.updateJumps = true;
            const auto jumps = numbering::renumberUtf8(original, o);
            QCOMPARE(jumps.counts.linesRenumbered, plain.counts.linesRenumbered);
            const QList<oracle::Line> a = oracle::splitLines(plain.text);
            const QList<oracle::Line> b = oracle::splitLines(jumps.text);
            QCOMPARE(b.size(), a.size());
            qint64 changedLines = 0;
            for (qsizetype i = 0; i < a.size(); ++i) {
                QCOMPARE(b[i].end, a[i].end);
                QCOMPARE(foldDigits(b[i].content), foldDigits(a[i].content));
                changedLines += a[i].content != b[i].content;
            }
            QVERIFY(changedLines <= jumps.counts.jumpsUpdated);
        }
    }
}

void TestRenumberPrograms::corpusJumps_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<qint64>("updated");
    QTest::addColumn<qint64>("notFound");
    // Step 5: N70 is the 7th block (35), N90 the 9th (45).
    QTest::newRow("GOTOF to a block number") << "cead_goto.mpf"
                                             << QByteArray("N35 GOTOF 45 ; block numbers are valid jump destinations too\n")
                                             << qint64(1) << qint64(0);
    // The first N100 is the 6th block (30); "NINE:" is a label, not a block.
    QTest::newRow("GOTOF N100 with a duplicate number") << "cead_edge_cases.mpf" << QByteArray("\nGOTOF N30\nN35 X5\n")
                                                        << qint64(1) << qint64(0);
    QTest::newRow("M98 P calls another program: no target") << "linuxcnc_m98m99_basics.ngc"
                                                            << QByteArray("M98 P1 L3\n") << qint64(0) << qint64(0);
}

void TestRenumberPrograms::corpusJumps()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, line);
    QFETCH(qint64, updated);
    QFETCH(qint64, notFound);
    RenumberOptions o;
    o.step = 5;
    o.updateJumps = true;
    const auto r = numbering::renumberUtf8(readCorpus(file), o);
    QVERIFY2(r.text.contains(line), r.text.constData());
    QCOMPARE(r.counts.jumpsUpdated, updated);
    QCOMPARE(r.counts.targetsNotFound, notFound);
}

// Seeded, so that a failure can be replayed; the seed is in the failure message.
void TestRenumberPrograms::generatedPrograms()
{
    constexpr quint32 seed = 20240611;
    QRandomGenerator rng(seed);
    qint64 numberedSeen = 0;
    for (int run = 0; run < 4000; ++run) {
        const QByteArray text = randomProgram(rng);
        RenumberOptions o;
        o.form = rng.bounded(2) ? NumberForm::WithN : NumberForm::DigitsOnly;
        o.step = rng.bounded(1, 51);
        if (rng.bounded(2))
            o.start = rng.bounded(100000);
        oracle::Expectation e{o.form, o.step, o.start.value_or(o.step)};
        if (rng.bounded(5) == 0) {
            o.selectionOnly = e.selectionOnly = true;
            o.selectionFrom = e.from = rng.bounded(text.size() + 1);
            o.selectionTo = e.to = rng.bounded(text.size() + 1);
        }
        const auto r = numbering::renumberUtf8(text, o);
        qint64 numbered = 0;
        const QString difference = oracle::compare(text, r.text, e, &numbered);
        const QString context = QStringLiteral("seed %1, run %2, text \"%3\": %4")
                                    .arg(seed)
                                    .arg(run)
                                    .arg(QString::fromUtf8(text.toPercentEncoding(" /()%;.")), difference);
        QVERIFY2(difference.isEmpty(), qPrintable(context));
        QVERIFY2(r.counts.linesRenumbered == numbered, qPrintable(context));
        QVERIFY2(r.counts.lines == oracle::splitLines(text).size(), qPrintable(context));
        if (!o.selectionOnly) {
            const auto s = numbering::renumberString(QString::fromUtf8(text), o);
            QVERIFY2(s.text == QString::fromUtf8(r.text), qPrintable(context));
        }
        numberedSeen += numbered;
    }
    QVERIFY(numberedSeen > 10000); // the generator does produce numbered lines
}

QTEST_GUILESS_MAIN(TestRenumberPrograms)
#include "tst_renumber_programs.moc"
