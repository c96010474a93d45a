#include "platform/RichTextBox.h"

#include "files/AtomicWriter.h"
#include "files/RtfReader.h"
#include "files/RtfWriter.h"
#include "platform/ScintillaEditor.h"

#include <QFile>
#include <QFileInfo>
#include <QVBoxLayout>

namespace platform {

namespace {

using Sci = QsciScintillaBase;

qsizetype selectionFrom(const ScintillaEditor *ed) { return ed->SendScintilla(Sci::SCI_GETSELECTIONSTART); }
qsizetype selectionTo(const ScintillaEditor *ed) { return ed->SendScintilla(Sci::SCI_GETSELECTIONEND); }

// The style (and strikethrough) that reading a format attribute looks at: the first
// selected character, or with nothing selected the format typed text would take.
std::pair<int, bool> currentStyle(const ScintillaEditor *ed)
{
    const qsizetype from = selectionFrom(ed);
    if (from == selectionTo(ed)) {
        if (const auto caret = ed->caretFormat(from))
            return *caret;
        const qsizetype at = from > 0 ? from - 1 : from;
        if (at >= ed->byteLength())
            return {0, false};
        return {ed->styleAt(at), ed->strikeAt(at)};
    }
    return {ed->styleAt(from), ed->strikeAt(from)};
}

EngineFormat currentFormat(const ScintillaEditor *ed) { return ed->format(currentStyle(ed).first); }

// Changes one attribute over the selection, style run by style run. With nothing
// selected the change is kept as the format of the text typed next at the caret.
template <typename Change>
void applyToSelection(ScintillaEditor *ed, Change change)
{
    const qsizetype from = selectionFrom(ed), to = selectionTo(ed);
    if (from == to) {
        const auto [style, strike] = currentStyle(ed);
        EngineFormat f = ed->format(style);
        change(f);
        if (const int st = ed->styleFor(f); st >= 0)
            ed->setCaretFormat(from, st, strike);
        return;
    }
    struct Run { qsizetype from, to; int style; };
    std::vector<Run> runs;
    ed->forEachStyleRun(from, to, [&](qsizetype a, qsizetype b, int st) {
        runs.push_back({a, b, st});
        return true;
    });
    int mapped[256];
    std::fill(std::begin(mapped), std::end(mapped), -2);
    for (const Run &r : runs) {
        if (mapped[r.style] == -2) {
            EngineFormat f = ed->format(r.style);
            change(f);
            mapped[r.style] = ed->styleFor(f);
        }
        if (mapped[r.style] >= 0 && mapped[r.style] != r.style)
            ed->applyStyle(r.from, r.to, mapped[r.style]);
    }
}

// ---- formatted text <-> engine --------------------------------------------------

// The engine's form of a run's format: font and size equal to the base font's follow it.
EngineFormat toEngine(const tarmel::CharFormat &c, const QString &baseFont, double baseSize)
{
    EngineFormat e;
    if (!c.fontName.isEmpty() && c.fontName != baseFont)
        e.font = c.fontName;
    if (c.fontSize > 0 && c.fontSize != baseSize)
        e.size = c.fontSize;
    e.bold = c.bold;
    e.italic = c.italic;
    e.underline = c.underline;
    if (c.color)
        e.color = QColor::fromRgb(QRgb(*c.color & 0xFFFFFFu));
    return e;
}

tarmel::CharFormat fromEngine(const ScintillaEditor *ed, const EngineFormat &e, bool strike)
{
    tarmel::CharFormat c;
    c.fontName = ed->effectiveFont(e);
    c.fontSize = ed->effectiveSize(e);
    c.bold = e.bold;
    c.italic = e.italic;
    c.underline = e.underline;
    c.strikeThrough = strike;
    if (e.color)
        c.color = quint32(e.color->rgb() & 0xFFFFFFu);
    return c;
}

// UTF-8 of a text, a lone surrogate written as U+FFFD, together with the byte offset of
// each of the ascending UTF-16 offsets in `offsets` (replaced in place). An offset inside
// a surrogate pair maps to the end of that character. One pass over the text.
QByteArray utf8WithOffsets(const QString &text, std::vector<qsizetype> &offsets)
{
    const char16_t *u = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype n = text.size();
    auto pairAt = [&](qsizetype i) {
        return QChar::isHighSurrogate(u[i]) && i + 1 < n && QChar::isLowSurrogate(u[i + 1]);
    };
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = u[i];
        if (c < 0x80)
            bytes += 1;
        else if (c < 0x800)
            bytes += 2;
        else if (pairAt(i)) {
            bytes += 4;
            ++i;
        } else
            bytes += 3; // a BMP character, or a lone surrogate as U+FFFD
    }
    QByteArray out(bytes, Qt::Uninitialized);
    char *d = out.data();
    std::size_t next = 0;
    for (qsizetype i = 0; i < n; ++i) {
        while (next < offsets.size() && offsets[next] <= i)
            offsets[next++] = d - out.data();
        char32_t c = u[i];
        if (c < 0x80) {
            *d++ = char(c);
            continue;
        }
        if (c < 0x800) {
            *d++ = char(0xC0 | (c >> 6));
        } else {
            if (pairAt(i)) {
                c = QChar::surrogateToUcs4(u[i], u[i + 1]);
                ++i;
            } else if (QChar::isSurrogate(c))
                c = 0xFFFD;
            if (c >= 0x10000) {
                *d++ = char(0xF0 | (c >> 18));
                *d++ = char(0x80 | ((c >> 12) & 0x3F));
            } else {
                *d++ = char(0xE0 | (c >> 12));
            }
            *d++ = char(0x80 | ((c >> 6) & 0x3F));
        }
        *d++ = char(0x80 | (c & 0x3F));
    }
    while (next < offsets.size())
        offsets[next++] = bytes;
    return out;
}

// Turns ascending byte offsets of valid UTF-8 into UTF-16 offsets, counting only the
// bytes between one offset and the next.
class Utf16Counter {
public:
    Utf16Counter(const char *utf8, bool ascii) : p_(reinterpret_cast<const uchar *>(utf8)), ascii_(ascii) {}
    qsizetype at(qsizetype bytePos)
    {
        if (ascii_)
            return bytePos;
        for (; byte_ < bytePos; ++byte_) {
            const uchar b = p_[byte_];
            units_ += ((b & 0xC0) != 0x80) + (b >= 0xF0); // a lead byte; 4-byte ones are pairs
        }
        return units_;
    }

private:
    const uchar *p_;
    bool ascii_;
    qsizetype byte_ = 0, units_ = 0;
};

struct ByteRun {
    qsizetype from, to;
    int style;
};

// The style runs of the whole text; one run of style 0 when no format was ever applied.
std::vector<ByteRun> styleRuns(const ScintillaEditor *ed)
{
    const qsizetype length = ed->byteLength();
    if (!ed->formatsInUse())
        return {{0, length, 0}};
    std::vector<ByteRun> runs;
    ed->forEachStyleRun(0, length, [&](qsizetype a, qsizetype b, int st) {
        runs.push_back({a, b, st});
        return true;
    });
    return runs;
}

} // namespace

