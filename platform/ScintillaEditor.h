#pragma once
// Internal to platform/: the QScintilla widget behind RichTextBox. It owns the engine
// set-up, the byte <-> UTF-16 position mapping, the change notification
// (ScintillaEditor.cpp), the keys and mouse notifications (ScintillaEditorInput.cpp) and
// the table of character formats kept as engine styles (ScintillaEditorStyles.cpp).
#include "files/FileReading.h"
#include "files/TextCodec.h"
#include "platform/LineColouring.h"

#include <Qsci/qsciscintilla.h>

#include <QColor>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <optional>
#include <vector>

class QAction;
class QKeyEvent;

namespace platform {

class RichTextBox;

// One character format as the engine holds it, the unit an engine style stands for. An
// unset font or size follows the base font, so that text made bold keeps following later
// base-font changes; an unset colour is the automatic one (drawn black); the other
// attributes are explicit. Strikethrough is not part of a style (the engine has no such
// attribute): it is an indicator laid over the range.
struct EngineFormat {
    std::optional<QString> font;
    std::optional<double> size;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<QColor> color;
    bool operator==(const EngineFormat &) const = default;
};

class ScintillaEditor : public QsciScintilla {
    Q_OBJECT
public:
    explicit ScintillaEditor(RichTextBox *owner);
    ~ScintillaEditor() override;
    void detachOwner() { owner_ = nullptr; }

    // Positions: engine byte offsets <-> UTF-16 offsets of the whole text. While the text is
    // ASCII only the two are the same number; after that both go through the engine's UTF-16
    // line index, built on the first position asked.
    qsizetype toUtf16(qsizetype bytePos) const;
    qsizetype toBytes(qsizetype utf16Pos) const;
    qsizetype byteLength() const;
    qsizetype utf16Length() const;
    bool asciiOnly() const { return asciiOnly_; }
    QByteArray bytes(qsizetype from, qsizetype to) const; // explicit length, NUL kept
    // The whole content, contiguous (the engine closes its gap), byteLength() bytes.
    const char *characterPointer() const;

    // Whole-text replacement: no undo, no modification events, plain base format.
    void replaceAll(const QByteArray &utf8);
    // Loads a plain-text file straight into the engine buffer; false when unreadable. Lines past
    // tarmel::longLineLimit are cut and the editing area becomes read-only (longLinesCut()).
    bool loadPlainFile(const QString &path, tarmel::FileFormat *format);
    bool longLinesCut() const { return longLinesCut_; }
    void replaceSelection(const QByteArray &utf8);   // caret after it, nothing selected
    void setLineEnds(tarmel::LineEndStyle style);
    void flushChange();                              // raises textChanged when due

    // Character formats.
    const EngineFormat &format(int style) const { return styles_[style].format; }
    int styleFor(const EngineFormat &format);          // -1 when the table is full
    int existingStyle(const EngineFormat &format) const; // -1 when no style has it
    int styleAt(qsizetype bytePos) const;
    bool strikeAt(qsizetype bytePos) const;
    void applyStyle(qsizetype from, qsizetype to, int style);
    void setStrike(qsizetype from, qsizetype to, bool on);
    bool formatsInUse() const { return formatsInUse_; }
    void setBaseFont(const QString &family, double size);
    QString baseFontName() const { return baseFamily_; }
    double baseFontSize() const { return baseSize_; }
    QString effectiveFont(const EngineFormat &f) const { return f.font.value_or(baseFamily_); }
    double effectiveSize(const EngineFormat &f) const { return f.size.value_or(baseSize_); }
    // Format given to the next text typed at the caret (set with nothing selected).
    void setCaretFormat(qsizetype bytePos, int style, bool strike);
    std::optional<std::pair<int, bool>> caretFormat(qsizetype bytePos) const;
    // Style runs over [from, to): calls fn(runStart, runEnd, style) until it returns false.
    template <typename Fn> void forEachStyleRun(qsizetype from, qsizetype to, Fn fn) const;
    // The struck-through ranges of the whole text, in order, as [from, to) byte pairs:
    // one engine call per range boundary.
    std::vector<std::pair<qsizetype, qsizetype>> strikeRanges() const;

    void addCommandKey(QAction *action);

    // Syntax colouring of the lines on screen (ScintillaEditorColouring.cpp).
    void setLineColourer(LineColourer colourer);
    bool hasLineColourer() const { return bool(colourer_); }
    void colourVisibleLines();   // before each drawing
    void colourChangedLines();   // after each change

    tarmel::FileFormat fileFormat;           // how the loaded file was stored

