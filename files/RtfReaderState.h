#pragma once
// The RTF reader's state machine (RtfReader.cpp) and its control words (RtfControlWords.cpp).
// Internal to files/: the rules are described in RtfReader.h.

#include "files/RtfReader.h"

#include <QHash>
#include <QStringDecoder>

#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarmel::rtf {

enum class Dest : unsigned char { Text, FontTable, ColorTable, StyleSheet, Skip };

// What a group carries and gives back when it closes.
struct GroupState {
    Dest dest = Dest::Text;
    int font = -1;          // -1: the \deff font
    int halfPoints = 24;
    int color = 0;
    int unicodeSkip = 1;    // \uc
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
};

enum class Word : unsigned char {
    Skip, FontTable, ColorTable, StyleSheet,
    AnsiCodePage, Ansi, Mac, Pc, Pca, DefaultFont,
    Font, FontSize, Bold, Italic, Underline, UnderlineNone, Strike, Color, Plain,
    Par, Tab, Cell, Unicode, UnicodeSkip, Bin, Red, Green, Blue, Style, Char,
};

struct WordInfo {
    Word word;
    char16_t ch = 0;   // for Word::Char
};

// The known control word of that name, or null.
const WordInfo *findControlWord(std::string_view name);

// The name Qt's converters know a Windows code page by.
QByteArray codecName(int codePage);

inline constexpr int kMaxParameter = 0x7FFFFFFF;
inline constexpr int kMaxWordLength = 32;
inline constexpr size_t kMaxCodePages = 16;   // beyond this many, further code pages read as 1252

class Reader
{
public:
    explicit Reader(QByteArrayView input) : m_data(input.data()), m_size(input.size()) {}
    RtfReadResult run();

private:
    bool atEnd() const { return m_pos >= m_size; }
    unsigned char peek() const { return static_cast<unsigned char>(m_data[m_pos]); }

    // The state machine (RtfReader.cpp).
    bool openGroup();
    bool closeGroup();    // false when the document's group closes
    void readControl();
    void readWord();
    void handleSymbol(char symbol);
    void handleByte(unsigned char byte);
    void handleLiteral(char16_t ch);
    void put(char16_t ch);
    void emitUnicode(int value);
    void emitText(char16_t ch);
    void putPlainText();
    void startRun();
    void flushBytes();
    bool consumeSkipped();
    void finish(RtfReadResult &result);

    // Control words, destinations, code pages and formats (RtfControlWords.cpp).
    void handleWord(std::string_view name, bool hasParam, int param);
    bool handleFormatWord(Word word, bool hasParam, int param);
    bool handleDestinationWord(Word word, bool hasParam, int param);
    void handleTextWord(const WordInfo &info, bool hasParam, int param);
    void setCodePage(int codePage);
    void addColorEntry();
    void commitFont();
    CharFormat resolveFormat() const;

    const char *m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;

    std::vector<GroupState> m_stack;   // enclosing groups; m_state is the current one
    GroupState m_state;
    bool m_starPending = false;
    int m_skipCount = 0;               // fallback characters still to skip after \u

    bool m_codePageGiven = false;
    QStringDecoder *m_decoder = nullptr;       // null for 1252 and unknown code pages
    std::unordered_map<int, std::unique_ptr<QStringDecoder>> m_decoders;   // by code page, null: unknown
    QByteArray m_pendingBytes;

    QHash<int, QString> m_fonts;
    int m_defaultFont = 0;
    int m_fontNumber = 0;              // entry being read in the font table
    bool m_fontNumberGiven = false;
    QString m_fontName;
    QList<std::optional<quint32>> m_colors;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorGiven = false;
    int m_styleNumber = 0;
    int m_styleHalfPoints = 0;
    int m_baseHalfPoints = 24;

    FormattedText m_out;
    bool m_formatDirty = true;
};

} // namespace tarmel::rtf
