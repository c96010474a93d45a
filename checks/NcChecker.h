#pragma once
// The checks of an NC program: each rule has an id (the form compilers and CI jobs read) and a French
// text; a finding names the rule, the line and the column. Every rule is in one table, ncCheckRules().

#include <QString>

#include <span>
#include <string_view>
#include <vector>

namespace tarmel {

struct NcCheckRule {
    const char *id;       // "duplicate-block-number"
    const char16_t *text; // the French text of the finding
};

// Every rule, in the order of the table.
std::span<const NcCheckRule> ncCheckRules();

struct NcFinding {
    int line;       // 1-based
    int column;     // 1-based, in characters
    QString ruleId;
    QString text;   // the rule's text, with what was found when it helps ("(déjà à la ligne 12)")
};

// Every finding of the whole UTF-8 text, ordered by line then column. The block number rules start
// over at each program name (O1234, :1234, a name after "%"), where a new program begins.
std::vector<NcFinding> checkNcProgram(std::string_view utf8Text);

} // namespace tarmel
