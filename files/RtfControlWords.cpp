// The RTF reader's control words: the table of known words, the code pages, and what the words of
// destinations, formats and text do to the reader's state.

#include "files/RtfReaderState.h"

#include <algorithm>
#include <utility>

namespace tarmel::rtf {

namespace {

using WordTable = std::unordered_map<std::string_view, WordInfo>;

// Destinations that hold no body text: the group they open is skipped.
void addSkippedDestinations(WordTable &t)
{
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
}

void addStateWords(WordTable &t)
{
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
}

void addUnderlinesAndCharacters(WordTable &t)
{
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
}

} // namespace

const WordInfo *findControlWord(std::string_view name)
{
    static const WordTable table = [] {
        WordTable t;
        addSkippedDestinations(t);
        addStateWords(t);
        addUnderlinesAndCharacters(t);
        return t;
    }();
    const auto it = table.find(name);
    return it == table.end() ? nullptr : &it->second;
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

void Reader::handleWord(std::string_view name, bool hasParam, int param)
{
    const bool star = std::exchange(m_starPending, false);
    const WordInfo *info = findControlWord(name);
    if (info && info->word == Word::Bin && hasParam && param > 0)
        m_pos += std::min<qsizetype>(param, m_size - m_pos);
    if (consumeSkipped())
        return;
    if (star)
        m_state.dest = Dest::Skip;
    if (m_state.dest == Dest::Skip || !info)
        return;
    if (!handleFormatWord(info->word, hasParam, param) && !handleDestinationWord(info->word, hasParam, param))
        handleTextWord(*info, hasParam, param);
}

// Tables, code pages, the default font and style numbers; true when the word was one of them.
bool Reader::handleDestinationWord(Word word, bool hasParam, int param)
{
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
    case Word::Style:
        if (m_state.dest == Dest::StyleSheet)
            m_styleNumber = param;
        break;
    default:
        return false;
    }
    return true;
}

// Breaks, tabs, named characters and \u; other words (\bin, done above) add nothing.
void Reader::handleTextWord(const WordInfo &info, bool hasParam, int param)
{
    switch (info.word) {
    case Word::Par: put(u'\r'); put(u'\n'); break;
    case Word::Tab: case Word::Cell: put(u'\t'); break;
    case Word::Char: put(info.ch); break;
    case Word::Unicode:
        if (hasParam)
            emitUnicode(param);
        m_skipCount = m_state.unicodeSkip;
        break;
    case Word::UnicodeSkip: m_state.unicodeSkip = std::max(0, param); break;
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

void Reader::addColorEntry()
{
    m_colors.append(m_colorGiven ? std::optional<quint32>(quint32(m_red << 16 | m_green << 8 | m_blue))
                                 : std::nullopt);
    m_red = m_green = m_blue = 0;
    m_colorGiven = false;
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

} // namespace tarmel::rtf
