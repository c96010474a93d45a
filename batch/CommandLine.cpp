#include "batch/CommandLine.h"

#include <algorithm>
#include <array>

#ifndef TARMEL_VERSION
#error "TARMEL_VERSION comes from the project version in CMake"
#endif

namespace tarmel::batch {

namespace {

int runHelp(const QStringList &, QTextStream &out, QTextStream &)
{
    out << helpText();
    return 0;
}

int runVersion(const QStringList &, QTextStream &out, QTextStream &)
{
    out << QStringLiteral("Tarmel " TARMEL_VERSION "\n");
    return 0;
}

const std::array<BatchCommand, 2> commands{{
    {QLatin1StringView("--help"), {}, u"affiche cette aide et termine", u"show this help and exit", runHelp},
    {QLatin1StringView("--version"), {}, u"affiche le nom et la version du programme et termine",
     u"show the program name and version and exit", runVersion},
}};

CommandLineOutcome usageError(const QString &message)
{
    CommandLineOutcome outcome;
    outcome.kind = CommandLineOutcome::Kind::UsageError;
    outcome.message = message;
    return outcome;
}

// "  --option OPERANDS   help", the help column aligned over the whole table.
QString commandLines(bool french)
{
    qsizetype width = 0;
    for (const BatchCommand &command : commands)
        width = std::max(width, command.option.size() + (command.operands.isEmpty() ? 0 : 1 + command.operands.size()));
    QString lines;
    for (const BatchCommand &command : commands) {
        QString head = command.option;
        if (!command.operands.isEmpty())
            head += QLatin1Char(' ') + command.operands;
        lines += QStringLiteral("  ") + head.leftJustified(width + 3)
            + QString::fromUtf16(french ? command.helpFrench : command.helpEnglish) + QLatin1Char('\n');
    }
    return lines;
}

} // namespace

std::span<const BatchCommand> batchCommands()
{
    return commands;
}

CommandLineOutcome parseCommandLine(const QStringList &arguments)
{
    CommandLineOutcome outcome;
    if (arguments.isEmpty() || !arguments.first().startsWith(QLatin1Char('-'))) {
        outcome.arguments = arguments;
        return outcome;
    }
    const QString &first = arguments.first();
    if (first == QLatin1String("--")) {
        outcome.arguments = arguments.mid(1);
        return outcome;
    }
    for (const BatchCommand &command : commands) {
        if (first != command.option)
            continue;
        const QStringList operands = arguments.mid(1);
        if (command.operands.isEmpty() && !operands.isEmpty())
            return usageError(QStringLiteral("tarmel : l'option « %1 » n'accepte pas d'argument (« %2 »)")
                                  .arg(first, operands.first()));
        outcome.kind = CommandLineOutcome::Kind::Command;
        outcome.command = &command;
        outcome.arguments = operands;
        return outcome;
    }
    return usageError(QStringLiteral("tarmel : option inconnue « %1 » ; la liste des options : tarmel --help")
                          .arg(first));
}

QString helpText()
{
    return QStringLiteral(
               "Utilisation : tarmel [FICHIER]\n"
               "              tarmel OPTION\n"
               "\n"
               "Sans option, Tarmel ouvre sa fenêtre principale et, s'il est donné, le FICHIER.\n"
               "Un fichier dont le nom commence par « - » s'écrit ./-nom.iso ou après --\n"
               "(tarmel -- -nom.iso).\n"
               "\n"
               "Options :\n")
        + commandLines(true)
        + QStringLiteral(
               "\n"
               "English\n"
               "\n"
               "Usage: tarmel [FILE]\n"
               "       tarmel OPTION\n"
               "\n"
               "Without an option, Tarmel opens its main window and, when given, the FILE.\n"
               "A file whose name begins with \"-\" is written ./-name.iso or after --\n"
               "(tarmel -- -name.iso).\n"
               "\n"
               "Options:\n")
        + commandLines(false);
}

int runBatch(const CommandLineOutcome &outcome, QTextStream &out, QTextStream &err)
{
    if (outcome.command)
        return outcome.command->run(outcome.arguments, out, err);
    err << outcome.message << QLatin1Char('\n');
    return UsageErrorExitCode;
}

} // namespace tarmel::batch
