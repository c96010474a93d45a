// Renumbering of whole texts: the program's examples and edge cases (with the mended results for long
// numbers and line ends), selection-only runs, jump targets, failures and progress.

#include "numbering/Renumber.h"
#include "tests/numbering/RenumberOracle.h"

#include <QTest>

using numbering::NumberForm;
using numbering::RenumberOptions;
using numbering::RenumberStatus;

Q_DECLARE_METATYPE(numbering::NumberForm)
Q_DECLARE_METATYPE(numbering::RenumberStatus)

namespace {

RenumberOptions options(NumberForm form, qint64 step, qint64 start = -1)
{
    RenumberOptions o;
    o.form = form;
    o.step = step;
    if (start >= 0)
        o.start = start;
    return o;
}

// Runs both entry points and checks that they agree; returns the UTF-8 result.
numbering::RenumberBytesResult runBoth(const QByteArray &text, const RenumberOptions &o)
{
    const auto bytes = numbering::renumberUtf8(text, o);
    const auto string = numbering::renumberString(QString::fromUtf8(text), o);
    [&] {
        QCOMPARE(string.text, QString::fromUtf8(bytes.text));
        QCOMPARE(string.counts.linesRenumbered, bytes.counts.linesRenumbered);
        QCOMPARE(string.counts.jumpsUpdated, bytes.counts.jumpsUpdated);
        QCOMPARE(string.counts.targetsNotFound, bytes.counts.targetsNotFound);
    }();
    return bytes;
}

} // namespace

class TestRenumber : public QObject {
    Q_OBJECT
private slots:
    void lines_data();
    void lines();
    void lineEnds_data();
    void lineEnds();
    void selectionOnly_data();
    void selectionOnly();
    void selectionCountsUtf16InQString();
    void jumps_data();
    void jumps();
    void jumpsNeedTheOption();
    void refusedOptions_data();
    void refusedOptions();
    void longProgramHasNoLineLimit();
    void progressRunsToTheEnd_data();
    void progressRunsToTheEnd();
};

void TestRenumber::lines_data()
{
    QTest::addColumn<NumberForm>("form");
    QTest::addColumn<qint64>("step");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<qint64>("renumbered");
    const NumberForm N = NumberForm::WithN;
    const NumberForm D = NumberForm::DigitsOnly;

    QTest::newRow("examples of the program, form N")
        << N << qint64(10) << qint64(-1) << QByteArray("N5 G00 X0\r\nN7G01\r\n/N33 M01\r\n%\r\n(PROGRAMME)\r\nN")
        << QByteArray("N10 G00 X0\r\nN20 G01\r\n/N30 M01\r\n%\r\n(PROGRAMME)\r\nN40 ") << qint64(4);
    QTest::newRow("examples of the program, form xxxx") << D << qint64(5) << qint64(-1)
                                                        << QByteArray("3 G00\r\n17G01") << QByteArray("5 G00\r\n10 G01")
                                                        << qint64(2);
    QTest::newRow("start number 0") << D << qint64(5) << qint64(0) << QByteArray("7 A\r\n8 B")
                                    << QByteArray("0 A\r\n5 B") << qint64(2);
    QTest::newRow("twenty-two digits") << N << qint64(10) << qint64(-1)
                                       << QByteArray("/N1234567890123456789012X\r\nN98765432109876543210987654")
                                       << QByteArray("/N10X\r\nN20 ") << qint64(2);
    QTest::newRow("/N never gets a blank, N does") << N << qint64(10) << qint64(-1)
                                                  << QByteArray("/N20X1\r\nN20X1\r\n/N\r\n/n5")
                                                  << QByteArray("/N10X1\r\nN20 X1\r\n/N30\r\n/N40") << qint64(4);
    QTest::newRow("lower case prefixes become upper case, the rest keeps its case")
        << N << qint64(10) << qint64(-1) << QByteArray("n5 x1\r\n/n7 y2") << QByteArray("N10 x1\r\n/N20 y2") << qint64(2);
    QTest::newRow("non-ASCII rest is copied as it is") << N << qint64(10) << qint64(-1)
                                                       << QByteArray("N5 (é à 醫 \xf0\x9f\x94\xa7)\rN6ü\r\nN7\xe8\x80\x8d")
                                                       << QByteArray("N10 (é à 醫 \xf0\x9f\x94\xa7)\rN20 ü\r\nN30 \xe8\x80\x8d")
                                                       << qint64(3);
    QTest::newRow("line ends on both sides of every 8-byte boundary")
        << N << qint64(10) << qint64(-1) << QByteArray("N1 ABCDEF\r\nN2 ABCDEFG\nN3 ABCDEFGH\rN4\tABCDEFGHIJ\r\n\r\nN5")
        << QByteArray("N10 ABCDEF\r\nN20 ABCDEFG\nN30 ABCDEFGH\rN40 \tABCDEFGHIJ\r\n\r\nN50 ") << qint64(5);
}

