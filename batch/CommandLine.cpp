#include "batch/CommandLine.h"

#include "batch/ProgramCommands.h"

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

template <ProgramCommand command>
int runOnPrograms(const QStringList &operands, QTextStream &out, QTextStream &err)
{
    return runProgramCommand(command, operands, out, err);
}

const std::array<BatchCommand, 7> commands{{
    {QLatin1StringView("--renumber"), u"PAS FICHIER…", u"STEP FILE…", u"renumérote les blocs de chaque fichier",
     u"renumber the blocks of each file", runOnPrograms<ProgramCommand::Renumber>},
    {QLatin1StringView("--remove-accents"), u"FICHIER…", u"FILE…",
     u"remplace les lettres accentuées comme « Supprimer les accents »",
     u"replace accented letters as \"Supprimer les accents\" does", runOnPrograms<ProgramCommand::RemoveAccents>},
    {QLatin1StringView("--upper"), u"FICHIER…", u"FILE…", u"met tout le texte en majuscules",
     u"turn the whole text to upper case", runOnPrograms<ProgramCommand::Upper>},
    {QLatin1StringView("--check"), u"FICHIER…", u"FILE…", u"vérifie les programmes : fichier:ligne:colonne: règle: texte",
     u"check the programs: file:line:column: rule: text", runOnPrograms<ProgramCommand::Check>},
    {QLatin1StringView("--range"), u"FICHIER…", u"FILE…",
     u"affiche l'étendue des programmes : blocs, X Y Z, outils, avances",
     u"print the range of the programs: blocks, X Y Z, tools, feeds", runOnPrograms<ProgramCommand::Range>},
    {QLatin1StringView("--help"), nullptr, nullptr, u"affiche cette aide et termine", u"show this help and exit", runHelp},
    {QLatin1StringView("--version"), nullptr, nullptr, u"affiche le nom et la version du programme et termine",
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
    const auto headOf = [french](const BatchCommand &command) {
        const char16_t *operands = french ? command.operandsFrench : command.operandsEnglish;
        return operands ? command.option + QLatin1Char(' ') + QString::fromUtf16(operands) : QString(command.option);
    };
    qsizetype width = 0;
    for (const BatchCommand &command : commands)
        width = std::max(width, headOf(command).size());
    QString lines;
    for (const BatchCommand &command : commands) {
        const QString head = headOf(command);
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
        if (!command.operandsFrench && !operands.isEmpty())
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
               "              tarmel OPTION [ARGUMENTS]\n"
               "\n"
               "Sans option, Tarmel ouvre sa fenêtre principale et, s'il est donné, le FICHIER.\n"
               "Un fichier dont le nom commence par « - » s'écrit ./-nom.iso ou après --\n"
               "(tarmel -- -nom.iso).\n"
               "\n"
               "Options :\n")
        + commandLines(true)
        + QStringLiteral(
               "\n"
               "Options de --renumber (après le PAS) :\n"
               "  --form N|digits   numéros « N10 » (N, par défaut) ou « 10 » (digits)\n"
               "  --start N         premier numéro (par défaut le pas)\n"
               "  --update-jumps    met à jour les cibles de saut (GOTO, M97 P, M98 H)\n"
               "Option de --renumber, --remove-accents et --upper :\n"
               "  --output FICHIER  écrit le résultat dans FICHIER (un seul fichier donné) ;\n"
               "                    sans elle, chaque fichier est remplacé sur place\n"
               "Les fichiers gardent leur codage et leurs fins de ligne.\n"
               "\n"
               "Codes de sortie : 0 terminé, 1 la vérification a trouvé quelque chose,\n"
               "2 mauvaise utilisation, 3 un fichier n'a pu être lu ou écrit (les autres sont traités).\n")
        + QStringLiteral(
               "\n"
               "English\n"
               "\n"
               "Usage: tarmel [FILE]\n"
               "       tarmel OPTION [ARGUMENTS]\n"
               "\n"
               "Without an option, Tarmel opens its main window and, when given, the FILE.\n"
               "A file whose name begins with \"-\" is written ./-name.iso or after --\n"
               "(tarmel -- -name.iso).\n"
               "\n"
               "Options:\n")
        + commandLines(false)
        + QStringLiteral(
               "\n"
               "Options of --renumber (after the STEP):\n"
               "  --form N|digits   numbers \"N10\" (N, the default) or \"10\" (digits)\n"
               "  --start N         first number (the step by default)\n"
               "  --update-jumps    update jump targets (GOTO, M97 P, M98 H)\n"
               "Option of --renumber, --remove-accents and --upper:\n"
               "  --output FILE     write the result to FILE (one file given);\n"
               "                    without it, each file is replaced in place\n"
               "Files keep their encoding and line ends.\n"
               "\n"
               "Exit codes: 0 done, 1 the check found something, 2 bad usage,\n"
               "3 a file could not be read or written (the others are still processed).\n");
}

int runBatch(const CommandLineOutcome &outcome, QTextStream &out, QTextStream &err)
{
    if (outcome.command)
        return outcome.command->run(outcome.arguments, out, err);
    err << outcome.message << QLatin1Char('\n');
    return UsageErrorExitCode;
}

} // namespace tarmel::batch
