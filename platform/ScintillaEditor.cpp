#include "platform/ScintillaEditor.h"

#include "files/LongLines.h"
#include "files/StreamDecoder.h"

#include "platform/AccessibleEditor.h"
#include "platform/RichTextBox.h"

#include <QAccessible>
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

// UTF-16 code units of UTF-8 text: one per character, two for a character beyond the BMP.
qsizetype utf16Units(const char *p, qsizetype n)
{
    qsizetype units = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(p[i]);
        units += ((b & 0xC0) != 0x80) + (b >= 0xF0);
    }
    return units;
}

// True when both texts have the same bytes wherever either has a CR or an LF. Words of eight
// bytes that are the same are passed over whole.
bool sameLineEnds(const char *a, const char *b, qsizetype n)
{
    const auto differsAtLineEnd = [](unsigned char x, unsigned char y) {
        return x != y && (x == '\r' || x == '\n' || y == '\r' || y == '\n');
    };
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        quint64 x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x == y)
            continue;
        for (int k = 0; k < 8; ++k)
            if (differsAtLineEnd(static_cast<unsigned char>(a[i + k]), static_cast<unsigned char>(b[i + k])))
                return false;
    }
    for (; i < n; ++i)
        if (differsAtLineEnd(static_cast<unsigned char>(a[i]), static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Free room after the text so that typing does not reallocate the whole buffer.
qsizetype roomToType(qsizetype size) { return std::max<qsizetype>(1 << 20, size / 64); }

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
    keepOrdinaryKeys();
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
    if (asciiOnly_)
        return bytePos;
    ensureIndex();
    const long line = SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(bytePos));
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    return SendScintilla(SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line), long(Utf16Index))
           + SendScintilla(SCI_COUNTCODEUNITS, static_cast<unsigned long>(lineStart), long(bytePos));
}

qsizetype ScintillaEditor::toBytes(qsizetype utf16Pos) const
{
    if (asciiOnly_)
        return std::clamp<qsizetype>(utf16Pos, 0, byteLength());
    ensureIndex();
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
    if (asciiOnly_)
        return byteLength();
    countPendingInsertions();
    return units_;
}

// Text inserted since the last count is in the document now: add its code units.
void ScintillaEditor::countPendingInsertions() const
{
    for (; counted_ < insertions_.size(); ++counted_) {
        const Insertion &r = insertions_.at(counted_);
        units_ += utf16Units(rangePointer(r.pos, r.length), r.length);
    }
}

const char *ScintillaEditor::rangePointer(qsizetype pos, qsizetype length) const
{
    // The range is made contiguous without moving the whole gap; the pointer comes back as a long.
    static_assert(sizeof(long) == sizeof(const char *));
    return reinterpret_cast<const char *>(
        SendScintilla(SCI_GETRANGEPOINTER, static_cast<unsigned long>(pos), long(length)));
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

// From here on the length in UTF-16 code units is kept up to date change by change.
void ScintillaEditor::becomeNonAscii()
{
    if (!asciiOnly_)
        return;
    units_ = utf16Units(characterPointer(), byteLength());
    counted_ = insertions_.size();
    asciiOnly_ = false;
}

// The engine keeps the index up to date once it exists; it is built on the first position asked
// after non-ASCII text arrived, not when the text arrives, so that a whole-text write-back that
// nothing measures in characters does not pay for it.
void ScintillaEditor::ensureIndex() const
{
    if (indexAllocated_)
        return;
    SendScintilla(SCI_ALLOCATELINECHARACTERINDEX, Utf16Index);
    indexAllocated_ = true;
}

void ScintillaEditor::releaseIndex()
{
    if (indexAllocated_)
        SendScintilla(SCI_RELEASELINECHARACTERINDEX, Utf16Index);
    indexAllocated_ = false;
    asciiOnly_ = true;
    units_ = 0;
}

// ---- whole-text writes and loading -----------------------------------------

void ScintillaEditor::beginBulkWrite(qsizetype reserve)
{
    bulk_ = true;
    SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
    SendScintilla(SCI_SETMODEVENTMASK, 0UL);
    SendScintilla(SCI_CLEARALL);
    releaseIndex();
    SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(reserve));
}

