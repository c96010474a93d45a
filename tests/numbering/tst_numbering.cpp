// Renumbering (its rules; the shared corpus against an independent oracle), the panels' number fields, automatic numbering.
#include "numbering/AutoNumbering.h"
#include "numbering/NumberingTexts.h"
#include "numbering/Renumber.h"
#include "tests/files/FileTestTools.h"
#include "tests/support/TestPaths.h"

#include <QRegularExpression>
#include <QTest>

using numbering::NumberForm;
using numbering::RenumberOptions;

namespace {

// "N|x step [@start] [from-to] [jumps]": form, step, first number, selection (byte offsets), jump targets.
RenumberOptions options(const QString &described)
{
    static const QRegularExpression grammar("^([Nx]) (-?\\d+)(?: @(-?\\d+))?(?: (\\d+)-(\\d+))?( jumps)?$");
    const QRegularExpressionMatch m = grammar.match(described);
    RenumberOptions o;
    o.form = m.captured(1) == u"N" ? NumberForm::WithN : NumberForm::DigitsOnly;
    o.step = m.captured(2).toLongLong();
    if (m.hasCaptured(3))
        o.start = m.captured(3).toLongLong();
    o.selectionOnly = m.hasCaptured(4);
    o.selectionFrom = m.captured(4).toInt();
    o.selectionTo = m.captured(5).toInt();
    o.updateJumps = m.hasCaptured(6);
    return o;
}

// "lines renumbered/jumps updated/targets not found", or why nothing was changed.
template <typename Result>
QString outcome(const Result &r)
{
    const auto &c = r.counts;
    const QString outcomes[] = {QStringLiteral("%1/%2/%3").arg(c.linesRenumbered).arg(c.jumpsUpdated).arg(c.targetsNotFound),
                                "step refused", "start refused", "overflow"};
    return outcomes[int(r.status)];
}

// The oracle of whole-text runs: rebuilds each line from its parts; returns the first difference, or nothing.
QString oracleDifference(const QByteArray &original, const QByteArray &output, const RenumberOptions &o)
{
    static const QRegularExpression lineEnd("\r\n|\r|\n");
    static const QRegularExpression numbered[] = {QRegularExpression("^(/?)[Nn](?![A-Za-z_])[0-9]*(.*)$"), QRegularExpression("^()[0-9]+(.*)$")};
    QStringList before = QString::fromLatin1(original).split(lineEnd), after = QString::fromLatin1(output).split(lineEnd);
    const auto ends = [](QByteArray text) { return text.removeIf([](char c) { return c != '\r' && c != '\n'; }); };
    if (after.size() != before.size() || ends(output) != ends(original))
        return QStringLiteral("lines or line ends changed");
    while (before.last().endsWith(u' '))   // blanks end the last line, and a single line loses leading ones
        before.last().chop(1);
    while (before.size() == 1 && before[0].startsWith(u' '))
        before[0].remove(0, 1);
    qint64 number = o.start.value_or(o.step);
    for (qsizetype i = 0; i < before.size(); ++i) {
        const QRegularExpressionMatch m = numbered[int(o.form)].match(before[i]);
        QString expected = before[i];
        if (m.hasMatch()) {
            const QString prefix = m.captured(1).isEmpty() ? (o.form == NumberForm::WithN ? "N" : "") : "/N";
            expected = prefix + QString::number(number) + (prefix != u"/N" && !m.captured(2).startsWith(u' ') ? " " : "") + m.captured(2);
            number += o.step;
        }
        if (after[i] != expected)
            return QStringLiteral("line %1: expected \"%2\", got \"%3\"").arg(i + 1).arg(expected, after[i]);
    }
    return QString();
}

} // namespace

