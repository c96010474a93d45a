#include "batch/CommandLine.h"

#include <QRegularExpression>
#include <QTest>

using tarmel::batch::CommandLineOutcome;
using tarmel::batch::parseCommandLine;

Q_DECLARE_METATYPE(CommandLineOutcome::Kind)

class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void helpListsEveryCommandInBothLanguages();
};

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<CommandLineOutcome::Kind>("kind");
    QTest::addColumn<QString>("option");          // Command: the command's option
    QTest::addColumn<QStringList>("passedOn");    // Window: its arguments; Command: its operands
    QTest::addColumn<QString>("messagePart");     // UsageError: a part of the message
    using K = CommandLineOutcome::Kind;
    QTest::newRow("nothing") << QStringList{} << K::Window << "" << QStringList{} << "";
    QTest::newRow("file") << QStringList{"a.iso"} << K::Window << "" << QStringList{"a.iso"} << "";
    QTest::newRow("option after a file") << QStringList{"a.iso", "--version"} << K::Window << ""
                                         << QStringList{"a.iso", "--version"} << "";
    QTest::newRow("dash file after --") << QStringList{"--", "-n.iso"} << K::Window << ""
                                        << QStringList{"-n.iso"} << "";
    QTest::newRow("only --") << QStringList{"--"} << K::Window << "" << QStringList{} << "";
    QTest::newRow("version") << QStringList{"--version"} << K::Command << "--version" << QStringList{} << "";
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << K::UsageError << "" << QStringList{}
                                    << "option inconnue « --frobnicate »";
    QTest::newRow("no abbreviation, letter case counts") << QStringList{"--Vers"} << K::UsageError << "" << QStringList{}
                                                         << "option inconnue « --Vers »";
    QTest::newRow("dash file alone") << QStringList{"-n.iso"} << K::UsageError << "" << QStringList{}
                                     << "option inconnue « -n.iso »";
    QTest::newRow("lone dash") << QStringList{"-"} << K::UsageError << "" << QStringList{}
                               << "option inconnue « - »";
    QTest::newRow("operand to a command without any") << QStringList{"--version", "a.iso"} << K::UsageError << ""
                                                      << QStringList{} << "« --version » n'accepte pas d'argument (« a.iso »)";
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(CommandLineOutcome::Kind, kind);
    QFETCH(QString, option);
    QFETCH(QStringList, passedOn);
    QFETCH(QString, messagePart);
    const CommandLineOutcome outcome = parseCommandLine(arguments);
    QCOMPARE(outcome.kind, kind);
    QCOMPARE(outcome.command ? QString(outcome.command->option) : QString(), option);
    QCOMPARE(outcome.arguments, passedOn);
    QVERIFY2(messagePart.isEmpty() ? outcome.message.isEmpty() : outcome.message.contains(messagePart), qPrintable(outcome.message));
}

// Each command has one line in the French part and one in the English part, its operands and help aligned.
void TestCommandLine::helpListsEveryCommandInBothLanguages()
{
    const QString help = tarmel::batch::helpText();
    QVERIFY(help.startsWith(QStringLiteral("Utilisation : tarmel")));
    const qsizetype english = help.indexOf(QStringLiteral("\nUsage: tarmel"));
    QVERIFY(english > 0);
    const auto lineOf = [&help](const QString &option, const char16_t *text) {
        return help.indexOf(QRegularExpression(QStringLiteral("\n  %1(?: \\S+)* +%2\n")
                                                   .arg(QRegularExpression::escape(option),
                                                        QRegularExpression::escape(QString::fromUtf16(text)))));
    };
    for (const tarmel::batch::BatchCommand &command : tarmel::batch::batchCommands()) {
        const QString option(command.option);
        const qsizetype french = lineOf(option, command.helpFrench);
        QVERIFY2(french > 0 && french < english, qPrintable(option));
        QVERIFY2(lineOf(option, command.helpEnglish) > english, qPrintable(option));
    }
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_CommandLine.moc"