void ScintillaEditor::appendUtf8(QByteArrayView utf8)
{
    SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(utf8.size()), utf8.data());
    if (!asciiOnly_)
        units_ += utf16Units(utf8.data(), utf8.size());
    else if (!isAscii(utf8.data(), utf8.size()))
        becomeNonAscii();
}

void ScintillaEditor::endBulkWrite()
{
    resetStyles();
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
    SendScintilla(SCI_SETMODEVENTMASK, ModEvents);
    bulk_ = false;
    typed_.valid = false;
    insertions_.clear();
    counted_ = 0;
    changePending_ = true;
    colourAll_ = true;
}

void ScintillaEditor::replaceAll(const QByteArray &utf8)
{
    if (longLinesCut_)
        return;   // read-only: the engine would refuse the text, and the counts must stay its own
    const bool tellClients = QAccessible::isActive() && byteLength() <= AccessibleTextLimit
                             && utf8.size() <= AccessibleTextLimit;
    if (tellClients) {
        accessibleChanges_.append({false, 0, tarmel::utf8ToString(bytes(0, byteLength()))});
        accessibleChanges_.append({true, 0, tarmel::utf8ToString(utf8)});
    }
    if (overwriteKeepingLines(utf8) || patchChangedLines(utf8))
        return;
    beginBulkWrite(utf8.size() + roomToType(utf8.size()));
    appendUtf8(utf8);
    endBulkWrite();
}

// A rewrite that changes a few lines here and there (accents removed from the comments of a long
// program) replaces those lines only: a replacement costs about ten times what one line of a whole
// write costs, so this is done when at most one line in sixteen changed and the changed lines
// hold at most a quarter of the text. The result is the same as the general write.
bool ScintillaEditor::patchChangedLines(const QByteArray &utf8)
{
    const qsizetype oldLength = byteLength(), newLength = utf8.size();
    if (formatsInUse_ || caretFormatPos_ >= 0 || oldLength == 0)
        return false;
    const char *old = characterPointer();
    const char *now = utf8.constData();
    const auto lineEnd = [](const char *p, qsizetype from, qsizetype length) {
        const void *lf = std::memchr(p + from, '\n', std::size_t(length - from));
        return lf ? static_cast<const char *>(lf) - p + 1 : length;
    };
    struct Patch {
        qsizetype from, to, newFrom, newTo;
    };
    std::vector<Patch> patches;
    qsizetype lines = 0, patchedBytes = 0, i = 0, j = 0;
    bool open = false;
    while (i < oldLength && j < newLength) {
        const qsizetype oi = lineEnd(old, i, oldLength), nj = lineEnd(now, j, newLength);
        const bool same = oi - i == nj - j && std::memcmp(old + i, now + j, std::size_t(oi - i)) == 0;
        if (!same && !open)
            patches.push_back({i, 0, j, 0});
        if (same && open) {
            patches.back().to = i;
            patches.back().newTo = j;
            patchedBytes += i - patches.back().from;
        }
        open = !same;
        i = oi;
        j = nj;
        ++lines;
        // Hopeless already: no need to compare the rest (the count of lines is still growing).
        if (patchedBytes > oldLength / 4 || qsizetype(patches.size()) > lines / 16 + 1024)
            return false;
    }
    if (i < oldLength || j < newLength || open) {
        if (!open)
            patches.push_back({i, 0, j, 0});
        patches.back().to = oldLength;
        patches.back().newTo = newLength;
        patchedBytes += oldLength - patches.back().from;
    }
    if (patchedBytes > oldLength / 4 || qsizetype(patches.size()) > lines / 16 + 1)
        return false;

    releaseIndex();
    bulk_ = true;
    SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
    SendScintilla(SCI_SETMODEVENTMASK, 0UL);
    qsizetype shift = 0;
    for (const Patch &p : patches) {
        SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(p.from + shift), long(p.to + shift));
        SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(p.newTo - p.newFrom), now + p.newFrom);
        shift += (p.newTo - p.newFrom) - (p.to - p.from);
    }
    finishInPlaceWrite();
    return true;
}