void TestRenumber::lines()
{
    QFETCH(NumberForm, form);
    QFETCH(qint64, step);
    QFETCH(qint64, start);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(qint64, renumbered);
    const auto r = runBoth(before, options(form, step, start));
    QCOMPARE(r.status, RenumberStatus::Done);
    QCOMPARE(r.text, after);
    QCOMPARE(r.counts.linesRenumbered, renumbered);
}

void TestRenumber::lineEnds_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<qint64>("lines");

    QTest::newRow("empty text stays empty") << QByteArray() << QByteArray() << qint64(1);
    QTest::newRow("final CR LF is kept") << QByteArray("N5\r\n") << QByteArray("N10 \r\n") << qint64(2);
    QTest::newRow("a lone line end") << QByteArray("\r\n") << QByteArray("\r\n") << qint64(2);
    QTest::newRow("mixed, each line keeps its own end")
        << QByteArray("N5 A\r\nN6 B\nN7 C\rN8 D") << QByteArray("N10 A\r\nN20 B\nN30 C\rN40 D") << qint64(4);
    QTest::newRow("CR CR LF is a lone CR then CR LF") << QByteArray("N5\r\r\nN6") << QByteArray("N10 \r\r\nN20 ")
                                                     << qint64(3);
    QTest::newRow("LF CR is two line ends") << QByteArray("N5\n\rN6") << QByteArray("N10 \n\rN20 ") << qint64(3);
    QTest::newRow("blanks end the last line: removed") << QByteArray("N5 A  \r\nN6 B   ")
                                                      << QByteArray("N10 A  \r\nN20 B")
                                                      << qint64(2);
    QTest::newRow("the last line after a final line end is empty") << QByteArray("N5 A  \r\n")
                                                                  << QByteArray("N10 A  \r\n") << qint64(2);
    QTest::newRow("blanks only on the last line") << QByteArray("N5\n   ") << QByteArray("N10 \n") << qint64(2);
    QTest::newRow("one line without line end loses leading and trailing blanks")
        << QByteArray("   N5 A  ") << QByteArray("N10 A") << qint64(1);
    QTest::newRow("a number left at the end by trimming gets its blank") << QByteArray("N5   ")
                                                                        << QByteArray("N10 ") << qint64(1);
    QTest::newRow("blanks-only text becomes empty") << QByteArray("    ") << QByteArray() << qint64(1);
    QTest::newRow("leading blanks stay when the text has a line end") << QByteArray("   N5\r\nX")
                                                                     << QByteArray("   N5\r\nX") << qint64(2);
    QTest::newRow("only blanks (32) are trimmed") << QByteArray("\tN5 A\t") << QByteArray("\tN5 A\t") << qint64(1);
}

void TestRenumber::lineEnds()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(qint64, lines);
    const auto r = runBoth(before, options(NumberForm::WithN, 10));
    QCOMPARE(r.text, after);
    QCOMPARE(r.counts.lines, lines);
}

void TestRenumber::selectionOnly_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<qint64>("from");
    QTest::addColumn<qint64>("to");
    QTest::addColumn<QByteArray>("after");

    // Lines start at 0, 6, 9, 15 and 21; 27 bytes.
    const QByteArray text("N1 A\r\nX\r\nN2 B\r\nN3 C\r\nN4 D  ");
    QTest::newRow("one line, inside it") << text << qint64(10) << qint64(11)
                                         << QByteArray("N1 A\r\nX\r\nN10 B\r\nN3 C\r\nN4 D  ");
    QTest::newRow("from the middle of a line to the middle of another")
        << text << qint64(2) << qint64(17) << QByteArray("N10 A\r\nX\r\nN20 B\r\nN30 C\r\nN4 D  ");
    QTest::newRow("ending at the start of a line leaves that line") << text << qint64(9) << qint64(15)
                                                                    << QByteArray("N1 A\r\nX\r\nN10 B\r\nN3 C\r\nN4 D  ");
    QTest::newRow("starting on a line end touches that line") << text << qint64(4) << qint64(6)
                                                              << QByteArray("N10 A\r\nX\r\nN2 B\r\nN3 C\r\nN4 D  ");
    QTest::newRow("last line keeps its trailing blanks") << text << qint64(24) << qint64(28)
                                                         << QByteArray("N1 A\r\nX\r\nN2 B\r\nN3 C\r\nN10 D  ");
    QTest::newRow("empty range touches nothing") << text << qint64(10) << qint64(10) << text;
    QTest::newRow("range on unnumbered lines only") << text << qint64(6) << qint64(8) << text;
    QTest::newRow("whole text") << text << qint64(0) << qint64(text.size())
                                << QByteArray("N10 A\r\nX\r\nN20 B\r\nN30 C\r\nN40 D  ");
    QTest::newRow("single line keeps its leading blanks") << QByteArray("  N5 A") << qint64(0) << qint64(6)
                                                          << QByteArray("  N5 A");
}

