// The command line: a window with its files, a command with its operands, or a usage error; the help.
#include "batch/CommandLine.h"

#include <QRegularExpression>
#include <QTest>

using tarmel::batch::CommandLineOutcome;
using tarmel::batch::parseCommandLine;

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected"); // "window a b", "command --option a b" or "error <a part of the message>"
        const auto row = [](const char *name, QStringList arguments, const char *expected) {
            QTest::newRow(name) << arguments << QString::fromUtf8(expected);
        };
        row("nothing", {}, "window");
        row("file", {"a.iso"}, "window a.iso");
        row("option after a file", {"a.iso", "--version"}, "window a.iso --version");
        row("dash file after --", {"--", "-n.iso"}, "window -n.iso");
        row("only --", {"--"}, "window");
        row("version", {"--version"}, "command --version");
        row("unknown option", {"--frobnicate"}, "error option inconnue « --frobnicate »");
        row("no abbreviation, letter case counts", {"--Vers"}, "error option inconnue « --Vers »");
        row("dash file alone", {"-n.iso"}, "error option inconnue « -n.iso »");
        row("lone dash", {"-"}, "error option inconnue « - »");
        row("operand to a command without any", {"--version", "a.iso"}, "error « --version » n'accepte pas d'argument (« a.iso »)");
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        const CommandLineOutcome o = parseCommandLine(arguments);
        using K = CommandLineOutcome::Kind;
        QStringList got{o.kind == K::Window ? "window" : o.kind == K::Command ? "command" : "error"};
        if (o.command)
            got << QString(o.command->option);
        got += o.arguments;
        if (o.kind == K::UsageError)
            QVERIFY2(o.message.contains(expected.section(' ', 1)), qPrintable(o.message));
        else
            QVERIFY2(o.message.isEmpty(), qPrintable(o.message));
        QCOMPARE(got.join(' '), o.kind == K::UsageError ? "error" : expected);
    }

    // Each command has one line in the French part and one in the English part, its operands and help aligned.
    void helpListsEveryCommandInBothLanguages()
    {
        const QString help = tarmel::batch::helpText();
        QVERIFY(help.startsWith(QStringLiteral("Utilisation : tarmel")));
        const qsizetype english = help.indexOf(QStringLiteral("\nUsage: tarmel"));
        QVERIFY(english > 0);
        const auto lineOf = [&help](const QString &option, const char16_t *text) {
            return help.indexOf(QRegularExpression(QStringLiteral("\n  %1(?: \\S+)* +%2\n")
                                                       .arg(QRegularExpression::escape(option), QRegularExpression::escape(QString::fromUtf16(text)))));
        };
        for (const tarmel::batch::BatchCommand &command : tarmel::batch::batchCommands()) {
            const QString option(command.option);
            const qsizetype french = lineOf(option, command.helpFrench);
            QVERIFY2(french > 0 && french < english && lineOf(option, command.helpEnglish) > english, qPrintable(option));
        }
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_CommandLine.moc"
