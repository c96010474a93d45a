// The character formats of the editing area, kept as engine styles: one style per
// distinct format, made on demand and given back when the table is full.
#include "platform/ScintillaEditor.h"

#include <QFontInfo>

namespace platform {

namespace {

// Styles 32 to 39 are the engine's own (default, line numbers, braces...); 0 is plain text.
bool isStyleSlot(int style) { return style > 0 && style < 256 && (style < 32 || style > 39); }

} // namespace

QString ScintillaEditor::engineFamily(const QString &family)
{
    // The engine takes a family name as it is; resolve it here with a fixed-pitch
    // fallback, so that a program font missing on this desktop stays monospaced.
    auto it = engineFamilies_.constFind(family);
    if (it != engineFamilies_.constEnd())
        return *it;
    QFont font(family);
    font.setStyleHint(QFont::TypeWriter);
    QString resolved = QFontInfo(font).family();
    if (resolved.isEmpty())
        resolved = family;
    engineFamilies_.insert(family, resolved);
    return resolved;
}

void ScintillaEditor::defineStyle(int style)
{
    const EngineFormat &f = styles_[style].format;
    const unsigned long st = static_cast<unsigned long>(style);
    const QByteArray family = engineFamily(effectiveFont(f)).toUtf8();
    SendScintilla(SCI_STYLESETFONT, static_cast<uintptr_t>(st), family.constData());
    SendScintilla(SCI_STYLESETSIZEFRACTIONAL, st, long(qRound(effectiveSize(f) * int(SC_FONT_SIZE_MULTIPLIER))));
    SendScintilla(SCI_STYLESETBOLD, st, long(f.bold));
    SendScintilla(SCI_STYLESETITALIC, st, long(f.italic));
    SendScintilla(SCI_STYLESETUNDERLINE, st, long(f.underline));
    SendScintilla(SCI_STYLESETFORE, st, f.color.value_or(QColor(Qt::black)));
    SendScintilla(SCI_STYLESETBACK, st, QColor(Qt::white));
}

void ScintillaEditor::resetStyles()
{
    std::fill(styles_.begin(), styles_.end(), StyleSlot{});
    styles_[0].used = true;
    styles_[STYLE_DEFAULT].used = true;
    defineStyle(STYLE_DEFAULT);
    defineStyle(0);
    formatsInUse_ = false;
    caretFormatPos_ = -1;
}

int ScintillaEditor::styleFor(const EngineFormat &format)
{
    if (format == EngineFormat{})
        return 0;
    for (int pass = 0; pass < 2; ++pass) {
        int free = -1;
        for (int st = 1; st < 256; ++st) {
            if (!isStyleSlot(st))
                continue;
            if (styles_[st].used && styles_[st].format == format)
                return st;
            if (!styles_[st].used && free < 0)
                free = st;
        }
        if (free >= 0) {
            styles_[free] = {true, format};
            defineStyle(free);
            return free;
        }
        // Table full: give back the styles no character uses any more (one pass
        // over the document, only when every slot has been taken).
        std::vector<bool> seen(256);
        forEachStyleRun(0, byteLength(), [&](qsizetype, qsizetype, int st) {
            seen[st] = true;
            return true;
        });
        if (caretFormatPos_ >= 0)
            seen[caretStyle_] = true;
        for (int st = 1; st < 256; ++st)
            if (isStyleSlot(st) && !seen[st])
                styles_[st].used = false;
    }
    return -1;
}

int ScintillaEditor::existingStyle(const EngineFormat &format) const
{
    if (format == EngineFormat{})
        return 0;
    for (int st = 1; st < 256; ++st)
        if (isStyleSlot(st) && styles_[st].used && styles_[st].format == format)
            return st;
    return -1;
}

int ScintillaEditor::styleAt(qsizetype bytePos) const
{
    return int(SendScintilla(SCI_GETSTYLEAT, static_cast<unsigned long>(bytePos))) & 0xff;
}

bool ScintillaEditor::strikeAt(qsizetype bytePos) const
{
    return SendScintilla(SCI_INDICATORVALUEAT, static_cast<unsigned long>(StrikeIndicator), long(bytePos)) != 0;
}

void ScintillaEditor::applyStyle(qsizetype from, qsizetype to, int style)
{
    if (to <= from)
        return;
    SendScintilla(SCI_STARTSTYLING, static_cast<unsigned long>(from), 0L);
    SendScintilla(SCI_SETSTYLING, static_cast<unsigned long>(to - from), long(style));
    if (style != 0)
        formatsInUse_ = true;
}

void ScintillaEditor::setStrike(qsizetype from, qsizetype to, bool on)
{
    if (to <= from)
        return;
    SendScintilla(SCI_SETINDICATORCURRENT, static_cast<unsigned long>(StrikeIndicator));
    if (on) {
        SendScintilla(SCI_SETINDICATORVALUE, 1UL);
        SendScintilla(SCI_INDICATORFILLRANGE, static_cast<unsigned long>(from), long(to - from));
        formatsInUse_ = true;
    } else {
        SendScintilla(SCI_INDICATORCLEARRANGE, static_cast<unsigned long>(from), long(to - from));
    }
}

std::vector<std::pair<qsizetype, qsizetype>> ScintillaEditor::strikeRanges() const
{
    std::vector<std::pair<qsizetype, qsizetype>> ranges;
    if (!formatsInUse_)
        return ranges; // nothing was ever struck through since the last whole-text write
    const qsizetype length = byteLength();
    for (qsizetype pos = 0; pos < length;) {
        // The end of the indicator's run (set or clear) that holds pos; 0 when the
        // indicator was never used.
        qsizetype end = SendScintilla(SCI_INDICATOREND, static_cast<unsigned long>(StrikeIndicator), long(pos));
        if (end <= pos || end > length)
            end = length;
        if (strikeAt(pos)) {
            if (!ranges.empty() && ranges.back().second == pos)
                ranges.back().second = end;
            else
                ranges.emplace_back(pos, end);
        }
        pos = end;
    }
    return ranges;
}

void ScintillaEditor::setBaseFont(const QString &family, double size)
{
    if (!family.isEmpty())
        baseFamily_ = family;
    if (size > 0)
        baseSize_ = size;
    for (int st = 0; st < 256; ++st)
        if (styles_[st].used && (!styles_[st].format.font || !styles_[st].format.size))
            defineStyle(st);
}

void ScintillaEditor::setCaretFormat(qsizetype bytePos, int style, bool strike)
{
    caretFormatPos_ = bytePos;
    caretStyle_ = style;
    caretStrike_ = strike;
}

std::optional<std::pair<int, bool>> ScintillaEditor::caretFormat(qsizetype bytePos) const
{
    if (caretFormatPos_ < 0 || caretFormatPos_ != bytePos)
        return std::nullopt;
    return std::pair{caretStyle_, caretStrike_};
}

} // namespace platform