// A rewrite of the same length that leaves every line end where it was, on a text without
// formats (case conversion and its undo), is copied over the engine's own bytes: the engine's
// line index stays right as it is, and rebuilding it is most of the cost of a whole-text write
// on a long program. The result is the same as the general write: plain text, caret at the
// start, no undo history, every layout drawn again.
bool ScintillaEditor::overwriteKeepingLines(const QByteArray &utf8)
{
    const qsizetype length = byteLength();
    if (formatsInUse_ || caretFormatPos_ >= 0 || utf8.isEmpty() || utf8.size() != length)
        return false;
    releaseIndex(); // its counts of characters per line would be stale
    if (SendScintilla(SCI_GETLINECHARACTERINDEX) != SC_LINECHARACTERINDEX_NONE)
        return false;
    // The engine hands out its buffer as read-only; it is its own memory, and nothing it
    // derives from the bytes (line starts, styles) changes with what is copied here.
    char *engine = const_cast<char *>(characterPointer());
    if (!sameLineEnds(engine, utf8.constData(), length))
        return false;
    std::memcpy(engine, utf8.constData(), length);
    finishInPlaceWrite();
    return true;
}

// What a whole-text write leaves, after a write that kept the engine's buffer: caret at the start,
// the view at the top, the counts of characters again, no undo history, every layout drawn again.
void ScintillaEditor::finishInPlaceWrite()
{
    SendScintilla(SCI_SETEMPTYSELECTION, 0UL);
    if (!isAscii(characterPointer(), byteLength()))
        becomeNonAscii();
    // The engine checks a cached line layout against the text before drawing it; the cache is
    // dropped all the same, so that nothing laid out from the old bytes is kept.
    const long cache = SendScintilla(SCI_GETLAYOUTCACHE);
    SendScintilla(SCI_SETLAYOUTCACHE, cache == SC_CACHE_NONE ? long(SC_CACHE_CARET) : long(SC_CACHE_NONE));
    SendScintilla(SCI_SETLAYOUTCACHE, cache);
    SendScintilla(SCI_SETFIRSTVISIBLELINE, 0UL);
    SendScintilla(SCI_SETXOFFSET, 0UL);
    endBulkWrite();
    viewport()->update();
}

bool ScintillaEditor::loadPlainFile(const QString &path, tarmel::FileFormat *format)
{
    // Only a regular file is read, never more than its size when opened: a FIFO, a device or a
    // file still growing cannot keep the load going.
    tarmel::ReadableFile file(path);
    if (!file.ok())
        return false;
    const qint64 size = file.size();
    // The first slice is read before the content is dropped, so that a file that cannot
    // be read leaves the document as it was.
    QByteArray slice(std::min(size, ReadSlice), Qt::Uninitialized);
    qint64 got = file.read(slice.data(), slice.size());
    if (got < 0)
        return false;
    SendScintilla(SCI_SETREADONLY, 0UL);

    beginBulkWrite(size + roomToType(size));
    longLinesCut_ = false;
    // An ASCII file is the same bytes in every encoding the codec knows: it goes into
    // the engine a slice at a time, without a second copy of the whole file, its long lines
    // cut on the way (with CR LF: the line ends of the file are known only at its end). The
    // first non-ASCII byte sends the whole file through the codec instead.
    tarmel::StreamLineCutter cutter(tarmel::longLineLimit);
    tarmel::StreamLineEnds lineEnds;
    QByteArray lastBytes, cutSlice;
    while (got > 0 && isAscii(slice.constData(), got)) {
        const QByteArrayView piece(slice.constData(), got);
        lineEnds.feed(piece);
        lastBytes = (lastBytes + piece.last(std::min<qsizetype>(2, got)).toByteArray()).right(2);
        const std::vector<qsizetype> &cuts = cutter.cutsIn(piece);
        if (cuts.empty()) {
            SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(got), piece.data());
        } else {
            // One append a slice: the engine's cost is per call, not per byte.
            cutSlice.resize(0);
            qsizetype from = 0;
            for (const qsizetype cut : cuts) {
                cutSlice.append(piece.data() + from, cut - from).append("\r\n", 2);
                from = cut;
            }
            cutSlice.append(piece.data() + from, got - from);
            SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(cutSlice.size()), cutSlice.constData());
        }
        got = file.read(slice.data(), slice.size());
    }
    if (got > 0) {
        if (!reloadThroughCodec(file, size, format)) {
            SendScintilla(SCI_CLEARALL);
            endBulkWrite();
            return false;   // the window made for the file goes again
        }
        cutLongLines(*format);
    } else {
        *format = tarmel::decodeToUtf8(lastBytes).format;   // encoding and final line end
        format->lineEnds = lineEnds.result();
        longLinesCut_ = cutter.anyCut();
    }
    SendScintilla(SCI_SETREADONLY, longLinesCut_ ? 1UL : 0UL);
    // The lines on screen keep their layout while the caret moves among them.
    SendScintilla(SCI_SETLAYOUTCACHE, longLinesCut_ ? SC_CACHE_PAGE : SC_CACHE_CARET);
    endBulkWrite();
    SendScintilla(SCI_SETSAVEPOINT);
    SendScintilla(SCI_GOTOPOS, 0UL);
    return true;
}