void TestRenumber::selectionOnly()
{
    QFETCH(QByteArray, before);
    QFETCH(qint64, from);
    QFETCH(qint64, to);
    QFETCH(QByteArray, after);
    RenumberOptions o = options(NumberForm::WithN, 10);
    o.selectionOnly = true;
    o.selectionFrom = from;
    o.selectionTo = to;
    const auto r = runBoth(before, o);
    QCOMPARE(r.text, after);
    oracle::Expectation e;
    e.selectionOnly = true;
    e.from = from;
    e.to = to;
    QCOMPARE(oracle::compare(before, r.text, e), QString());
}

// The QString entry point counts UTF-16 units, the UTF-8 one bytes: "é" is one unit and two bytes.
void TestRenumber::selectionCountsUtf16InQString()
{
    const QString text = QStringLiteral("(é)\r\nN5 A\r\nN6 B");
    RenumberOptions o = options(NumberForm::WithN, 10);
    o.selectionOnly = true;
    o.selectionFrom = text.indexOf(u"N6");
    o.selectionTo = o.selectionFrom + 1;
    QCOMPARE(numbering::renumberString(text, o).text, QStringLiteral("(é)\r\nN5 A\r\nN10 B"));
    const QByteArray bytes = text.toUtf8();
    o.selectionFrom = bytes.indexOf("N6");
    o.selectionTo = o.selectionFrom + 1;
    QCOMPARE(numbering::renumberUtf8(bytes, o).text, QByteArray("(é)\r\nN5 A\r\nN10 B"));
}

