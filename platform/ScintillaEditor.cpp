#include "platform/ScintillaEditor.h"

#include "platform/AccessibleEditor.h"
#include "platform/RichTextBox.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <cstring>

namespace platform {

namespace {

// Only the before-change events: the after-change ones make the library count
// characters from the start of the document on every keystroke.
constexpr unsigned long ModEvents = QsciScintillaBase::SC_MOD_BEFOREINSERT
                                    | QsciScintillaBase::SC_MOD_BEFOREDELETE;
constexpr unsigned long Utf16Index = QsciScintillaBase::SC_LINECHARACTERINDEX_UTF16;
constexpr qint64 ReadSlice = 8 << 20;
// Whole-text changes are reported to accessibility clients only up to this size.
constexpr qsizetype AccessibleTextLimit = 1 << 20;

bool isAscii(const char *p, qsizetype n)
{
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        quint64 w;
        std::memcpy(&w, p + i, 8);
        if (w & 0x8080808080808080ull)
            return false;
    }
    for (; i < n; ++i)
        if (static_cast<unsigned char>(p[i]) & 0x80)
            return false;
    return true;
}

// Free room after the text so that typing does not reallocate the whole buffer.
qsizetype roomToType(qsizetype size) { return std::max<qsizetype>(1 << 20, size / 64); }

bool isStyleSlot(int style) { return style > 0 && style < 256 && (style < 32 || style > 39); }

} // namespace

ScintillaEditor::ScintillaEditor(RichTextBox *owner)
    : QsciScintilla(owner)
    , owner_(owner)
    , styles_(256)
{
    // Our interface answers in time proportional to one line; factories are asked
    // most recent first, and the library installed its own in the base constructor.
    QAccessible::installFactory(&accessibleEditorFactory);

    SendScintilla(SCI_SETCODEPAGE, long(SC_CP_UTF8));
    SendScintilla(SCI_SETLEXER, long(SCLEX_CONTAINER));
    SendScintilla(SCI_SETMODEVENTMASK, ModEvents);
    for (unsigned long m = 0; m < 5; ++m)
        SendScintilla(SCI_SETMARGINWIDTHN, m, 0L);
    SendScintilla(SCI_SETSCROLLWIDTH, 1UL);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1UL);
    SendScintilla(SCI_INDICSETSTYLE, StrikeIndicator, long(INDIC_STRIKE));
    SendScintilla(SCI_INDICSETFORE, StrikeIndicator, QColor(Qt::black));
    resetStyles();
    setLineEnds(tarmel::LineEndStyle::CrLf);
    setAccessibleName(QStringLiteral("Texte"));

    connect(this, &QsciScintillaBase::SCN_MODIFIED, this, &ScintillaEditor::onModified);
    connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, &ScintillaEditor::onUpdateUi);
}

ScintillaEditor::~ScintillaEditor() = default;

// ---- positions -------------------------------------------------------------

qsizetype ScintillaEditor::byteLength() const { return SendScintilla(SCI_GETLENGTH); }

qsizetype ScintillaEditor::toUtf16(qsizetype bytePos) const
{
    if (!indexAllocated_)
        return bytePos;
    const long line = SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(bytePos));
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    return SendScintilla(SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line), long(Utf16Index))
           + SendScintilla(SCI_COUNTCODEUNITS, static_cast<unsigned long>(lineStart), long(bytePos));
}

qsizetype ScintillaEditor::toBytes(qsizetype utf16Pos) const
{
    if (!indexAllocated_)
        return std::clamp<qsizetype>(utf16Pos, 0, byteLength());
    utf16Pos = std::clamp<qsizetype>(utf16Pos, 0, utf16Length());
    const long line = SendScintilla(SCI_LINEFROMINDEXPOSITION, static_cast<unsigned long>(utf16Pos),
                                    long(Utf16Index));
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const long rel = long(utf16Pos)
                     - SendScintilla(SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                                     long(Utf16Index));
    long pos = SendScintilla(SCI_POSITIONRELATIVECODEUNITS, static_cast<unsigned long>(lineStart), rel);
    // An offset inside a surrogate pair has no position (the engine answers 0 or -1):
    // take the start of that character.
    if (rel > 0 && pos <= lineStart)
        pos = SendScintilla(SCI_POSITIONRELATIVECODEUNITS, static_cast<unsigned long>(lineStart), rel - 1);
    return pos < lineStart ? lineStart : pos;
}

