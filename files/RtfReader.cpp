// The RTF reader's state machine: groups, control words and symbols, bytes in the document's code page,
// and the text and runs it builds. The control words themselves are in RtfControlWords.cpp.
#include "files/RtfReader.h"

#include "files/RtfReaderState.h"
#include "files/TextCodec.h"

#include <algorithm>

namespace tarmel {

namespace rtf {

namespace {

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

} // namespace

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
        addColorEntry();
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

void Reader::finish(RtfReadResult &result)
{
    flushBytes();
    m_out.baseFontName = m_fonts.value(m_defaultFont);
    m_out.baseFontSize = m_baseHalfPoints / 2.0;
    result.document = normalized(std::move(m_out));
}

} // namespace rtf

RtfReadResult readRtfDocument(QByteArrayView input)
{
    return rtf::Reader(input).run();
}

std::optional<FormattedText> readRtf(QByteArrayView rtf)
{
    RtfReadResult result = readRtfDocument(rtf);
    if (!result.ok())
        return std::nullopt;
    return std::move(result.document);
}

} // namespace tarmel