class TestNumbering : public QObject {
    Q_OBJECT

private slots:
    void renumber_data()
    {
        QTest::addColumn<QString>("described"); QTest::addColumn<QString>("before"); QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("outcome");
        const QString five = "N1 A\r\nX\r\nN2 B\r\nN3 C\r\nN4 D  ";   // lines at 0, 6, 9, 15, 21
        const qint64 bound = std::numeric_limits<qint64>::max() - 70;   // the 64-bit check counts the text's 6 code units + 1
        QTest::newRow("the program's examples") << "N 10" << "N5 G00 X0\r\nN7G01\r\n/N33 M01\r\n%\r\n(PROGRAMME)\r\nN"
                                                << "N10 G00 X0\r\nN20 G01\r\n/N30 M01\r\n%\r\n(PROGRAMME)\r\nN40 " << "4/0/0";
        QTest::newRow("form xxxx, start 0") << "x 5 @0" << "3 G00\r\n17G01\r\nN5" << "0 G00\r\n5 G01\r\nN5" << "2/0/0";
        QTest::newRow("twenty-two digits") << "N 10" << "/N1234567890123456789012X\r\nN98765432109876543210987654" << "/N10X\r\nN20 " << "2/0/0";
        QTest::newRow("/N gets no blank; prefixes upper-cased; words") << "N 10" << "/N20X1\r\nn20x1\r\n/N\r\n/n5 y\r\nNOT\r\nN_A"
                                                                       << "/N10X1\r\nN20 x1\r\n/N30\r\n/N40 y\r\nNOT\r\nN_A" << "4/0/0";
        QTest::newRow("non-ASCII rest copied") << "N 10" << "N5 (é 醫 🔧)\rN6ü\r\nN7\u200d" << "N10 (é 醫 🔧)\rN20 ü\r\nN30 \u200d" << "3/0/0";
        QTest::newRow("line ends around 8-byte boundaries") << "N 10" << "N1 ABCDEF\r\nN2 ABCDEFG\nN3 ABCDEFGH\rN4\tABCDEFGHIJ\r\n\r\nN5"
                                                            << "N10 ABCDEF\r\nN20 ABCDEFG\nN30 ABCDEFGH\rN40 \tABCDEFGHIJ\r\n\r\nN50 " << "5/0/0";
        QTest::newRow("final CR LF kept") << "N 10" << "N5\r\n" << "N10 \r\n" << "1/0/0";
        QTest::newRow("CR CR LF: CR, CR LF; LF CR: LF, CR") << "N 10" << "N5\r\r\nN6\n\rN7" << "N10 \r\r\nN20 \n\rN30 " << "3/0/0";
        QTest::newRow("blanks end the last line: removed") << "N 10" << "N5 A  \r\nN6 B   " << "N10 A  \r\nN20 B" << "2/0/0";
        QTest::newRow("a single line loses its blanks; the number gets one") << "N 10" << "   N5   " << "N10 " << "1/0/0";
        QTest::newRow("leading blanks kept with a line end") << "N 10" << "   N5\r\nX" << "   N5\r\nX" << "0/0/0";
        QTest::newRow("only blanks (32) are trimmed") << "N 10" << "\tN5 A\t" << "\tN5 A\t" << "0/0/0";
        QTest::newRow("selection inside one line") << "N 10 10-11" << five << "N1 A\r\nX\r\nN10 B\r\nN3 C\r\nN4 D  " << "1/0/0";
        QTest::newRow("ending at a line start leaves it") << "N 10 9-15" << five << "N1 A\r\nX\r\nN10 B\r\nN3 C\r\nN4 D  " << "1/0/0";
        QTest::newRow("starting on a line end takes it") << "N 10 4-6" << five << "N10 A\r\nX\r\nN2 B\r\nN3 C\r\nN4 D  " << "1/0/0";
        QTest::newRow("last line keeps its blanks") << "N 10 24-28" << five << "N1 A\r\nX\r\nN2 B\r\nN3 C\r\nN10 D  " << "1/0/0";
        QTest::newRow("empty selection") << "N 10 10-10" << five << five << "0/0/0";
        QTest::newRow("selection after non-ASCII") << "N 10 12-13" << "(é)\r\nN5 A\r\nN6 B" << "(é)\r\nN5 A\r\nN10 B" << "1/0/0";
        QTest::newRow("jumps need the option") << "N 10" << "N5 GOTO 6\r\nN6 M97 P5" << "N10 GOTO 6\r\nN20 M97 P5" << "2/0/0";
        QTest::newRow("GOTO forward, gotob back from an unnumbered line") << "N 10 jumps" << "N5 GOTO 7\r\nN6\r\nN7 X\r\nIF R1>0 gotob 5"
                                                                          << "N10 GOTO 30\r\nN20 \r\nN30 X\r\nIF R1>0 gotob 10" << "3/2/0";
        QTest::newRow("GOTOF N, GOTOC, tab, packed") << "N 10 jumps" << "N1 GOTOF N3\r\nN2GOTOC\t3\r\nN3 GOTO1"
                                                     << "N10 GOTOF N30\r\nN20 GOTOC\t30\r\nN30 GOTO10" << "3/3/0";
        QTest::newRow("several targets, one missing") << "N 10 jumps" << "N1 CASE(R1) OF 1 GOTOF 3 2 GOTOF N2 DEFAULT GOTOF 9\r\nN2\r\nN3"
                                                      << "N10 CASE(R1) OF 1 GOTOF 30 2 GOTOF N20 DEFAULT GOTOF 9\r\nN20 \r\nN30 " << "3/2/1";
        QTest::newRow("labels, variables, decimals, words: no targets")
            << "N 10 jumps" << "N5 GOTOF MIDDLE\r\nN6 GOTO#10\r\nN7 GOTO 5.5\r\nN8 XGOTO 5\r\nN9 GOTOS\r\nN10 GOTO 5X\r\nN11 GOTO_5 5"
            << "N10 GOTOF MIDDLE\r\nN20 GOTO#10\r\nN30 GOTO 5.5\r\nN40 XGOTO 5\r\nN50 GOTOS\r\nN60 GOTO 5X\r\nN70 GOTO_5 5" << "7/0/0";
        QTest::newRow("comments and messages are not read")
            << "N 10 jumps" << "N5 X (GOTO 5)\r\nN6 X ; GOTO 5\r\nN7 MSG(\"GOTO 5\")\r\nN8 (M97 P5\r\nN9 GOTO 5 ; GOTO 6"
            << "N10 X (GOTO 5)\r\nN20 X ; GOTO 5\r\nN30 MSG(\"GOTO 5\")\r\nN40 (M97 P5\r\nN50 GOTO 10 ; GOTO 6" << "5/1/0";
        QTest::newRow("M97 P: packed, P first, leading zeros")
            << "N 10 jumps" << "N1 M97 P3\r\nN2M97P3L2\r\nN3 P1 M097\r\nN4 G04 P3\r\nN5 M97.1 P3\r\nN6 M970 P3\r\nN7 M97 P3."
            << "N10 M97 P30\r\nN20 M97P30L2\r\nN30 P10 M097\r\nN40 G04 P3\r\nN50 M97.1 P3\r\nN60 M970 P3\r\nN70 M97 P3." << "7/3/0";
        QTest::newRow("M98 H only without P") << "N 10 jumps" << "N1 M98 H3\r\nN2 M98 P100 H3\r\nN3 M98 P1 L3\r\nN4 M97 P44"
                                              << "N10 M98 H30\r\nN20 M98 P100 H3\r\nN30 M98 P1 L3\r\nN40 M97 P44" << "4/1/1";
        QTest::newRow("duplicates: the first block") << "N 10 jumps" << "N100\r\nGOTOF N100\r\nN100" << "N10 \r\nGOTOF N10\r\nN20 " << "2/1/0";
        QTest::newRow("numbers compare by value, beyond 64 bits too")
            << "N 10 jumps" << "N0090\r\nGOTO 000090\r\nN1234567890123456789012\r\nGOTO 1234567890123456789012\r\nGOTO 1234567890123456789013"
            << "N10 \r\nGOTO 10\r\nN20 \r\nGOTO 20\r\nGOTO 1234567890123456789013" << "2/2/1";
        QTest::newRow("N without digits is no target") << "N 10 jumps" << "N X\r\nGOTO 0" << "N10 X\r\nGOTO 0" << "1/0/1";
        QTest::newRow("jumps in form xxxx") << "x 10 jumps" << "1 GOTO 2\r\n2 X\r\nN3 M97 P1" << "10 GOTO 20\r\n20 X\r\nN3 M97 P10" << "2/2/0";
        QTest::newRow("selection: jumps updated everywhere") << "N 10 @500 11-23 jumps" << "N1 GOTO 3\r\nN2 GOTO 1\r\nN3 X\r\nN4 GOTO 2"
                                                             << "N1 GOTO 510\r\nN500 GOTO 1\r\nN510 X\r\nN4 GOTO 500" << "2/3/0";
        QTest::newRow("step 0") << "N 0" << "N5\r\n" << "N5\r\n" << "step refused";
        QTest::newRow("negative start") << "N 10 @-5" << "N5\r\n" << "N5\r\n" << "start refused";
        QTest::newRow("largest start the 64-bit check allows") << QStringLiteral("N 10 @%1").arg(bound) << "N5\r\nN6"
                                                               << QStringLiteral("N%1 \r\nN%2 ").arg(bound).arg(bound + 10) << "2/0/0";
        QTest::newRow("one more: numbers could pass 64 bits") << QStringLiteral("N 10 @%1").arg(bound + 1) << "N5\r\nN6" << "N5\r\nN6" << "overflow";
    }

