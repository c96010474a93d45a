#include "batch/ProgramCommands.h"

#include "batch/CommandLine.h"
#include "checks/NcChecker.h"
#include "checks/ProgramRange.h"
#include "files/AtomicWriter.h"
#include "files/FileRules.h"
#include "files/TextCodec.h"
#include "numbering/AutoNumbering.h"
#include "transform/Accents.h"
#include "transform/CaseMap.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace tarmel::batch {

namespace {

QString optionName(ProgramCommand command)
{
    switch (command) {
    case ProgramCommand::Renumber: return QStringLiteral("--renumber");
    case ProgramCommand::RemoveAccents: return QStringLiteral("--remove-accents");
    case ProgramCommand::Upper: return QStringLiteral("--upper");
    case ProgramCommand::Check: return QStringLiteral("--check");
    case ProgramCommand::Range: return QStringLiteral("--range");
    }
    return {};
}

bool rewritesFiles(ProgramCommand command)
{
    return command == ProgramCommand::Renumber || command == ProgramCommand::RemoveAccents
           || command == ProgramCommand::Upper;
}

// Digits only, as the editor's step field; nullopt for anything else or beyond 64 bits.
std::optional<qint64> plainNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 18
        || !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    return text.toLongLong();
}

ProgramOperands usage(const QString &message)
{
    ProgramOperands result;
    result.error = QStringLiteral("tarmel : ") + message;
    return result;
}

// Reads the value of an option that takes one; false when the operands end first.
bool takeValue(const QStringList &operands, qsizetype &i, QString &value)
{
    if (i + 1 >= operands.size())
        return false;
    value = operands[++i];
    return true;
}

struct ReadProgram {
    QString error; // why the file could not be read; empty when read
    DecodedUtf8 decoded;
    QByteArray bytes;
};

ReadProgram readProgram(const QString &path)
{
    ReadProgram read;
    const QFileInfo info(path);
    if (info.isDir()) {
        read.error = QStringLiteral("« %1 » est un dossier, pas un programme").arg(path);
        return read;
    }
    if (isRichTextName(path)) {
        read.error = QStringLiteral("« %1 » est un document RTF : la ligne de commande ne traite que les programmes").arg(path);
        return read;
    }
    QFile file(path);
    if (!info.exists()) {
        read.error = QStringLiteral("impossible de lire « %1 » : fichier introuvable").arg(path);
        return read;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        read.error = QStringLiteral("impossible de lire « %1 » : %2").arg(path, file.errorString());
        return read;
    }
    read.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        read.error = QStringLiteral("impossible de lire « %1 » : %2").arg(path, file.errorString());
        return read;
    }
    read.decoded = decodeToUtf8(read.bytes);
    return read;
}

// The new text of one program, or the reason it has none.
struct Transformed {
    QString error;
    QByteArray utf8;
};

Transformed transform(ProgramCommand command, const ProgramOperands &operands, const DecodedUtf8 &program)
{
    const bool windows1252 = program.format.encoding == Encoding::Windows1252;
    switch (command) {
    case ProgramCommand::Renumber: {
        const numbering::RenumberBytesResult result = numbering::renumberUtf8(program.utf8, operands.renumber);
        if (result.status != numbering::RenumberStatus::Done)
            return {QStringLiteral("les numéros dépasseraient la plus grande valeur possible ; rien n'est changé"), {}};
        return {{}, result.text};
    }
    case ProgramCommand::RemoveAccents: return {{}, removeAccentsUtf8(program.utf8)};
    case ProgramCommand::Upper: return {{}, convertCaseUtf8(program.utf8, Case::Upper, windows1252)};
    default: return {};
    }
}

int rewrite(ProgramCommand command, const ProgramOperands &operands, const QString &path, QTextStream &err)
{
    const ReadProgram read = readProgram(path);
    if (!read.error.isEmpty()) {
        err << QStringLiteral("tarmel : ") << read.error << QLatin1Char('\n');
        return FileErrorExitCode;
    }
    const Transformed result = transform(command, operands, read.decoded);
    if (!result.error.isEmpty()) {
        err << QStringLiteral("tarmel : « %1 » : ").arg(path) << result.error << QLatin1Char('\n');
        return FileErrorExitCode;
    }
    const Encoded encoded = plainFileBytes(result.utf8, read.decoded.format);
    if (!encoded.ok) {
        err << QStringLiteral("tarmel : « %1 » : le caractère U+%2 ne peut pas être enregistré en %3 ; rien n'est écrit\n")
                   .arg(path)
                   .arg(uint(encoded.badChar), 4, 16, QLatin1Char('0'))
                   .arg(encodingName(read.decoded.format.encoding));
        return FileErrorExitCode;
    }
    const QString target = operands.output.isEmpty() ? path : operands.output;
    if (operands.output.isEmpty() && encoded.bytes == read.bytes)
        return 0; // nothing changed: the file is left untouched
    const WriteResult written = writeFileAtomically(target, encoded.bytes);
    if (!written.ok) {
        err << QStringLiteral("tarmel : impossible d'écrire « %1 » : %2\n").arg(target, written.error);
        return FileErrorExitCode;
    }
    return 0;
}

