#include "platform/RichTextBox.h"

#include "platform/ScintillaEditor.h"

#include <QSaveFile>
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

CharFormat currentFormat(const ScintillaEditor *ed) { return ed->format(currentStyle(ed).first); }

// Changes one attribute over the selection, style run by style run. With nothing
// selected the change is kept as the format of the text typed next at the caret.
template <typename Change>
void applyToSelection(ScintillaEditor *ed, Change change)
{
    const qsizetype from = selectionFrom(ed), to = selectionTo(ed);
    if (from == to) {
        const auto [style, strike] = currentStyle(ed);
        CharFormat f = ed->format(style);
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
            CharFormat f = ed->format(r.style);
            change(f);
            mapped[r.style] = ed->styleFor(f);
        }
        if (mapped[r.style] >= 0 && mapped[r.style] != r.style)
            ed->applyStyle(r.from, r.to, mapped[r.style]);
    }
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
        applyToSelection(editor_, [&](CharFormat &f) { f.font = name; });
}

double RichTextBox::selFontSize() const { return editor_->effectiveSize(currentFormat(editor_)); }

void RichTextBox::setSelFontSize(double points)
{
    if (points > 0)
        applyToSelection(editor_, [&](CharFormat &f) { f.size = points; });
}

bool RichTextBox::selBold() const { return currentFormat(editor_).bold; }
void RichTextBox::setSelBold(bool on) { applyToSelection(editor_, [&](CharFormat &f) { f.bold = on; }); }
bool RichTextBox::selItalic() const { return currentFormat(editor_).italic; }
void RichTextBox::setSelItalic(bool on) { applyToSelection(editor_, [&](CharFormat &f) { f.italic = on; }); }
bool RichTextBox::selUnderline() const { return currentFormat(editor_).underline; }
void RichTextBox::setSelUnderline(bool on)
{
    applyToSelection(editor_, [&](CharFormat &f) { f.underline = on; });
}
QColor RichTextBox::selColor() const { return currentFormat(editor_).color; }
void RichTextBox::setSelColor(const QColor &color)
{
    applyToSelection(editor_, [&](CharFormat &f) { f.color = color; });
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

void RichTextBox::setBaseFont(const QString &family, double pointSize) { editor_->setBaseFont(family, pointSize); }
QString RichTextBox::baseFontName() const { return editor_->baseFontName(); }
double RichTextBox::baseFontSize() const { return editor_->baseFontSize(); }

// ---- files -----------------------------------------------------------------------

bool RichTextBox::loadFile(const QString &path, int type)
{
    // Rich text (type 0) has no reader yet; such files are refused, content unchanged.
    // A reader will set the plain text first, then lay its runs over it with the same
    // per-range formats as setSel* (ScintillaEditor::styleFor/applyStyle/setStrike).
    if (type != 1)
        return false;
    tarmel::FileFormat format;
    if (!editor_->loadPlainFile(path, &format))
        return false;
    setFileFormat(format);
    editor_->flushChange();
    return true;
}

bool RichTextBox::saveFile(const QString &path, int type)
{
    if (type != 1) // no rich-text writer yet
        return false;
    const tarmel::FileFormat &format = editor_->fileFormat;
    const tarmel::Encoded encoded = tarmel::encodeFromUtf8(utf8(), format.encoding, format.bom);
    if (!encoded.ok)
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(encoded.bytes) != encoded.bytes.size())
        return false;
    if (!file.commit())
        return false;
    editor_->SendScintilla(Sci::SCI_SETSAVEPOINT);
    return true;
}

tarmel::FileFormat RichTextBox::fileFormat() const { return editor_->fileFormat; }

void RichTextBox::setFileFormat(const tarmel::FileFormat &format)
{
    editor_->fileFormat = format;
    editor_->setLineEnds(format.lineEnds);
}

// ---- keys and undo ---------------------------------------------------------------

void RichTextBox::addCommandKey(QAction *action) { editor_->addCommandKey(action); }

void RichTextBox::clearUndoHistory() { editor_->SendScintilla(Sci::SCI_EMPTYUNDOBUFFER); }

bool RichTextBox::insertMode() const { return editor_->SendScintilla(Sci::SCI_GETOVERTYPE) == 0; }

} // namespace platform