    static constexpr int StrikeIndicator = 8;
    static constexpr int ColourIndicator = 9; // its value is the colour

protected:
    bool event(QEvent *e) override;
    bool viewportEvent(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void dropEvent(QDropEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;

private:
    struct StyleSlot {
        bool used = false;
        EngineFormat format;
    };
    struct AccessibleChange {
        bool insert;
        qsizetype pos;            // UTF-16, before the change
        QString text;             // removed text; inserted text is read at flush
        qsizetype insertion = -1; // index in insertions_
    };
    struct Insertion {
        qsizetype pos, length;    // bytes, kept up to date by later changes
    };

    // Whole-text writes: undo and modification events off, the buffer reserved.
    void beginBulkWrite(qsizetype reserve);
    void appendUtf8(QByteArrayView utf8);
    void endBulkWrite();
    bool overwriteKeepingLines(const QByteArray &utf8);
    bool patchChangedLines(const QByteArray &utf8);
    void finishInPlaceWrite();
    bool reloadThroughCodec(tarmel::ReadableFile &file, qint64 size, tarmel::FileFormat *format);
    void cutLongLines(const tarmel::FileFormat &format);
    void keepOrdinaryKeys();
    void onModified(int pos, int type, const char *text, int length, int, int, int, int, int, int);
    void onUpdateUi(int updated);
    void becomeNonAscii();
    void ensureIndex() const;
    void countPendingInsertions() const;
    const char *rangePointer(qsizetype pos, qsizetype length) const;
    void releaseIndex();
    void defineStyle(int style);
    void resetStyles();
    QString engineFamily(const QString &family);
    QAction *commandFor(const QKeyEvent *e) const;
    void sendAccessibleChanges();
    void shiftInsertions(bool insert, qsizetype pos, qsizetype length);

    RichTextBox *owner_;
    bool asciiOnly_ = true;
    mutable bool indexAllocated_ = false;
    // Length in UTF-16 code units once the text is not ASCII only, kept change by change so
    // that the status bar's size never needs the engine's index.
    mutable qsizetype units_ = 0;
    mutable qsizetype counted_ = 0;  // insertions_ already in units_
    bool changePending_ = false;
    bool bulk_ = false;                      // inside replaceAll: events are ours
    bool formatsInUse_ = false;
    // The last insertion not yet followed by another change, for giving typed text
    // the format at the caret.
    struct { bool valid = false; int style = 0; bool strike = false; } typed_;
    // Text inserted since the last flush (the engine's before-insert event carries no
    // text through the library): read once it is in, for the ASCII check.
    QList<Insertion> insertions_;
    qsizetype caretFormatPos_ = -1;
    int caretStyle_ = 0;
    bool caretStrike_ = false;
    std::vector<StyleSlot> styles_;
    QString baseFamily_ = QStringLiteral("Courier New");
    double baseSize_ = 10;
    QHash<QString, QString> engineFamilies_;
    QList<QPointer<QAction>> commandKeys_;
    QList<AccessibleChange> accessibleChanges_;
    bool afterDoubleClick_ = false;
    struct VisibleLines {
        long first = -1, last = -1;
        bool operator==(const VisibleLines &) const = default;
    };
    VisibleLines visibleLines() const;
    void colourLines(long first, long last);
    void noteColourChange(bool insert, qsizetype pos, qsizetype length);

    LineColourer colourer_;
    bool colourAll_ = true;                   // the whole text changed since the lines were coloured
    qsizetype changedFrom_ = -1, changedTo_ = -1; // bytes changed since, -1: none
    VisibleLines coloured_;                   // the lines on screen when last coloured
    std::vector<ColourRun> colourRuns_;
    bool longLinesCut_ = false;
};

template <typename Fn>
void ScintillaEditor::forEachStyleRun(qsizetype from, qsizetype to, Fn fn) const
{
    // Styled text comes back as (byte, style) pairs; read it a slice at a time.
    constexpr qsizetype Slice = 1 << 16;
    QByteArray buf;
    qsizetype runStart = from;
    int runStyle = -1;
    for (qsizetype at = from; at < to; at += Slice) {
        const qsizetype end = std::min(to, at + Slice);
        buf.resize(2 * (end - at) + 2);
        SendScintilla(SCI_GETSTYLEDTEXT, long(at), long(end), buf.data());
        for (qsizetype i = 0; i < end - at; ++i) {
            const int st = static_cast<unsigned char>(buf[2 * i + 1]);
            if (st != runStyle) {
                if (runStyle >= 0 && !fn(runStart, at + i, runStyle))
                    return;
                runStart = at + i;
                runStyle = st;
            }
        }
    }
    if (runStyle >= 0)
        fn(runStart, to, runStyle);
}

} // namespace platform