qsizetype ScintillaEditor::utf16Length() const
{
    const qsizetype length = byteLength();
    if (!indexAllocated_)
        return length;
    const long last = SendScintilla(SCI_GETLINECOUNT) - 1;
    const long lastStart = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(last));
    return SendScintilla(SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(last), long(Utf16Index))
           + SendScintilla(SCI_COUNTCODEUNITS, static_cast<unsigned long>(lastStart), long(length));
}

QByteArray ScintillaEditor::bytes(qsizetype from, qsizetype to) const
{
    from = std::clamp<qsizetype>(from, 0, byteLength());
    to = std::clamp<qsizetype>(to, from, byteLength());
    QByteArray out(to - from, Qt::Uninitialized);
    if (to > from) // writes a terminating NUL, which QByteArray has room for
        SendScintilla(SCI_GETTEXTRANGE, long(from), long(to), out.data());
    return out;
}

const char *ScintillaEditor::characterPointer() const
{
    return static_cast<const char *>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
}

void ScintillaEditor::becomeNonAscii()
{
    asciiOnly_ = false;
    if (!indexAllocated_) {
        SendScintilla(SCI_ALLOCATELINECHARACTERINDEX, Utf16Index);
        indexAllocated_ = true;
    }
}

void ScintillaEditor::releaseIndex()
{
    if (indexAllocated_)
        SendScintilla(SCI_RELEASELINECHARACTERINDEX, Utf16Index);
    indexAllocated_ = false;
    asciiOnly_ = true;
}

// ---- whole-text writes and loading -----------------------------------------

void ScintillaEditor::replaceAll(const QByteArray &utf8)
{
    const bool tellClients = QAccessible::isActive() && byteLength() <= AccessibleTextLimit
                             && utf8.size() <= AccessibleTextLimit;
    if (tellClients) {
        accessibleChanges_.append({false, 0, tarmel::utf8ToString(bytes(0, byteLength()))});
        accessibleChanges_.append({true, 0, tarmel::utf8ToString(utf8)});
    }
    bulk_ = true;
    SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
    SendScintilla(SCI_SETMODEVENTMASK, 0UL);
    SendScintilla(SCI_CLEARALL);
    releaseIndex();
    SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(utf8.size() + roomToType(utf8.size())));
    SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(utf8.size()), utf8.constData());
    if (!isAscii(utf8.constData(), utf8.size()))
        becomeNonAscii();
    resetStyles();
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
    SendScintilla(SCI_SETMODEVENTMASK, ModEvents);
    bulk_ = false;
    typed_.valid = false;
    insertions_.clear();
    changePending_ = true;
}

bool ScintillaEditor::loadPlainFile(const QString &path, tarmel::FileFormat *format)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    // The first slice is read before the content is dropped, so that a file that cannot
    // be read leaves the document as it was.
    QByteArray slice(std::min(size, ReadSlice), Qt::Uninitialized);
    qint64 got = file.read(slice.data(), slice.size());
    if (got < 0)
        return false;

    bulk_ = true;
    SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
    SendScintilla(SCI_SETMODEVENTMASK, 0UL);
    SendScintilla(SCI_CLEARALL);
    releaseIndex();
    SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(size + roomToType(size)));
    // An ASCII file is the same bytes in every encoding the codec knows: it goes into
    // the engine a slice at a time, without a second copy of the whole file. The first
    // non-ASCII byte sends the whole file through the codec instead.
    bool ascii = true;
    while (got > 0) {
        if (!isAscii(slice.constData(), got)) {
            ascii = false;
            break;
        }
        SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(got), slice.constData());
        got = file.read(slice.data(), slice.size());
    }
    QByteArray tail;
    if (ascii) {
        tail = bytes(byteLength() - 2, byteLength());
    } else {
        QByteArray whole = bytes(0, byteLength());
        whole.append(slice.constData(), got);
        slice = QByteArray();
        whole.append(file.readAll());
        SendScintilla(SCI_CLEARALL);
        tarmel::DecodedUtf8 decoded = tarmel::decodeToUtf8(whole);
        whole = QByteArray();
        SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(decoded.utf8.size() + roomToType(size)));
        SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(decoded.utf8.size()), decoded.utf8.constData());
        if (!isAscii(decoded.utf8.constData(), decoded.utf8.size()))
            becomeNonAscii();
        *format = decoded.format;
    }
    resetStyles();
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
    SendScintilla(SCI_SETMODEVENTMASK, ModEvents);
    SendScintilla(SCI_SETSAVEPOINT);
    SendScintilla(SCI_GOTOPOS, 0UL);
    bulk_ = false;
    typed_.valid = false;
    insertions_.clear();
    changePending_ = true;
    if (ascii) {
        // The codec's verdict on the last bytes gives encoding and final line end;
        // the line-end style comes from the whole text.
        *format = tarmel::decodeToUtf8(tail).format;
        const char *text = static_cast<const char *>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
        format->lineEnds = tarmel::detectLineEnds(QByteArrayView(text, byteLength()));
    }
    return true;
}

