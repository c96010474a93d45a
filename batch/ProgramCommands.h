#pragma once
// The batch commands on program files: renumbering, accent removal, upper case (each rewriting its
// files in place, or one file to --output), the checks and the program range (each printing).
// They call the very core functions the editor's commands call, read and write files as the editor
// does (the program-file codec, the atomic writer), and never show a window.

#include <QString>
#include <QStringList>
#include <QTextStream>

#include "numbering/Renumber.h"

namespace tarmel::batch {

enum class ProgramCommand { Renumber, RemoveAccents, Upper, Check, Range };

// Exit codes beside 0 (done) and UsageErrorExitCode (2).
inline constexpr int FindingsExitCode = 1;
inline constexpr int FileErrorExitCode = 3;

// What the operands of a command ask for, or the usage error they make.
struct ProgramOperands {
    QString error;                       // the one-line message of a usage error; empty when sound
    QStringList files;
    QString output;                      // --output FILE, for one input file
    numbering::RenumberOptions renumber; // Renumber only: STEP, --form, --start, --update-jumps
};

// Renumber: STEP first, then --form N|digits, --start N, --update-jumps, --output FILE and the files in
// any order; the others: --output FILE (not for Check and Range) and the files. "--" ends the options.
ProgramOperands parseProgramOperands(ProgramCommand command, const QStringList &operands);

// Runs the command on every file, even after one failed; returns the highest exit code met.
int runProgramCommand(ProgramCommand command, const QStringList &operands, QTextStream &out, QTextStream &err);

} // namespace tarmel::batch