    // Both entry points (UTF-8 bytes, QString with UTF-16 offsets) give the same result.
    void renumber()
    {
        QFETCH(QString, described); QFETCH(QString, before); QFETCH(QString, after); QFETCH(QString, outcome);
        RenumberOptions o = options(described);
        const auto bytes = numbering::renumberUtf8(before.toUtf8(), o);
        QCOMPARE(QString::fromUtf8(bytes.text) + " | " + ::outcome(bytes), after + " | " + outcome);
        o.selectionFrom = QString::fromUtf8(before.toUtf8().left(o.selectionFrom)).size();
        o.selectionTo = QString::fromUtf8(before.toUtf8().left(o.selectionTo)).size();
        const auto string = numbering::renumberString(before, o);
        QCOMPARE(string.text + " | " + ::outcome(string), after + " | " + outcome);
    }

    void corpus_data()
    {
        QTest::addColumn<QString>("file");
        SKIP_WITHOUT_CORPUS(QStringLiteral("nc"));
        for (const QString &f : QDir(testsupport::corpusPath(QStringLiteral("nc"))).entryList(QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(f)) << f;
    }

    // Both forms agree with the oracle; jump targets change digits only, as expected (step 5); progress reaches the end.
    void corpus()
    {
        QFETCH(QString, file);
        const QByteArray original = filetest::readPlain(testsupport::corpusPath("nc/" + file));
        const QMap<QString, QByteArray> jumpLines{{"cead_goto.mpf", "N35 GOTOF 45 ; block numbers are valid jump destinations too\n"},
                                                  {"cead_edge_cases.mpf", "\nGOTOF N30\nN35 X5\n"}, {"linuxcnc_m98m99_basics.ngc", "M98 P1 L3\n"}};
        static const QRegularExpression digits("[0-9]+");
        for (const QString described : {"N 5", "x 7"}) {
            RenumberOptions o = options(described + " jumps");
            qint64 done = 0, total = 0;
            o.progress = [&](qint64 at, qint64 of) { done = std::max(done, at), total = of; };
            const auto plain = numbering::renumberUtf8(original, options(described)), jumps = numbering::renumberUtf8(original, o);
            QCOMPARE(QList<qint64>({done, total}), QList<qint64>(2, 2 * original.size()));
            QCOMPARE(oracleDifference(original, plain.text, options(described)), QString());
            QCOMPARE(QString::fromLatin1(jumps.text).replace(digits, "#"), QString::fromLatin1(plain.text).replace(digits, "#"));
            if (described == u"N 5" && jumpLines.contains(file))
                QVERIFY2(jumps.text.contains(jumpLines[file]), jumps.text.constData());
        }
    }

    // A field's text read: "values" is "value/increment/first number": the text as a number, a 16-bit
    // increment, a first number (step 7); "step" is "value|field text|start enabled|message" after a change
    // of the step field, where writing the text back settles. Empty: not looked at.
    void fields_data()
    {
        QTest::addColumn<QString>("text"); QTest::addColumn<QString>("values"); QTest::addColumn<QString>("step");
        QTest::newRow("empty") << "" << "0/0/7" << "0|0|off|";
        QTest::newRow("leading blanks and zeros, up to a letter") << "  012ab3" << "12/12/12" << "";
        QTest::newRow("zero") << "0" << "0/0/0" << "";
        QTest::newRow("pasted minus") << "-5" << "-5/-5/7" << "1|1|on|" + numbering::texts::stepMinimum();
        QTest::newRow("pasted -0") << "-0" << "" << "0|0|off|";
        QTest::newRow("plus") << "+5" << "5/5/5" << "";
        QTest::newRow("sign alone, letters") << "-x" << "0/0/7" << "";
        QTest::newRow("below 16 bits") << "-40000" << "-40000/-32768/7" << "";
        QTest::newRow("beyond 64 bits saturates") << "99999999999999999999999" << "9223372036854775807/32767/9223372036854775807" << "";
        QTest::newRow("step 1") << "1" << "" << "1|1|on|";
        QTest::newRow("step 50") << "50" << "" << "50|50|on|";
        QTest::newRow("step 51") << "51" << "" << "50|50|on|" + numbering::texts::stepMaximum();
        QTest::newRow("step with a leading zero dropped") << "05" << "" << "5|5|on|";
    }
    void fields()
    {
        QFETCH(QString, text); QFETCH(QString, values); QFETCH(QString, step);
        if (!values.isEmpty())
            QCOMPARE(QString("%1/%2/%3").arg(numbering::autoStartFieldValue(text)).arg(numbering::autoIncrementFieldValue(text))
                         .arg(numbering::renumberStartNumber(text, 7)), values);
        const auto describe = [](const numbering::StepFieldResult &r) {
            return QString::number(r.value) + u'|' + r.fieldText + (r.startEnabled ? "|on|" : "|off|") + r.message;
        };
        if (!step.isEmpty()) {
            QCOMPARE(describe(numbering::validateStep(text)), step);
            QCOMPARE(describe(numbering::validateStep(numbering::validateStep(text).fieldText)), step.section(u'|', 0, 2) + u'|');
        }
    }

    // "inserted text|next number" for a number and an increment, in the form the text shows.
    void insertion_data()
    {
        QTest::addColumn<qint64>("number"); QTest::addColumn<int>("increment"); QTest::addColumn<QString>("result");
        constexpr qint64 top = std::numeric_limits<qint64>::max(), bottom = std::numeric_limits<qint64>::min();
        QTest::newRow("N10 + 10") << qint64(10) << 10 << "N10 |20";
        QTest::newRow("digits only, beyond five digits") << qint64(99995) << 10 << "99995 |100005";
        QTest::newRow("emptied increment repeats the number") << qint64(30) << 0 << "N30 |30";
        QTest::newRow("negative increment and number") << qint64(-5) << -5 << "-5 |-10";
        QTest::newRow("saturates at the top") << top - 3 << 10 << QString("N%1 |%2").arg(top - 3).arg(top);
        QTest::newRow("saturates at the bottom") << bottom + 1 << -10 << QString("%1 |%2").arg(bottom + 1).arg(bottom);
    }

    void insertion()
    {
        QFETCH(qint64, number); QFETCH(int, increment); QFETCH(QString, result);
        const auto form = result.startsWith(u'N') ? numbering::NumberForm::WithN : numbering::NumberForm::DigitsOnly;
        QCOMPARE(numbering::autoNumberText(number, form) + u'|' + QString::number(numbering::nextAutoNumber(number, qint16(increment))), result);
    }
};

QTEST_GUILESS_MAIN(TestNumbering)
#include "tst_numbering.moc"