void ScintillaEditor::replaceSelection(const QByteArray &utf8)
{
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_TARGETFROMSELECTION);
    SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(utf8.size()), utf8.constData());
    const long end = SendScintilla(SCI_GETTARGETEND);
    SendScintilla(SCI_ENDUNDOACTION);
    SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(end));
}

void ScintillaEditor::setLineEnds(tarmel::LineEndStyle style)
{
    const QByteArray eol = tarmel::lineEndBytes(style);
    const long mode = eol == "\n" ? SC_EOL_LF : eol == "\r" ? SC_EOL_CR : SC_EOL_CRLF;
    SendScintilla(SCI_SETEOLMODE, mode);
}

// ---- change notification ---------------------------------------------------

void ScintillaEditor::onModified(int pos, int type, const char *, int length, int, int, int, int, int, int)
{
    if (!(type & (SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE)))
        return;
    changePending_ = true;
    if (bulk_)
        return;
    const bool insert = type & SC_MOD_BEFOREINSERT;
    if (QAccessible::isActive()) {
        const QString removed = insert ? QString() : tarmel::utf8ToString(bytes(pos, pos + length));
        accessibleChanges_.append({insert, toUtf16(pos), removed, insert ? insertions_.size() : -1});
    }
    shiftInsertions(insert, pos, length);
    typed_.valid = false;
    if (!insert)
        return;
    insertions_.append({pos, length});
    if (formatsInUse_ || caretFormatPos_ >= 0) {
        // New text takes the format at the caret: the one chosen there with nothing
        // selected, else the format of the character before it.
        typed_ = {true, 0, false};
        if (const auto caret = caretFormat(pos)) {
            typed_.style = caret->first;
            typed_.strike = caret->second;
        } else if (pos > 0 || byteLength() > 0) {
            const qsizetype from = pos > 0 ? pos - 1 : 0;
            typed_.style = styleAt(from);
            typed_.strike = strikeAt(from);
        }
    }
}

void ScintillaEditor::shiftInsertions(bool insert, qsizetype pos, qsizetype length)
{
    for (Insertion &r : insertions_) {
        if (insert) {
            if (r.pos >= pos)
                r.pos += length;
            else if (r.pos + r.length > pos)
                r.length += length;
        } else {
            const qsizetype end = pos + length;
            auto moved = [&](qsizetype x) { return x <= pos ? x : x >= end ? x - length : pos; };
            const qsizetype from = moved(r.pos), to = moved(r.pos + r.length);
            r = {from, to - from};
        }
    }
}

void ScintillaEditor::flushChange()
{
    if (!changePending_)
        return;
    changePending_ = false;
    if (!indexAllocated_)
        for (const Insertion &r : std::as_const(insertions_))
            if (!isAscii(bytes(r.pos, r.pos + r.length).constData(), r.length)) {
                becomeNonAscii();
                break;
            }
    if (typed_.valid && !insertions_.isEmpty()) {
        typed_.valid = false;
        const Insertion r = insertions_.last();
        if (styleAt(r.pos) != typed_.style)
            applyStyle(r.pos, r.pos + r.length, typed_.style);
        if (strikeAt(r.pos) != typed_.strike)
            setStrike(r.pos, r.pos + r.length, typed_.strike);
        if (caretFormatPos_ == r.pos)
            caretFormatPos_ = r.pos + r.length;
    }
    for (AccessibleChange &c : accessibleChanges_)
        if (c.insertion >= 0 && c.insertion < insertions_.size()) {
            const Insertion &r = insertions_.at(c.insertion);
            c.text = tarmel::utf8ToString(bytes(r.pos, r.pos + r.length));
        }
    insertions_.clear();
    sendAccessibleChanges();
    if (owner_)
        emit owner_->textChanged();
}

void ScintillaEditor::sendAccessibleChanges()
{
    const QList<AccessibleChange> changes = std::exchange(accessibleChanges_, {});
    if (!QAccessible::isActive())
        return;
    for (const AccessibleChange &c : changes) {
        if (c.insert) {
            QAccessibleTextInsertEvent ev(this, int(c.pos), c.text);
            QAccessible::updateAccessibility(&ev);
        } else {
            QAccessibleTextRemoveEvent ev(this, int(c.pos), c.text);
            QAccessible::updateAccessibility(&ev);
        }
    }
}