RichTextBox::RichTextBox(QWidget *parent)
    : QWidget(parent)
    , editor_(new ScintillaEditor(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editor_);
    setFocusProxy(editor_);
}

RichTextBox::~RichTextBox() { editor_->detachOwner(); }

QsciScintilla *RichTextBox::engine() const { return editor_; }

// ---- text --------------------------------------------------------------------

QString RichTextBox::text() const
{
    const auto *p = static_cast<const char *>(editor_->SendScintillaPtrResult(Sci::SCI_GETCHARACTERPOINTER));
    return tarmel::utf8ToString(QByteArrayView(p, editor_->byteLength()));
}

void RichTextBox::setText(const QString &text) { setUtf8(text.toUtf8()); }

QByteArray RichTextBox::utf8() const { return editor_->bytes(0, editor_->byteLength()); }

void RichTextBox::setUtf8(const QByteArray &utf8)
{
    editor_->replaceAll(utf8);
    editor_->flushChange();
}

qsizetype RichTextBox::textLength() const { return editor_->utf16Length(); }

bool RichTextBox::isEmpty() const { return editor_->byteLength() == 0; }

QByteArrayView RichTextBox::utf8View() const
{
    const char *bytes = editor_->characterPointer();
    return bytes ? QByteArrayView(bytes, editor_->byteLength()) : QByteArrayView();
}

qsizetype RichTextBox::positionOfByte(qsizetype bytePos) const { return editor_->toUtf16(bytePos); }

qsizetype RichTextBox::byteOfPosition(qsizetype position) const { return editor_->toBytes(position); }

// ---- selection -----------------------------------------------------------------

qsizetype RichTextBox::selStart() const { return editor_->toUtf16(selectionFrom(editor_)); }

void RichTextBox::setSelStart(qsizetype start)
{
    editor_->SendScintilla(Sci::SCI_GOTOPOS, static_cast<unsigned long>(editor_->toBytes(start)));
}

qsizetype RichTextBox::selLength() const
{
    const qsizetype from = selectionFrom(editor_), to = selectionTo(editor_);
    return from == to ? 0 : editor_->toUtf16(to) - editor_->toUtf16(from);
}