void TestRenumber::jumps_data()
{
    QTest::addColumn<NumberForm>("form");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<qint64>("updated");
    QTest::addColumn<qint64>("notFound");
    const NumberForm N = NumberForm::WithN;

    QTest::newRow("GOTO forward") << N << QByteArray("N5 GOTO 7\r\nN6\r\nN7 X") << QByteArray("N10 GOTO 30\r\nN20 \r\nN30 X")
                                  << qint64(1) << qint64(0);
    QTest::newRow("GOTOB backward, lower case, unnumbered line")
        << N << QByteArray("N5 X\r\nN6\r\nIF R1>0 gotob 5") << QByteArray("N10 X\r\nN20 \r\nIF R1>0 gotob 10") << qint64(1)
        << qint64(0);
    QTest::newRow("GOTOF N90 keeps its N") << N << QByteArray("N70 GOTOF N90\r\nN90 M30")
                                           << QByteArray("N10 GOTOF N20\r\nN20 M30") << qint64(1) << qint64(0);
    QTest::newRow("GOTOC, tabs and packed forms") << N << QByteArray("N1GOTOC\t3\r\nN2 GOTO3\r\nN3")
                                                  << QByteArray("N10 GOTOC\t30\r\nN20 GOTO30\r\nN30 ") << qint64(2)
                                                  << qint64(0);
    QTest::newRow("several targets on one line") << N
                                                 << QByteArray("N1 CASE(R1) OF 1 GOTOF 3 2 GOTOF N2 DEFAULT GOTOF 9\r\nN2\r\nN3")
                                                 << QByteArray("N10 CASE(R1) OF 1 GOTOF 30 2 GOTOF N20 DEFAULT GOTOF 9\r\nN20 \r\nN30 ")
                                                 << qint64(2) << qint64(1);
    QTest::newRow("missing target is left and counted") << N << QByteArray("N5 GOTO 99\r\nN6") << QByteArray("N10 GOTO 99\r\nN20 ")
                                                        << qint64(0) << qint64(1);
    QTest::newRow("labels, variables, decimals and other words are no targets")
        << N << QByteArray("N5 GOTOF MIDDLE\r\nN6 GOTO#10\r\nN7 GOTO 5.5\r\nN8 XGOTO 5\r\nN9 GOTOS\r\nN10 GOTO 5X\r\nN11 GOTO_5 5")
        << QByteArray("N10 GOTOF MIDDLE\r\nN20 GOTO#10\r\nN30 GOTO 5.5\r\nN40 XGOTO 5\r\nN50 GOTOS\r\nN60 GOTO 5X\r\nN70 GOTO_5 5")
        << qint64(0) << qint64(0);
    QTest::newRow("comments and messages are not read")
        << N << QByteArray("N5 X (GOTO 5)\r\nN6 X ; GOTO 5\r\nN7 MSG(\"GOTO 5\")\r\nN8 (M97 P5\r\nN9 GOTO 5 ; GOTO 6")
        << QByteArray("N10 X (GOTO 5)\r\nN20 X ; GOTO 5\r\nN30 MSG(\"GOTO 5\")\r\nN40 (M97 P5\r\nN50 GOTO 10 ; GOTO 6")
        << qint64(1) << qint64(0);
    QTest::newRow("M97 P, packed, P before M, leading zeros")
        << N << QByteArray("N1 M97 P3\r\nN2M97P3L2\r\nN3 P1 M097\r\nN4 G04 P3\r\nN5 M97.1 P3\r\nN6 M970 P3")
        << QByteArray("N10 M97 P30\r\nN20 M97P30L2\r\nN30 P10 M097\r\nN40 G04 P3\r\nN50 M97.1 P3\r\nN60 M970 P3")
        << qint64(3) << qint64(0);
    QTest::newRow("M97 with a decimal or missing target")
        << N << QByteArray("N1 M97 P3.\r\nN2 M97 P44\r\nN3") << QByteArray("N10 M97 P3.\r\nN20 M97 P44\r\nN30 ")
        << qint64(0) << qint64(1);
    QTest::newRow("M98 H only without P") << N << QByteArray("N1 M98 H3\r\nN2 M98 P100 H3\r\nN3 M98 P1 L3")
                                          << QByteArray("N10 M98 H30\r\nN20 M98 P100 H3\r\nN30 M98 P1 L3") << qint64(1)
                                          << qint64(0);
    QTest::newRow("duplicate number points to its first block")
        << N << QByteArray("N100 X1\r\nGOTOF N100\r\nN100 X5") << QByteArray("N10 X1\r\nGOTOF N10\r\nN20 X5") << qint64(1)
        << qint64(0);
    QTest::newRow("numbers compare by value") << N << QByteArray("N0090 X\r\nGOTO 90\r\nGOTO 000090")
                                              << QByteArray("N10 X\r\nGOTO 10\r\nGOTO 10") << qint64(2) << qint64(0);
    QTest::newRow("numbers beyond 64 bits") << N << QByteArray("N1234567890123456789012 X\r\nGOTO 1234567890123456789012\r\nGOTO 1234567890123456789013")
                                            << QByteArray("N10 X\r\nGOTO 10\r\nGOTO 1234567890123456789013") << qint64(1)
                                            << qint64(1);
    QTest::newRow("N without digits is no target") << N << QByteArray("N X\r\nGOTO 0") << QByteArray("N10 X\r\nGOTO 0")
                                                   << qint64(0) << qint64(1);
    QTest::newRow("form xxxx") << NumberForm::DigitsOnly << QByteArray("1 GOTO 2\r\n2 X\r\nN3 M97 P1")
                               << QByteArray("10 GOTO 20\r\n20 X\r\nN3 M97 P10") << qint64(2) << qint64(0);
}

void TestRenumber::jumps()
{
    QFETCH(NumberForm, form);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(qint64, updated);
    QFETCH(qint64, notFound);
    RenumberOptions o = options(form, 10);
    o.updateJumps = true;
    const auto r = runBoth(before, o);
    QCOMPARE(r.text, after);
    QCOMPARE(r.counts.jumpsUpdated, updated);
    QCOMPARE(r.counts.targetsNotFound, notFound);
}

