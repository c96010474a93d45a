#include "files/RtfReader.h"

#include "files/TextCodec.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarmel {


namespace {


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

const std::unordered_map<std::string_view, WordInfo> &wordTable()
{
    static const std::unordered_map<std::string_view, WordInfo> table = [] {
        std::unordered_map<std::string_view, WordInfo> t;
        for (const char *name : {"pict", "object", "header", "headerl", "headerr", "headerf",
                                 "footer", "footerl", "footerr", "footerf", "footnote", "fldinst",
                                 "info", "listtable", "listoverridetable", "rsidtbl", "generator",
                                 "themedata", "colorschememapping", "datastore", "latentstyles",
                                 "xmlnstbl", "mmathPr", "pgdsctbl", "filetbl", "revtbl", "author",
                                 "operator", "title", "subject", "keywords", "comment", "doccomm",
                                 "bkmkstart", "bkmkend", "xe", "tc", "txe", "rxe", "atnid",
                                 "atnauthor", "annotation", "nonshppict", "shpinst", "pntxta",
                                 "pntxtb", "template", "userprops", "private"})
            t.emplace(name, WordInfo{Word::Skip});
        const std::pair<const char *, Word> words[] = {
            {"fonttbl", Word::FontTable}, {"colortbl", Word::ColorTable},
            {"stylesheet", Word::StyleSheet},
            {"ansicpg", Word::AnsiCodePage}, {"ansi", Word::Ansi}, {"mac", Word::Mac},
            {"pc", Word::Pc}, {"pca", Word::Pca}, {"deff", Word::DefaultFont},
            {"f", Word::Font}, {"fs", Word::FontSize}, {"b", Word::Bold}, {"i", Word::Italic},
            {"ulnone", Word::UnderlineNone}, {"strike", Word::Strike}, {"striked", Word::Strike},
            {"cf", Word::Color}, {"plain", Word::Plain}, {"par", Word::Par}, {"line", Word::Par},
            {"row", Word::Par}, {"nestrow", Word::Par}, {"tab", Word::Tab}, {"cell", Word::Cell},
            {"nestcell", Word::Cell}, {"u", Word::Unicode}, {"uc", Word::UnicodeSkip},
            {"bin", Word::Bin}, {"red", Word::Red}, {"green", Word::Green},
            {"blue", Word::Blue}, {"s", Word::Style},
        };
        for (const auto &[name, word] : words)
            t.emplace(name, WordInfo{word});
        for (const char *name : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave",
                                 "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd",
                                 "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"})
            t.emplace(name, WordInfo{Word::Underline});
        const std::pair<const char *, char16_t> chars[] = {
            {"emdash", 0x2014}, {"endash", 0x2013}, {"emspace", 0x2003}, {"enspace", 0x2002},
            {"qmspace", 0x2005}, {"bullet", 0x2022}, {"lquote", 0x2018}, {"rquote", 0x2019},
            {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"zwj", 0x200D}, {"zwnj", 0x200C},
            {"ltrmark", 0x200E}, {"rtlmark", 0x200F},
        };
        for (const auto &[name, ch] : chars)
            t.emplace(name, WordInfo{Word::Char, ch});
        return t;
    }();
    return table;
}

QByteArray codecName(int codePage)
{
    switch (codePage) {
    case 10000: return "macintosh";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 950: return "Big5";
    case 65001: return "UTF-8";
    case 437: case 737: case 775: case 850: case 852: case 855: case 857: case 860:
    case 861: case 862: case 863: case 864: case 865: case 866: case 869:
        return "IBM" + QByteArray::number(codePage);
    default: return "windows-" + QByteArray::number(codePage);
    }
}

constexpr int kMaxParameter = 0x7FFFFFFF;
constexpr int kMaxWordLength = 32;
constexpr size_t kMaxCodePages = 16;   // beyond this many, further code pages read as 1252

class Reader
{
public:
    explicit Reader(QByteArrayView input) : m_data(input.data()), m_size(input.size()) {}
    RtfReadResult run();

private:
    bool atEnd() const { return m_pos >= m_size; }
    unsigned char peek() const { return static_cast<unsigned char>(m_data[m_pos]); }