void RichTextBox::setSelLength(qsizetype length)
{
    const qsizetype from = selectionFrom(editor_);
    const qsizetype to = editor_->toBytes(editor_->toUtf16(from) + std::max<qsizetype>(0, length));
    editor_->SendScintilla(Sci::SCI_SETSEL, static_cast<unsigned long>(from), long(to));
}

QString RichTextBox::selText() const
{
    return tarmel::utf8ToString(editor_->bytes(selectionFrom(editor_), selectionTo(editor_)));
}

void RichTextBox::setSelText(const QString &text)
{
    editor_->replaceSelection(text.toUtf8());
    editor_->flushChange();
}

// ---- character formats ---------------------------------------------------------

std::optional<QString> RichTextBox::selFontName() const
{
    const qsizetype from = selectionFrom(editor_), to = selectionTo(editor_);
    const QString first = editor_->effectiveFont(currentFormat(editor_));
    if (from == to || !editor_->formatsInUse())
        return first;
    bool single = true;
    editor_->forEachStyleRun(from, to, [&](qsizetype, qsizetype, int st) {
        single = editor_->effectiveFont(editor_->format(st)) == first;
        return single;
    });
    if (!single)
        return std::nullopt;
    return first;
}

void RichTextBox::setSelFontName(const QString &name)
{
    if (!name.isEmpty())
        applyToSelection(editor_, [&](EngineFormat &f) { f.font = name; });
}

double RichTextBox::selFontSize() const { return editor_->effectiveSize(currentFormat(editor_)); }

void RichTextBox::setSelFontSize(double points)
{
    if (points > 0)
        applyToSelection(editor_, [&](EngineFormat &f) { f.size = points; });
}

bool RichTextBox::selBold() const { return currentFormat(editor_).bold; }
void RichTextBox::setSelBold(bool on) { applyToSelection(editor_, [&](EngineFormat &f) { f.bold = on; }); }
bool RichTextBox::selItalic() const { return currentFormat(editor_).italic; }
void RichTextBox::setSelItalic(bool on) { applyToSelection(editor_, [&](EngineFormat &f) { f.italic = on; }); }
bool RichTextBox::selUnderline() const { return currentFormat(editor_).underline; }
void RichTextBox::setSelUnderline(bool on)
{
    applyToSelection(editor_, [&](EngineFormat &f) { f.underline = on; });
}
QColor RichTextBox::selColor() const { return currentFormat(editor_).color.value_or(QColor(Qt::black)); }
void RichTextBox::setSelColor(const QColor &color)
{
    applyToSelection(editor_, [&](EngineFormat &f) { f.color = color; });
}

bool RichTextBox::selStrikeThru() const { return currentStyle(editor_).second; }

void RichTextBox::setSelStrikeThru(bool on)
{
    const qsizetype from = selectionFrom(editor_), to = selectionTo(editor_);
    if (from == to)
        editor_->setCaretFormat(from, currentStyle(editor_).first, on);
    else
        editor_->setStrike(from, to, on);
}

// ---- formatted text ------------------------------------------------------------

tarmel::FormattedText RichTextBox::formattedText() const
{
    tarmel::FormattedText doc;
    doc.text = text();
    doc.baseFontName = baseFontName();
    doc.baseFontSize = baseFontSize();
    const qsizetype length = editor_->byteLength();
    if (length == 0)
        return doc;
    const std::vector<ByteRun> styles = styleRuns(editor_);
    const std::vector<std::pair<qsizetype, qsizetype>> strikes = editor_->strikeRanges();
    // Each style's format is made once, struck through or not.
    std::vector<std::optional<tarmel::CharFormat>> made(512);
    Utf16Counter utf16(editor_->characterPointer(), editor_->asciiOnly());
    std::size_t k = 0;
    qsizetype start16 = 0;
    for (const ByteRun &run : styles) {
        for (qsizetype pos = run.from; pos < run.to;) {
            while (k < strikes.size() && strikes[k].second <= pos)
                ++k;
            const bool struck = k < strikes.size() && strikes[k].first <= pos;
            const qsizetype end =
                k < strikes.size() ? std::min(run.to, struck ? strikes[k].second : strikes[k].first) : run.to;
            std::optional<tarmel::CharFormat> &format = made[2 * run.style + struck];
            if (!format)
                format = fromEngine(editor_, editor_->format(run.style), struck);
            const qsizetype end16 = utf16.at(end);
            doc.runs.append(tarmel::TextRun{start16, end16 - start16, *format});
            start16 = end16;
            pos = end;
        }
    }
    return tarmel::normalized(std::move(doc));
}