int report(ProgramCommand command, const QString &path, bool several, QTextStream &out, QTextStream &err)
{
    const ReadProgram read = readProgram(path);
    if (!read.error.isEmpty()) {
        err << QStringLiteral("tarmel : ") << read.error << QLatin1Char('\n');
        return FileErrorExitCode;
    }
    const std::string_view text(read.decoded.utf8.constData(), std::size_t(read.decoded.utf8.size()));
    if (command == ProgramCommand::Range) {
        if (several)
            out << path << QStringLiteral(" :\n");
        out << describeProgramRange(computeProgramRange(text));
        return 0;
    }
    const std::vector<NcFinding> findings = checkNcProgram(text);
    for (const NcFinding &f : findings)
        out << path << ':' << f.line << ':' << f.column << QStringLiteral(": ") << f.ruleId << QStringLiteral(": ")
            << f.text << '\n';
    return findings.empty() ? 0 : FindingsExitCode;
}

} // namespace

ProgramOperands parseProgramOperands(ProgramCommand command, const QStringList &operands)
{
    ProgramOperands result;
    const QString name = optionName(command);
    qsizetype i = 0;
    if (command == ProgramCommand::Renumber) {
        if (operands.isEmpty())
            return usage(QStringLiteral("« --renumber » attend un pas (un entier de 1 à 50)"));
        const std::optional<qint64> step = plainNumber(operands[0]);
        if (!step || *step < numbering::MinimumStep || *step > numbering::MaximumStep)
            return usage(QStringLiteral("pas invalide « %1 » : un entier de 1 à 50 est attendu").arg(operands[0]));
        result.renumber.step = *step;
        i = 1;
    }
    bool options = true;
    for (; i < operands.size(); ++i) {
        const QString &operand = operands[i];
        if (!options || !operand.startsWith(QLatin1Char('-')) || operand == QLatin1String("-")) {
            result.files << operand;
            continue;
        }
        QString value;
        if (operand == QLatin1String("--")) {
            options = false;
        } else if (operand == QLatin1String("--output") && rewritesFiles(command)) {
            if (!takeValue(operands, i, value) || value.isEmpty())
                return usage(QStringLiteral("« --output » attend un nom de fichier"));
            result.output = value;
        } else if (command == ProgramCommand::Renumber && operand == QLatin1String("--form")) {
            if (!takeValue(operands, i, value) || (value != QLatin1String("N") && value != QLatin1String("digits")))
                return usage(QStringLiteral("« --form » attend « N » ou « digits »"));
            result.renumber.form = value == QLatin1String("N") ? numbering::NumberForm::WithN
                                                               : numbering::NumberForm::DigitsOnly;
        } else if (command == ProgramCommand::Renumber && operand == QLatin1String("--start")) {
            const bool given = takeValue(operands, i, value);
            const std::optional<qint64> start = given ? plainNumber(value) : std::nullopt;
            if (!start)
                return usage(QStringLiteral("« --start » attend un entier positif ou nul%1")
                                 .arg(given ? QStringLiteral(" (« %1 »)").arg(value) : QString()));
            result.renumber.start = *start;
        } else if (command == ProgramCommand::Renumber && operand == QLatin1String("--update-jumps")) {
            result.renumber.updateJumps = true;
        } else {
            return usage(QStringLiteral("option « %1 » inconnue de « %2 » ; la liste des options : tarmel --help")
                             .arg(operand, name));
        }
    }
    if (result.files.isEmpty())
        return usage(QStringLiteral("« %1 » attend au moins un fichier").arg(name));
    if (!result.output.isEmpty() && result.files.size() > 1)
        return usage(QStringLiteral("« --output » ne vaut que pour un seul fichier (%1 sont donnés)").arg(result.files.size()));
    return result;
}

int runProgramCommand(ProgramCommand command, const QStringList &operands, QTextStream &out, QTextStream &err)
{
    const ProgramOperands parsed = parseProgramOperands(command, operands);
    if (!parsed.error.isEmpty()) {
        err << parsed.error << QLatin1Char('\n');
        return UsageErrorExitCode;
    }
    int code = 0;
    for (const QString &file : parsed.files) {
        const int fileCode = rewritesFiles(command) ? rewrite(command, parsed, file, err)
                                                    : report(command, file, parsed.files.size() > 1, out, err);
        code = std::max(code, fileCode);
        out.flush();
        err.flush();
    }
    return code;
}

} // namespace tarmel::batch
