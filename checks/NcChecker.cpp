#include "checks/NcChecker.h"

#include "checks/NcLines.h"
#include "checks/NcTokenizer.h"
#include "transform/Accents.h"

#include <algorithm>
#include <array>
#include <optional>

namespace tarmel {

namespace {

enum Rule {
    DuplicateNumber,
    NumberOrder,
    NumberDigits,
    MissingEndPercent,
    MissingProgramEnd,
    UnbalancedParentheses,
    WordWithoutValue,
    ModalConflict,
    AccentedCharacter,
    TabCharacter,
    NonAsciiCharacter,
    RuleCount
};

constexpr std::array<NcCheckRule, RuleCount> kRules{{
    {"duplicate-block-number", u"Numéro de bloc en double"},
    {"block-number-order", u"Numéro de bloc hors d'ordre"},
    {"block-number-digits", u"Numéro de bloc de plus de cinq chiffres"},
    {"missing-end-percent", u"« % » de fin manquant : le programme commence par « % »"},
    {"missing-program-end", u"Fin de programme (M30 ou M02) manquante : le programme commence par « % »"},
    {"unbalanced-parentheses", u"Parenthèses non équilibrées"},
    {"word-without-value", u"Adresse sans valeur numérique"},
    {"modal-group-conflict", u"Deux codes G du même groupe modal dans un bloc"},
    {"accented-character", u"Lettre accentuée refusée par la plupart des commandes : utiliser « &Supprimer les accents »"},
    {"tab-character", u"Tabulation refusée par la plupart des commandes"},
    {"non-ascii-character", u"Caractère non ASCII refusé par la plupart des commandes"},
}};

// The modal groups checked within one block: motion, distance mode, plane.
int modalGroup(double code)
{
    if (code == 0 || code == 1 || code == 2 || code == 3)
        return 0;
    if (code == 90 || code == 91)
        return 1;
    if (code == 17 || code == 18 || code == 19)
        return 2;
    return -1;
}

int characterColumn(std::string_view line, std::size_t byteOffset)
{
    int column = 1;
    for (std::size_t i = 0; i < byteOffset && i < line.size(); ++i)
        column += (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80;
    return column;
}

QString quoted(std::string_view text)
{
    return QStringLiteral("« %1 »").arg(QString::fromUtf8(text.data(), qsizetype(text.size())));
}

// The UTF-8 sequence starting at `i` (one byte when it is not a valid sequence).
std::string_view utf8Character(std::string_view line, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(line[i]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (i + length > line.size())
        return line.substr(i, 1);
    for (std::size_t k = 1; k < length; ++k)
        if ((static_cast<unsigned char>(line[i + k]) & 0xC0) != 0x80)
            return line.substr(i, 1);
    return line.substr(i, length);
}

struct NumberedBlock {
    double number;
    int line;
    int column;
};

class Checker {
public:
    std::vector<NcFinding> findings;

    void add(Rule rule, int line, int column, const QString &detail = {})
    {
        QString text = QString::fromUtf16(kRules[rule].text);
        if (!detail.isEmpty())
            text += QLatin1Char(' ') + detail;
        findings.push_back({line, column, QString::fromLatin1(kRules[rule].id), text});
    }

    void checkLine(int index, std::string_view line)
    {
        const int lineNumber = index + 1;
        lastLine = lineNumber;
        checkCharacters(lineNumber, line);
        tokenizeNcLine(line, tokens);
        std::array<int, 3> groupToken{-1, -1, -1};
        bool first = true;
        for (std::size_t k = 0; k < tokens.size(); ++k) {
            const NcToken &t = tokens[k];
            const std::string_view text = line.substr(std::size_t(t.start), std::size_t(t.length));
            switch (t.kind) {
            case NcTokenKind::Percent:
                // A "%" alone opens a tape; "%_N_NAME_MPF" and the like name a program instead.
                if (first && !sawTokens && (k + 1 == tokens.size() || tokens[k + 1].kind != NcTokenKind::ProgramName))
                    startPercentLine = lineNumber;
                else if (startPercentLine && lineNumber > startPercentLine)
                    sawEndPercent = true;
                if (first)
                    closeNumbering();
                break;
            case NcTokenKind::ProgramName:
                closeNumbering();
                break;
            case NcTokenKind::Comment:
                checkComment(lineNumber, line, t, text);
                break;
            case NcTokenKind::Default:
                if (const auto close = text.find(')'); close != std::string_view::npos)
                    add(UnbalancedParentheses, lineNumber, characterColumn(line, std::size_t(t.start) + close),
                        QStringLiteral("(« ) » sans « ( »)"));
                break;
            default:
                break;
            }
            if (isNcWord(t.kind))
                checkWord(lineNumber, line, k, text, groupToken);
            if (t.kind != NcTokenKind::BlockDelete)
                first = false;
        }
        sawTokens = sawTokens || !tokens.empty();
    }

    void finish()
    {
        closeNumbering();
        if (startPercentLine) {
            if (!sawEndPercent)
                add(MissingEndPercent, lastLine, 1);
            if (!sawProgramEnd)
                add(MissingProgramEnd, lastLine, 1);
        }
        std::stable_sort(findings.begin(), findings.end(), [](const NcFinding &a, const NcFinding &b) {
            return a.line != b.line ? a.line < b.line : a.column < b.column;
        });
    }

private:
    std::vector<NcToken> tokens;
    std::vector<NumberedBlock> numbers; // of the current program, in text order
    bool numbersIncrease = true;
    int lastLine = 0;
    int startPercentLine = 0;
    bool sawTokens = false;
    bool sawEndPercent = false;
    bool sawProgramEnd = false;

    void checkCharacters(int lineNumber, std::string_view line)
    {
        bool tab = false;
        bool accented = false;
        bool other = false;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const auto c = static_cast<unsigned char>(line[i]);
            if (c == '\t' && !tab) {
                tab = true;
                add(TabCharacter, lineNumber, characterColumn(line, i));
            } else if (c >= 0x80) {
                const std::string_view character = utf8Character(line, i);
                const QByteArray plain = removeAccentsUtf8(QByteArrayView(character.data(), qsizetype(character.size())));
                const bool inTable = plain.size() != qsizetype(character.size());
                if (inTable ? !accented : !other) {
                    (inTable ? accented : other) = true;
                    add(inTable ? AccentedCharacter : NonAsciiCharacter, lineNumber, characterColumn(line, i),
                        QStringLiteral("(%1)").arg(quoted(character)));
                }
                i += character.size() - 1;
            }
        }
    }

    void checkComment(int lineNumber, std::string_view line, const NcToken &t, std::string_view text)
    {
        if (text.front() != '(')
            return;
        const auto opened = std::count(text.begin(), text.end(), '(');
        const auto closed = std::count(text.begin(), text.end(), ')');
        if (opened != closed)
            add(UnbalancedParentheses, lineNumber, characterColumn(line, std::size_t(t.start)),
                QStringLiteral("(« ( » sans « ) »)"));
    }

    void checkWord(int lineNumber, std::string_view line, std::size_t k, std::string_view text,
                   std::array<int, 3> &groupToken)
    {
        const NcToken &t = tokens[k];
        // Only block numbers, G and M codes are read for their value; the others need a digit.
        const bool valueRead = t.kind == NcTokenKind::BlockNumber || t.kind == NcTokenKind::GCode
                               || t.kind == NcTokenKind::MCode;
        const std::optional<double> value = valueRead ? ncWordValue(line, t)
                                            : text.find_first_of("0123456789") != std::string_view::npos
                                                ? std::optional<double>(0)
                                                : std::nullopt;
        if (!value) {
            const bool expression = k + 1 < tokens.size() && tokens[k + 1].kind == NcTokenKind::Variable
                                    && tokens[k + 1].start == t.start + t.length;
            // In macro languages a letter after a keyword names an axis ("home z"): no address word.
            const bool argument = k > 0 && tokens[k - 1].kind == NcTokenKind::Default
                                  && (line[std::size_t(tokens[k - 1].start)] | 0x20) >= 'a'
                                  && (line[std::size_t(tokens[k - 1].start)] | 0x20) <= 'z';
            if (!expression && !argument)
                add(WordWithoutValue, lineNumber, characterColumn(line, std::size_t(t.start)),
                    QStringLiteral("(%1)").arg(quoted(text)));
            return;
        }
        if (t.kind == NcTokenKind::BlockNumber) {
            checkBlockNumber(lineNumber, line, t, text, *value);
        } else if (t.kind == NcTokenKind::MCode) {
            // M99 ends a subprogram, which is a program of its own file too.
            sawProgramEnd = sawProgramEnd || *value == 2 || *value == 30 || *value == 99;
        } else if (t.kind == NcTokenKind::GCode) {
            const int group = modalGroup(*value);
            if (group < 0)
                return;
            if (groupToken[group] >= 0) {
                const NcToken &previous = tokens[std::size_t(groupToken[group])];
                const std::string_view previousText = line.substr(std::size_t(previous.start), std::size_t(previous.length));
                add(ModalConflict, lineNumber, characterColumn(line, std::size_t(t.start)),
                    QStringLiteral("(%1 et %2)")
                        .arg(QString::fromLatin1(previousText.data(), qsizetype(previousText.size())),
                             QString::fromLatin1(text.data(), qsizetype(text.size()))));
            } else {
                groupToken[group] = int(k);
            }
        }
    }

    void checkBlockNumber(int lineNumber, std::string_view line, const NcToken &t, std::string_view text, double value)
    {
        const int column = characterColumn(line, std::size_t(t.start));
        const std::string_view whole = text.substr(0, text.find('.'));
        if (std::count_if(whole.begin(), whole.end(), [](char c) { return c >= '0' && c <= '9'; }) > 5)
            add(NumberDigits, lineNumber, column, QStringLiteral("(%1)").arg(quoted(text)));
        if (!numbers.empty() && value <= numbers.back().number) {
            numbersIncrease = false;
            if (value < numbers.back().number)
                add(NumberOrder, lineNumber, column, QStringLiteral("(N%1 après N%2)")
                    .arg(QString::number(value, 'g', 17), QString::number(numbers.back().number, 'g', 17)));
        }
        numbers.push_back({value, lineNumber, column});
    }

    // Duplicates are looked for only when the numbers of a program do not rise all the way.
    void closeNumbering()
    {
        if (!numbersIncrease) {
            std::stable_sort(numbers.begin(), numbers.end(),
                             [](const NumberedBlock &a, const NumberedBlock &b) { return a.number < b.number; });
            for (std::size_t i = 1; i < numbers.size(); ++i) {
                std::size_t first = i - 1;
                while (i < numbers.size() && numbers[i].number == numbers[first].number) {
                    add(DuplicateNumber, numbers[i].line, numbers[i].column,
                        QStringLiteral("(déjà à la ligne %1)").arg(numbers[first].line));
                    ++i;
                }
            }
        }
        numbers.clear();
        numbersIncrease = true;
    }
};

} // namespace

std::span<const NcCheckRule> ncCheckRules()
{
    return kRules;
}

std::vector<NcFinding> checkNcProgram(std::string_view utf8Text)
{
    Checker checker;
    forEachNcLine(withoutByteOrderMark(utf8Text), [&](int index, std::string_view line) { checker.checkLine(index, line); });
    checker.finish();
    return std::move(checker.findings);
}

} // namespace tarmel