    bool openGroup();
    bool closeGroup();    // false when the document's group closes
    void readControl();
    void readWord();
    void handleWord(std::string_view name, bool hasParam, int param);
    bool handleFormatWord(Word word, bool hasParam, int param);
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
    void setCodePage(int codePage);
    void commitFont();
    CharFormat resolveFormat() const;
    void finish(RtfReadResult &result);

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

// Printable ASCII that stands for itself in the body.
bool isPlainText(unsigned char c) { return c >= 0x20 && c < 0x7F && c != '\\' && c != '{' && c != '}'; }
bool isLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
int hexValue(unsigned char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

RtfReadResult Reader::run()
{
    RtfReadResult result;
    if (!QByteArrayView(m_data, m_size).startsWith("{\\rtf")) {
        result.error = RtfReadError::NotRtf;
        return result;
    }
    m_pos = 1;   // the document's own group is open
    while (!atEnd()) {
        const unsigned char c = peek();
        if (c == '\\') {
            readControl();
            continue;
        }
        ++m_pos;
        if (c == '\r' || c == '\n')
            continue;
        m_starPending = false;
        if (c == '{') {
            if (!openGroup()) {
                result.error = RtfReadError::TooDeep;
                return result;
            }
        } else if (c == '}') {
            if (!closeGroup()) {
                result.complete = true;
                break;
            }
        } else if (c >= 0x80) {
            handleByte(c);
        } else {
            flushBytes();
            if (m_state.dest == Dest::Text && m_skipCount == 0 && isPlainText(c))
                putPlainText();
            else
                handleLiteral(c);
        }
    }
    finish(result);
    return result;
}

bool Reader::openGroup()
{
    flushBytes();
    if (m_stack.size() + 2 > size_t(kRtfMaxGroupDepth))
        return false;
    m_stack.push_back(m_state);
    m_skipCount = 0;
    if (m_state.dest == Dest::StyleSheet) {
        m_styleNumber = 0;
        m_styleHalfPoints = 0;
    }
    return true;
}

bool Reader::closeGroup()
{
    flushBytes();
    m_skipCount = 0;
    if (m_stack.empty())
        return false;
    const Dest closing = m_state.dest;
    m_state = m_stack.back();
    m_stack.pop_back();
    m_formatDirty = true;
    if (closing == Dest::FontTable && !m_fontName.isEmpty())
        commitFont();
    if (closing == Dest::StyleSheet && m_state.dest == Dest::StyleSheet && m_styleNumber == 0
        && m_styleHalfPoints > 0)
        m_baseHalfPoints = m_styleHalfPoints;
    return true;
}

void Reader::readControl()
{
    ++m_pos;   // the backslash
    if (atEnd())
        return;
    const unsigned char c = peek();
    if (isLetter(c)) {
        readWord();
        return;
    }
    ++m_pos;
    if (c == '\'') {
        m_starPending = false;
        if (m_pos + 2 <= m_size) {
            const int high = hexValue(m_data[m_pos]);
            const int low = hexValue(m_data[m_pos + 1]);
            if (high >= 0 && low >= 0) {
                m_pos += 2;
                handleByte(static_cast<unsigned char>(high * 16 + low));
            }
        }
        return;
    }
    flushBytes();
    handleSymbol(static_cast<char>(c));
}

void Reader::readWord()
{
    flushBytes();
    const qsizetype start = m_pos;
    while (!atEnd() && isLetter(peek()))
        ++m_pos;
    // A name longer than any known word matches none of them.
    const std::string_view name(m_data + start, size_t(std::min<qsizetype>(m_pos - start, kMaxWordLength + 1)));
    bool negative = false;
    if (m_pos + 1 < m_size && peek() == '-' && isDigit(static_cast<unsigned char>(m_data[m_pos + 1]))) {
        negative = true;
        ++m_pos;
    }
    bool hasParam = false;
    qint64 value = 0;
    while (!atEnd() && isDigit(peek())) {
        hasParam = true;
        value = std::min<qint64>(value * 10 + (peek() - '0'), kMaxParameter);
        ++m_pos;
    }
    if (!atEnd() && peek() == ' ')
        ++m_pos;
    handleWord(name, hasParam, int(negative ? -value : value));
}

void Reader::handleWord(std::string_view name, bool hasParam, int param)
{
    const bool star = std::exchange(m_starPending, false);
    const auto &table = wordTable();
    const auto it = table.find(name);
    const Word word = it == table.end() ? Word::Skip : it->second.word;
    if (it != table.end() && word == Word::Bin && hasParam && param > 0)
        m_pos += std::min<qsizetype>(param, m_size - m_pos);
    if (consumeSkipped())
        return;
    if (star)
        m_state.dest = Dest::Skip;
    if (m_state.dest == Dest::Skip || it == table.end())
        return;
    if (handleFormatWord(word, hasParam, param))
        return;
    switch (word) {
    case Word::Skip: m_state.dest = Dest::Skip; break;
    case Word::FontTable:
        m_state.dest = Dest::FontTable;
        m_fontNumberGiven = false;
        m_fontName.clear();
        break;
    case Word::ColorTable:
        m_state.dest = Dest::ColorTable;
        m_colors.clear();
        m_colorGiven = false;
        break;
    case Word::StyleSheet:
        m_state.dest = Dest::StyleSheet;
        m_styleNumber = 0;
        m_styleHalfPoints = 0;
        break;
    case Word::AnsiCodePage:
        if (hasParam && param > 0) {
            setCodePage(param);
            m_codePageGiven = true;
        }
        break;
    case Word::Ansi: case Word::Mac: case Word::Pc: case Word::Pca:
        if (!m_codePageGiven)
            setCodePage(word == Word::Ansi ? 1252 : word == Word::Mac ? 10000 : word == Word::Pc ? 437 : 850);
        break;
    case Word::DefaultFont: m_defaultFont = param; m_formatDirty = true; break;
    case Word::Par: put(u'\r'); put(u'\n'); break;
    case Word::Tab: case Word::Cell: put(u'\t'); break;
    case Word::Char: put(it->second.ch); break;
    case Word::Unicode:
        if (hasParam)
            emitUnicode(param);
        m_skipCount = m_state.unicodeSkip;
        break;
    case Word::UnicodeSkip: m_state.unicodeSkip = std::max(0, param); break;
    case Word::Style:
        if (m_state.dest == Dest::StyleSheet)
            m_styleNumber = param;
        break;
    default: break;
    }
}

// Character formats, font and colour table entries; true when the word was one of them.
bool Reader::handleFormatWord(Word word, bool hasParam, int param)
{
    const bool on = !hasParam || param != 0;
    switch (word) {
    case Word::Font:
        if (m_state.dest == Dest::FontTable) {
            if (!m_fontName.isEmpty())
                commitFont();
            m_fontNumber = param;
            m_fontNumberGiven = true;
        } else {
            m_state.font = param;
        }
        break;
    case Word::FontSize:
        m_state.halfPoints = param > 0 ? std::min(param, 3276) : 24;
        if (m_state.dest == Dest::StyleSheet)
            m_styleHalfPoints = param > 0 ? m_state.halfPoints : 0;
        break;
    case Word::Bold: m_state.bold = on; break;
    case Word::Italic: m_state.italic = on; break;
    case Word::Underline: m_state.underline = on; break;
    case Word::UnderlineNone: m_state.underline = false; break;
    case Word::Strike: m_state.strike = on; break;
    case Word::Color: m_state.color = param; break;
    case Word::Plain: {
        const GroupState fresh;
        m_state.font = fresh.font;
        m_state.halfPoints = fresh.halfPoints;
        m_state.color = fresh.color;
        m_state.bold = m_state.italic = m_state.underline = m_state.strike = false;
        break;
    }
    case Word::Red: case Word::Green: case Word::Blue:
        if (m_state.dest == Dest::ColorTable) {
            const int value = std::clamp(param, 0, 255);
            (word == Word::Red ? m_red : word == Word::Green ? m_green : m_blue) = value;
            m_colorGiven = true;
        }
        break;
    default:
        return false;
    }
    m_formatDirty = true;
    return true;
}

void Reader::handleSymbol(char symbol)
{
    if (symbol == '*') {
        m_starPending = true;
        return;
    }
    m_starPending = false;
    if (consumeSkipped())
        return;
    switch (symbol) {
    case '\\': case '{': case '}': put(char16_t(symbol)); break;
    case '~': put(0x00A0); break;
    case '_': put(0x2011); break;
    case '\r': case '\n': put(u'\r'); put(u'\n'); break;
    default: break;   // \- optional hyphen, \: index subentry, \| formula, unknown symbols
    }
}

void Reader::handleByte(unsigned char byte)
{
    if (consumeSkipped())
        return;
    if (m_state.dest != Dest::Text && m_state.dest != Dest::FontTable)
        return;
    if (m_decoder)
        m_pendingBytes.append(char(byte));
    else
        put(windows1252ToUnicode(byte));
}

void Reader::handleLiteral(char16_t ch)
{
    if (consumeSkipped())
        return;
    if (ch == ';' && m_state.dest == Dest::FontTable) {
        commitFont();
    } else if (ch == ';' && m_state.dest == Dest::ColorTable) {
        m_colors.append(m_colorGiven ? std::optional<quint32>(quint32(m_red << 16 | m_green << 8 | m_blue))
                                     : std::nullopt);
        m_red = m_green = m_blue = 0;
        m_colorGiven = false;
    } else if (ch >= 0x20 || ch == u'\t') {
        put(ch);   // other control bytes are not text in RTF
    }
}

bool Reader::consumeSkipped()
{
    if (m_skipCount <= 0)
        return false;
    --m_skipCount;
    return true;
}

void Reader::put(char16_t ch)
{
    if (m_state.dest == Dest::Text)
        emitText(ch);
    else if (m_state.dest == Dest::FontTable && m_fontName.size() < 256)
        m_fontName.append(QChar(ch));
}

void Reader::emitUnicode(int value)
{
    if (value < 0)
        value += 0x10000;
    if (value < 0)
        return;
    if (value <= 0xFFFF) {
        put(char16_t(value));
    } else if (value <= 0x10FFFF) {
        put(QChar::highSurrogate(char32_t(value)));
        put(QChar::lowSurrogate(char32_t(value)));
    } else {
        put(QChar::ReplacementCharacter);
    }
}

// A stretch of printable ASCII in the body, taken at once (the byte at m_pos - 1 begins it).
void Reader::putPlainText()
{
    const qsizetype start = m_pos - 1;
    while (!atEnd() && isPlainText(peek()))
        ++m_pos;
    startRun();
    m_out.text.append(QLatin1StringView(m_data + start, m_pos - start));
    m_out.runs.last().length += m_pos - start;
}

// Makes the last run the one that text in the current format extends.
void Reader::startRun()
{
    if (m_formatDirty) {
        CharFormat format = resolveFormat();
        m_formatDirty = false;
        if (m_out.runs.isEmpty() || m_out.runs.last().format != format)
            m_out.runs.append(TextRun{m_out.text.size(), 0, std::move(format)});
    }
}

void Reader::emitText(char16_t ch)
{
    startRun();
    m_out.text.append(QChar(ch));
    ++m_out.runs.last().length;
}

void Reader::flushBytes()
{
    if (m_pendingBytes.isEmpty())
        return;
    const QString decoded = m_decoder->decode(m_pendingBytes);
    m_pendingBytes.clear();
    for (QChar ch : decoded)
        put(ch.unicode());
}

void Reader::setCodePage(int codePage)
{
    m_decoder = nullptr;
    if (codePage == 1252)
        return;
    auto [it, added] = m_decoders.try_emplace(codePage);
    if (added && m_decoders.size() <= kMaxCodePages) {
        auto decoder = std::make_unique<QStringDecoder>(codecName(codePage).constData(),
                                                        QStringConverter::Flag::Stateless);
        if (decoder->isValid())
            it->second = std::move(decoder);   // else unknown to Qt: read as 1252
    }
    m_decoder = it->second.get();
}

void Reader::commitFont()
{
    if (m_fontNumberGiven)
        m_fonts.insert(m_fontNumber, m_fontName.trimmed());
    m_fontNumberGiven = false;
    m_fontName.clear();
    m_formatDirty = true;
}

CharFormat Reader::resolveFormat() const
{
    CharFormat format;
    auto font = m_fonts.constFind(m_state.font >= 0 ? m_state.font : m_defaultFont);
    if (font == m_fonts.cend())
        font = m_fonts.constFind(m_defaultFont);
    if (font != m_fonts.cend())
        format.fontName = *font;
    format.fontSize = m_state.halfPoints / 2.0;
    format.bold = m_state.bold;
    format.italic = m_state.italic;
    format.underline = m_state.underline;
    format.strikeThrough = m_state.strike;
    if (m_state.color >= 0 && m_state.color < m_colors.size())
        format.color = m_colors.at(m_state.color);
    return format;
}

void Reader::finish(RtfReadResult &result)
{
    flushBytes();
    m_out.baseFontName = m_fonts.value(m_defaultFont);
    m_out.baseFontSize = m_baseHalfPoints / 2.0;
    result.document = normalized(std::move(m_out));
}

} // namespace

RtfReadResult readRtfDocument(QByteArrayView rtf)
{
    return Reader(rtf).run();
}

std::optional<FormattedText> readRtf(QByteArrayView rtf)
{
    RtfReadResult result = readRtfDocument(rtf);
    if (!result.ok())
        return std::nullopt;
    return std::move(result.document);
}

} // namespace tarmel