void TestRenumber::jumpsNeedTheOption()
{
    const QByteArray text("N5 GOTO 6\r\nN6 M97 P5");
    const auto plain = runBoth(text, options(NumberForm::WithN, 10));
    QCOMPARE(plain.text, QByteArray("N10 GOTO 6\r\nN20 M97 P5"));
    QCOMPARE(plain.counts.jumpsUpdated, qint64(0));

    // With a selection, targets are updated in the whole text; blocks outside keep their numbers.
    RenumberOptions o = options(NumberForm::WithN, 10, 500);
    o.updateJumps = true;
    o.selectionOnly = true;
    const QByteArray program("N1 GOTO 3\r\nN2 GOTO 1\r\nN3 X\r\nN4 GOTO 2");
    o.selectionFrom = program.indexOf("N2");
    o.selectionTo = program.indexOf("N3") + 1;
    const auto r = runBoth(program, o);
    QCOMPARE(r.text, QByteArray("N1 GOTO 510\r\nN500 GOTO 1\r\nN510 X\r\nN4 GOTO 500"));
    QCOMPARE(r.counts.jumpsUpdated, qint64(3));
    QCOMPARE(r.counts.linesRenumbered, qint64(2));
}

void TestRenumber::refusedOptions_data()
{
    QTest::addColumn<qint64>("step");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<RenumberStatus>("status");
    QTest::newRow("step 0") << qint64(0) << qint64(-1) << RenumberStatus::InvalidStep;
    QTest::newRow("negative step") << qint64(-10) << qint64(5) << RenumberStatus::InvalidStep;
    QTest::newRow("negative start") << qint64(10) << qint64(-5) << RenumberStatus::InvalidStart;
    QTest::newRow("numbers past 64 bits") << qint64(10) << std::numeric_limits<qint64>::max() - 50
                                          << RenumberStatus::NumberOverflow;
}

void TestRenumber::refusedOptions()
{
    QFETCH(qint64, step);
    QFETCH(qint64, start);
    QFETCH(RenumberStatus, status);
    RenumberOptions o;
    o.step = step;
    if (start != -1)
        o.start = start;
    const QByteArray text("N5 A\r\nN6 B\r\n");
    const auto r = runBoth(text, o);
    QCOMPARE(r.status, status);
    QCOMPARE(r.text, text);
    QCOMPARE(r.counts.linesRenumbered, qint64(0));
}

// Far beyond the 50,000 lines of the program's fixed table: every line is renumbered.
void TestRenumber::longProgramHasNoLineLimit()
{
    constexpr int lineCount = 120000;
    QByteArray text;
    for (int i = 0; i < lineCount; ++i)
        text += (i % 3 == 2 ? QByteArray("(C)") : "N" + QByteArray::number(i) + " X1") + "\r\n";
    const auto r = numbering::renumberUtf8(text, options(NumberForm::WithN, 7));
    QCOMPARE(r.counts.lines, qint64(lineCount + 1));
    QCOMPARE(r.counts.linesRenumbered, qint64(lineCount / 3 * 2));
    QVERIFY(r.text.endsWith("N" + QByteArray::number(7 * (lineCount / 3 * 2)) + " X1\r\n(C)\r\n"));
    QCOMPARE(oracle::compare(text, r.text, {NumberForm::WithN, 7, 7}), QString());
}

void TestRenumber::progressRunsToTheEnd_data()
{
    QTest::addColumn<bool>("updateJumps");
    QTest::addColumn<int>("passes");
    QTest::newRow("one pass") << false << 1;
    QTest::newRow("with jump targets, two passes") << true << 2;
}

void TestRenumber::progressRunsToTheEnd()
{
    QFETCH(bool, updateJumps);
    QFETCH(int, passes);
    QByteArray text;
    for (int i = 0; i < 300000; ++i)
        text += "N1 G01 X1 Y2 GOTO 1\n";
    QList<std::pair<qint64, qint64>> calls;
    RenumberOptions o = options(NumberForm::WithN, 1);
    o.updateJumps = updateJumps;
    o.progress = [&](qint64 done, qint64 total) { calls.append({done, total}); };
    numbering::renumberUtf8(text, o);
    QVERIFY(!calls.isEmpty());
    // Far fewer calls than lines: the callback is not per line.
    QVERIFY(calls.size() < 300000 / 4096 * passes + 2);
    for (qsizetype i = 0; i < calls.size(); ++i) {
        QCOMPARE(calls[i].second, qint64(text.size()) * passes);
        QVERIFY(calls[i].first <= calls[i].second);
        if (i > 0)
            QVERIFY(calls[i].first >= calls[i - 1].first);
    }
    QCOMPARE(calls.last().first, calls.last().second);
}

QTEST_GUILESS_MAIN(TestRenumber)
#include "tst_renumber.moc"