// A text decoded as a whole (not ASCII): a line past the limit gets line ends inserted where
// they belong, from the end backwards so that the offsets found stay valid.
void ScintillaEditor::cutLongLines(const tarmel::FileFormat &format)
{
    const QByteArrayView loaded(characterPointer(), byteLength());
    if (tarmel::longestLine(loaded) <= tarmel::longLineLimit)
        return;
    longLinesCut_ = true;
    const std::vector<qsizetype> cuts = tarmel::longLineCuts(loaded, tarmel::longLineLimit);
    const QByteArray eol = tarmel::lineEndBytes(format.lineEnds);
    if (!asciiOnly_)
        units_ += qsizetype(cuts.size()) * eol.size();   // the line ends added, one unit a byte
    SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(byteLength() + qsizetype(cuts.size()) * eol.size() + 1));
    for (auto it = cuts.rbegin(); it != cuts.rend(); ++it)
        SendScintilla(SCI_INSERTTEXT, static_cast<unsigned long>(*it), eol.constData());
}

// The whole file through the codec, read again from its start (the engine may hold its ASCII
// start already cut): once to decide its encoding, which usually takes only its first
// non-ASCII bytes, then a slice at a time straight into the engine, so that neither the
// file nor its text is ever held whole beside the engine's own copy.
bool ScintillaEditor::reloadThroughCodec(tarmel::ReadableFile &file, qint64 size, tarmel::FileFormat *format)
{
    SendScintilla(SCI_CLEARALL);
    SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(size + roomToType(size)));
    QByteArray slice(std::min(size, ReadSlice), Qt::Uninitialized);
    tarmel::StreamDecoder decoder;
    qint64 got = 0;
    if (!file.rewind())
        return false;
    while ((got = file.read(slice.data(), slice.size())) > 0 && decoder.check({slice.constData(), got})) {
    }
    if (got < 0 || !file.rewind())
        return false;
    decoder.endCheck();
    QByteArray utf8;
    while ((got = file.read(slice.data(), slice.size())) > 0) {
        utf8.resize(0);
        decoder.decode({slice.constData(), got}, utf8);
        appendUtf8(utf8);
    }
    if (got < 0)
        return false;
    *format = decoder.format();
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
    noteColourChange(insert, pos, length);
    if (!asciiOnly_) {
        // Earlier insertions are counted before this change moves or cuts them.
        countPendingInsertions();
        if (!insert)
            units_ -= utf16Units(rangePointer(pos, length), length);
    }
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
    if (asciiOnly_)
        for (const Insertion &r : std::as_const(insertions_))
            if (!isAscii(bytes(r.pos, r.pos + r.length).constData(), r.length)) {
                becomeNonAscii();
                break;
            }
    countPendingInsertions();
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
    counted_ = 0;
    sendAccessibleChanges();
    colourChangedLines();
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

} // namespace platform