void RichTextBox::setFormattedText(const tarmel::FormattedText &document)
{
    const tarmel::FormattedText doc = tarmel::normalized(document);
    std::vector<qsizetype> bounds;
    bounds.reserve(2 * doc.runs.size());
    for (const tarmel::TextRun &run : doc.runs) {
        bounds.push_back(run.start);
        bounds.push_back(run.start + run.length);
    }
    const QByteArray utf8 = utf8WithOffsets(doc.text, bounds);
    editor_->replaceAll(utf8);
    editor_->setBaseFont(doc.baseFontName, doc.baseFontSize);
    const QString baseName = editor_->baseFontName();
    const double baseSize = editor_->baseFontSize();
    // The engine has a few hundred styles; formats beyond them show in the base format.
    bool tableFull = false;
    for (qsizetype i = 0; i < doc.runs.size(); ++i) {
        const tarmel::CharFormat &c = doc.runs.at(i).format;
        const qsizetype from = bounds[2 * i], to = bounds[2 * i + 1];
        const EngineFormat e = toEngine(c, baseName, baseSize);
        int style = tableFull ? editor_->existingStyle(e) : editor_->styleFor(e);
        if (style < 0) {
            tableFull = true;
            style = 0;
        }
        if (style != 0)
            editor_->applyStyle(from, to, style);
        if (c.strikeThrough)
            editor_->setStrike(from, to, true);
    }
    editor_->flushChange();
}

void RichTextBox::setBaseFont(const QString &family, double pointSize) { editor_->setBaseFont(family, pointSize); }
QString RichTextBox::baseFontName() const { return editor_->baseFontName(); }
double RichTextBox::baseFontSize() const { return editor_->baseFontSize(); }

// ---- files -----------------------------------------------------------------------

bool RichTextBox::loadFile(const QString &path, tarmel::FileType type)
{
    if (type == tarmel::FileType::Rich)
        return loadRichFile(path);
    tarmel::FileFormat format;
    if (!editor_->loadPlainFile(path, &format))
        return false;
    setFileFormat(format);
    editor_->flushChange();
    return true;
}

bool RichTextBox::longLinesCut() const { return editor_->longLinesCut(); }

bool RichTextBox::loadRichFile(const QString &path)
{
    tarmel::ReadableFile file(path);
    QByteArray bytes;
    if (!file.ok() || !file.readAll(&bytes))
        return false;
    const std::optional<tarmel::FormattedText> doc = tarmel::readRtf(bytes);
    if (!doc)
        return false;
    tarmel::FileFormat format;
    format.lineEnds = tarmel::LineEndStyle::CrLf;
    setFileFormat(format);
    // The runs carry the file's fonts; the window keeps its own base font, the one a
    // whole-text rewrite (undo, renumbering) returns to.
    tarmel::FormattedText content = *doc;
    content.baseFontName = baseFontName();
    content.baseFontSize = baseFontSize();
    setFormattedText(content);
    editor_->SendScintilla(Sci::SCI_SETSAVEPOINT);
    editor_->SendScintilla(Sci::SCI_GOTOPOS, 0UL);
    return true;
}

tarmel::WriteResult RichTextBox::saveRichFile(const QString &path, const tarmel::SecureBeforeRewrite &secure)
{
    tarmel::WriteResult result = tarmel::writeFileAtomically(path, tarmel::writeRtf(formattedText()), secure);
    if (result.ok)
        editor_->SendScintilla(Sci::SCI_SETSAVEPOINT);
    return result;
}

tarmel::FileFormat RichTextBox::fileFormat() const { return editor_->fileFormat; }

void RichTextBox::setFileFormat(const tarmel::FileFormat &format)
{
    editor_->fileFormat = format;
    editor_->setLineEnds(format.lineEnds);
}

// ---- keys and undo ---------------------------------------------------------------

void RichTextBox::addCommandKey(QAction *action) { editor_->addCommandKey(action); }

void RichTextBox::setLineColourer(LineColourer colourer) { editor_->setLineColourer(std::move(colourer)); }

bool RichTextBox::hasLineColourer() const { return editor_->hasLineColourer(); }

qsizetype RichTextBox::lineStartPosition(qsizetype line) const
{
    if (line >= lineCount())
        return textLength();
    const qsizetype byte = editor_->SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(std::max<qsizetype>(0, line)));
    return editor_->toUtf16(byte);
}

qsizetype RichTextBox::lineCount() const { return editor_->SendScintilla(Sci::SCI_GETLINECOUNT); }

void RichTextBox::clearUndoHistory() { editor_->SendScintilla(Sci::SCI_EMPTYUNDOBUFFER); }

bool RichTextBox::insertMode() const { return editor_->SendScintilla(Sci::SCI_GETOVERTYPE) == 0; }

int RichTextBox::tabWidth() const { return int(editor_->SendScintilla(Sci::SCI_GETTABWIDTH)); }

} // namespace platform
