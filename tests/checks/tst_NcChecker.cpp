// The program checks, each rule found and not found, with their lines, columns and texts; and the
// program range: blocks, absolute extents, tools, feeds and speeds, and its French description.
#include "checks/NcChecker.h"
#include "checks/ProgramRange.h"

#include <QtTest>

using namespace tarmel;

namespace {

std::string_view view(const QByteArray &bytes)
{
    return {bytes.constData(), std::size_t(bytes.size())};
}

// "line:column:rule" for each finding, joined by blanks.
QString summary(const std::vector<NcFinding> &findings)
{
    QStringList parts;
    for (const NcFinding &f : findings)
        parts << QStringLiteral("%1:%2:%3").arg(f.line).arg(f.column).arg(f.ruleId);
    return parts.join(QLatin1Char(' '));
}

} // namespace

class TestNcChecker : public QObject {
    Q_OBJECT
private slots:
    void findings_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, QByteArray text, const char *expected) {
            QTest::newRow(name) << text << QString::fromUtf8(expected);
        };
        row("empty program", "", "");
        row("a sound program", "%\nO1000\nN10 G90 G00 X0 Y0 (depart)\nN20 G01 Z-1 F100\nN30 M30\n%\n", "");
        row("duplicate", "N10 G0\nN20 X1\nN10 Y1\n", "3:1:block-number-order 3:1:duplicate-block-number");
        row("out of order", "N10\nN30\nN20\nN40\n", "3:1:block-number-order");
        row("unnumbered blocks in between", "N10\nG0 X1\nN20\n", "");
        row("block delete before the number", "/N20\n/N10\n", "2:2:block-number-order");
        row("fractional numbers rise", "N10\nN10.5\nN11\n", "");
        row("a new program starts over", "O1\nN10\nN20\nM99\nO2\nN10\nN20\nM99\n", "");
        row("percent name starts over", "%_N_A\nN10\n%_N_B\nN10\n", "");
        row("byte-order mark", "\xEF\xBB\xBF%\nM30\n%\n", "");
        row("five digits", "N99999 G0\n", "");
        row("six digits", "N100000 G0\n", "1:1:block-number-digits");
        row("leading zeros count", "N000010\n", "1:1:block-number-digits");
        row("decimals are no digits of the number", "N4567.789\n", "");
        row("N later in the block is no block number", "G1 N10\nG1 N10\n", "");
        row("no start percent, no end needed", "G0 X1\n", "");
        row("start percent, M02", "%\nG0\nM02\n%", "");
        row("start percent, M99 ends a subprogram", "%\nM99\n%\n", "");
        row("start percent, no end percent", "%\nM30\n", "2:1:missing-end-percent");
        row("start percent, no M30", "%\nG0\n%\n", "3:1:missing-program-end");
        row("M30 in a comment does not count", "%\n(M30)\n%\n", "3:1:missing-program-end");
        row("start percent after blank lines", "\n  \n%\nM30\n", "4:1:missing-end-percent");
        row("percent after a block is no start", "G0\n%\n", "");
        row("open comment", "G0 (open\n", "1:4:unbalanced-parentheses");
        row("stray closing", "G0 X1) Y2\n", "1:6:unbalanced-parentheses");
        row("closing in a semicolon comment", "G0 ; a)\n", "");
        row("balanced nested", "(a (b) c) G0\n", "");
        row("letter alone", "G1 X Y1\n", "1:4:word-without-value");
        row("sign alone", "G1 X-\n", "1:4:word-without-value");
        row("expression is a value", "G1 X[#1+2] Y#2\n", "");
        row("keywords are no words", "IF [#1 GT 2] GOTO 10\n", "");
        row("N alone", "N G0\n", "1:1:word-without-value");
        row("words in a message", "MSG (\"X fin\")\nerrmsg \"Z- (\"\n", "");
        row("names", "O<cone> sub\nsub x_plus\nE_MULTIPLIER = 1\n", "");
        row("blank before the value", "G3 I -20\n", "");
        row("axis named after a keyword", "home z\n", "");
        row("letter after a symbol is a word", "#1 = X\n", "1:6:word-without-value");
        row("M30 in a message does not count", "%\nMSG(\"M30\")\n%\n", "3:1:missing-program-end");
        row("two motion codes", "G00 G01 X1\n", "1:5:modal-group-conflict");
        row("G0 and G1 written apart", "G0 X1 G1 Y2\n", "1:7:modal-group-conflict");
        row("distance modes", "G90 G91\n", "1:5:modal-group-conflict");
        row("planes", "G17 G18 G19\n", "1:5:modal-group-conflict 1:9:modal-group-conflict");
        row("codes of different groups", "G01 G90 G17 G40 G41\n", "");
        row("same group on two lines", "G0\nG1\n", "");
        row("one finding a line", "(été é)\n", "1:2:accented-character");
        row("both kinds", "(é ñ)\n", "1:2:accented-character 1:4:non-ascii-character");
        row("column in characters", "(é)\tX1\n", "1:2:accented-character 1:4:tab-character");
        row("invalid UTF-8 byte", "G0 \xFF\n", "1:4:non-ascii-character");
        row("findings ordered by line", "N20 G0 G1\r\nN10 X\r\n",
            "1:8:modal-group-conflict 2:1:block-number-order 2:5:word-without-value");
        row("lone CR ends lines", "N10\rN10\r", "2:1:duplicate-block-number");
    }

    void findings()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, expected);
        QCOMPARE(summary(checkNcProgram(view(text))), expected);
    }

    void texts()
    {
        const std::pair<QByteArray, const char *> rows[] = {
            {"N10\nN20\nN10\n", "Numéro de bloc en double (déjà à la ligne 1)"},
            {"N20\nN10.5\n", "Numéro de bloc hors d'ordre (N10.5 après N20)"},
            {"N123456\n", "Numéro de bloc de plus de cinq chiffres (« N123456 »)"},
            {"X\n", "Adresse sans valeur numérique (« X »)"},
            {"G00 G1\n", "Deux codes G du même groupe modal dans un bloc (G00 et G1)"},
            {"é\n", "Lettre accentuée refusée par la plupart des commandes : utiliser « &Supprimer les accents » (« é »)"},
            {"ñ\n", "Caractère non ASCII refusé par la plupart des commandes (« ñ »)"},
            {"(a\n", "Parenthèses non équilibrées (« ( » sans « ) »)"},
            {"a)\n", "Parenthèses non équilibrées (« ) » sans « ( »)"},
            {"%\nM30\n", "« % » de fin manquant : le programme commence par « % »"},
            {"%\n%\n", "Fin de programme (M30 ou M02) manquante : le programme commence par « % »"}};
        for (const auto &[text, expected] : rows) {
            const std::vector<NcFinding> findings = checkNcProgram(view(text));
            QVERIFY(!findings.empty());
            QCOMPARE(findings.back().text, QString::fromUtf8(expected));
        }
    }

    void range_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("expected"); // blocks; x; y; z; G91 blocks; tools; feed; speed
        const auto row = [](const char *name, QByteArray text, const char *expected) {
            QTest::newRow(name) << text << QString::fromUtf8(expected);
        };
        row("empty", "", "0;-;-;-;0;;-;-");
        row("comments, percent and names are no blocks", "%\nO100 (x)\n(G0 X5)\n; Y3\n\n%\n", "0;-;-;-;0;;-;-");
        row("absolute moves", "G90 G0 X10 Y-5\nG1 X-2.5 Z-1 F200\nX30\n", "3;-2.5..30;-5..-5;-1..-1;0;;200..200;-");
        row("G90 is the start-up mode", "X1\nX2\n", "2;1..2;-;-;0;;-;-");
        row("incremental moves left out", "X5\nG91 X1 Y1\nX1\nG90 Y7\n", "4;5..5;7..7;-;2;;-;-");
        row("G90 later in the block applies to it", "G91\nX1 G90\n", "2;1..1;-;-;0;;-;-");
        row("dwell and offsets are no moves", "G04 X2\nG10 L2 P1 X100\nG92 X-7\nG52 Z9\nX3\n", "5;3..3;-;-;0;;-;-");
        row("tools once, ascending", "T5 M6\nT1\nT5\nT0101\n", "4;-;-;-;0;1,5,101;-;-");
        row("feeds and speeds", "F100 S2000\nF50\nS12000 F1500\n", "3;-;-;-;0;;50..1500;2000..12000");
        row("words in comments do not count", "G0 X1 (X99 T9 F9)\n", "1;1..1;-;-;0;;-;-");
        row("expressions have no value", "X[#1]\nX2\n", "2;2..2;-;-;0;;-;-");
        row("block delete counts", "/X4\n", "1;4..4;-;-;0;;-;-");
        row("byte-order mark", "\xEF\xBB\xBFX4\n", "1;4..4;-;-;0;;-;-");
    }

    void range()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, expected);
        const ProgramRange r = computeProgramRange(view(text));
        const auto extent = [](const AxisExtent &e) {
            return e.seen ? QStringLiteral("%1..%2").arg(e.min).arg(e.max) : QStringLiteral("-");
        };
        QStringList tools;
        for (int t : r.tools)
            tools << QString::number(t);
        const QString got = QStringList{QString::number(r.blocks), extent(r.x), extent(r.y), extent(r.z),
                                        QString::number(r.incrementalMoves), tools.join(QLatin1Char(',')),
                                        extent(r.feed), extent(r.speed)}
                                .join(QLatin1Char(';'));
        QCOMPARE(got, expected);
    }

    void description()
    {
        const QByteArray program = "%\nT2 M6\nG90 G0 X-12.5 Y0.00005 S1500\nG1 Z-3 F80\nG91 X1\nT1 F1200.\nM30\n%\n";
        QCOMPARE(describeProgramRange(computeProgramRange(view(program))),
                 QStringLiteral("Blocs : 6\n"
                                "X : -12.5 à -12.5 (déplacements absolus G90 seulement)\n"
                                "Y : 0.00005 à 0.00005 (déplacements absolus G90 seulement)\n"
                                "Z : -3 à -3 (déplacements absolus G90 seulement)\n"
                                "Blocs en G91 non comptés : 1\n"
                                "Outils : T1, T2\n"
                                "Avances : F80 à F1200\n"
                                "Vitesses de broche : S1500 à S1500\n"));
        QCOMPARE(describeProgramRange(computeProgramRange(view(QByteArray("(vide)\n")))),
                 QStringLiteral("Blocs : 0\n"
                                "X : aucun déplacement (déplacements absolus G90 seulement)\n"
                                "Y : aucun déplacement (déplacements absolus G90 seulement)\n"
                                "Z : aucun déplacement (déplacements absolus G90 seulement)\n"
                                "Outils : aucun\n"
                                "Avances : aucune\n"
                                "Vitesses de broche : aucune\n"));
    }
};


QTEST_APPLESS_MAIN(TestNcChecker)
#include "tst_NcChecker.moc"