void ScintillaEditor::onUpdateUi(int updated)
{
    if (!(updated & SC_UPDATE_SELECTION) || !QAccessible::isActive())
        return;
    const long caret = SendScintilla(SCI_GETCURRENTPOS);
    const long anchor = SendScintilla(SCI_GETANCHOR);
    QAccessibleTextCursorEvent cursor(this, int(toUtf16(caret)));
    QAccessible::updateAccessibility(&cursor);
    if (caret != anchor) {
        QAccessibleTextSelectionEvent selection(this, int(toUtf16(std::min(caret, anchor))),
                                                int(toUtf16(std::max(caret, anchor))));
        QAccessible::updateAccessibility(&selection);
    }
}

// ---- events ------------------------------------------------------------------

bool ScintillaEditor::event(QEvent *e)
{
    if (e->type() == QEvent::ShortcutOverride && commandFor(static_cast<QKeyEvent *>(e))) {
        e->accept(); // the key comes here; keyPressEvent decides who handles it
        return true;
    }
    const bool handled = QsciScintilla::event(e);
    flushChange();
    return handled;
}

bool ScintillaEditor::viewportEvent(QEvent *e)
{
    const bool handled = QsciScintilla::viewportEvent(e);
    flushChange();
    return handled;
}

void ScintillaEditor::addCommandKey(QAction *action) { commandKeys_.append(action); }

QAction *ScintillaEditor::commandFor(const QKeyEvent *e) const
{
    if (e->key() == 0 || e->key() == Qt::Key_unknown)
        return nullptr;
    const QKeySequence pressed(QKeyCombination(e->modifiers() & ~Qt::KeypadModifier, Qt::Key(e->key())));
    for (const QPointer<QAction> &action : commandKeys_)
        if (action && action->shortcuts().contains(pressed))
            return action;
    return nullptr;
}

void ScintillaEditor::keyPressEvent(QKeyEvent *e)
{
    if (QAction *action = commandFor(e); action && action->isEnabled()) {
        e->accept();
        action->trigger();
        return;
    }
    if (!owner_) {
        QsciScintilla::keyPressEvent(e);
        return;
    }
    KeyEventArgs down{e->key(), e->modifiers(), e->text(), false};
    emit owner_->keyDown(down);
    if (down.cancel) {
        e->accept();
        return;
    }
    const int key = e->key();
    const QString text = e->text();
    const bool produces = !text.isEmpty() && (text.at(0) >= QChar(0x20) || text.at(0) == QChar('\t'))
                          && text.at(0) != QChar(0x7f)
                          && !(e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (produces || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Backspace
        || key == Qt::Key_Escape) {
        KeyEventArgs press{key, e->modifiers(), text, false};
        emit owner_->keyPress(press);
        if (press.cancel || !owner_) {
            e->accept();
            return;
        }
    }
    QsciScintilla::keyPressEvent(e);
}

void ScintillaEditor::mousePressEvent(QMouseEvent *e)
{
    if (owner_)
        emit owner_->mouseDown({e->button(), e->modifiers(), e->position().toPoint()});
    QsciScintilla::mousePressEvent(e);
}

void ScintillaEditor::mouseReleaseEvent(QMouseEvent *e)
{
    QsciScintilla::mouseReleaseEvent(e);
    // A press and release is a click, also when it dragged a selection; the release that
    // ends a double click is not.
    const bool click = e->button() == Qt::LeftButton && !afterDoubleClick_;
    afterDoubleClick_ = false;
    if (!owner_)
        return;
    emit owner_->mouseUp({e->button(), e->modifiers(), e->position().toPoint()});
    if (click && owner_)
        emit owner_->click();
}

void ScintillaEditor::mouseDoubleClickEvent(QMouseEvent *e)
{
    QsciScintilla::mouseDoubleClickEvent(e);
    afterDoubleClick_ = true;
    if (owner_)
        emit owner_->dblClick();
}

void ScintillaEditor::dropEvent(QDropEvent *e)
{
    QsciScintilla::dropEvent(e);
    flushChange();
    if (owner_)
        emit owner_->dropped();
}

void ScintillaEditor::contextMenuEvent(QContextMenuEvent *e)
{
    // The document window opens its own Edit menu on the right button.
    e->accept();
}

} // namespace platform

// ---- character formats ---------------------------------------------------------

namespace platform {

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
