#pragma once
#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <span>

namespace tarmel::batch {

// One command of the batch command line: its option, its operands as the help names them in
// French and in English (null when it takes none), its help line in French and in English, and
// what it does. The exit code it returns is the process's.
struct BatchCommand {
    QLatin1StringView option;
    const char16_t *operandsFrench;
    const char16_t *operandsEnglish;
    const char16_t *helpFrench;
    const char16_t *helpEnglish;
    int (*run)(const QStringList &operands, QTextStream &out, QTextStream &err);
};

// Every batch command, in the order the help lists them.
std::span<const BatchCommand> batchCommands();

// What the arguments (the program's name left out) ask for. Only the first argument decides:
// no argument or a file name: the main window; "--" first: the main window with the arguments
// after it (so "-name.iso" opens as "tarmel -- -name.iso" or "tarmel ./-name.iso");
// anything else beginning with "-": a batch command, or a usage error.
struct CommandLineOutcome {
    enum class Kind { Window, Command, UsageError };
    Kind kind = Kind::Window;
    const BatchCommand *command = nullptr; // Kind::Command
    QStringList arguments;                 // Window: the window's arguments; Command: its operands
    QString message;                       // UsageError: the one-line message
};
CommandLineOutcome parseCommandLine(const QStringList &arguments);

// The help text: French first, then the same in English.
QString helpText();

// Exit code of a usage error.
inline constexpr int UsageErrorExitCode = 2;

// Runs a Command outcome, or writes a UsageError's message to err; returns the exit code.
int runBatch(const CommandLineOutcome &outcome, QTextStream &out, QTextStream &err);

// The process's arguments, its own name left out.
QStringList argumentsOf(int argc, char **argv);

// The batch path of the process: a QCoreApplication, no display; returns the exit code.
int batchMain(int &argc, char **argv, const CommandLineOutcome &outcome);

} // namespace tarmel::batch
