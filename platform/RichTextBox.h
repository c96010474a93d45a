#pragma once
#include "files/AtomicWriter.h"
#include "files/FormattedText.h"
#include "files/TextCodec.h"
#include "platform/LineColouring.h"

#include <QByteArrayView>
#include <QColor>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <optional>

class QAction;
class QsciScintilla;

namespace platform {

class ScintillaEditor;

// Key notifications are raised before the key takes effect; setting cancel drops it.
struct KeyEventArgs {
    int keyCode = 0;                       // Qt::Key
    Qt::KeyboardModifiers shift;
    QString text;                          // the character(s) the key produces
    bool cancel = false;
};

struct MouseEventArgs {
    Qt::MouseButton button = Qt::NoButton;
    Qt::KeyboardModifiers shift;
    QPoint pos;
};

// The editing area of a document window, on the QScintilla engine, speaking the
// program's model: text() is the whole content with its line breaks as stored (a CR LF
// counts two characters); selStart() is 0-based; positions and lengths count UTF-16
// units of text(). Every query below is answered without scanning the document from
// its start, so that typing costs the same at line 10 and at line 5,000,000.
class RichTextBox : public QWidget {
    Q_OBJECT
public:
    explicit RichTextBox(QWidget *parent = nullptr);
    ~RichTextBox() override;

    // Whole text. Writing replaces everything by plain text in the base font (formats
    // are dropped), empties the engine's own undo history and raises textChanged once.
    QString text() const;
    void setText(const QString &text);
    QByteArray utf8() const;                 // the content as UTF-8, NUL bytes included
    void setUtf8(const QByteArray &utf8);    // as setText, from UTF-8
    qsizetype textLength() const;            // == text().size(), without building it
    bool isEmpty() const;
    // The engine's own UTF-8 buffer, read where it stands: valid until the next change of the
    // text; null when the engine cannot give it (out of memory). Byte offsets in it and
    // positions (UTF-16 units of text()) convert both ways.
    QByteArrayView utf8View() const;
    qsizetype positionOfByte(qsizetype bytePos) const;
    qsizetype byteOfPosition(qsizetype position) const;

    qsizetype selStart() const;
    void setSelStart(qsizetype start);       // leaves nothing selected
    qsizetype selLength() const;
    void setSelLength(qsizetype length);     // from selStart()
    QString selText() const;
    void setSelText(const QString &text);    // replaces the selection, caret after it

    // Character formats of the selection (or at the caret). selFontName() has no value
    // when the selection holds more than one font.
    std::optional<QString> selFontName() const;
    void setSelFontName(const QString &name);
    double selFontSize() const;
    void setSelFontSize(double points);
    bool selBold() const;
    void setSelBold(bool on);
    bool selItalic() const;
    void setSelItalic(bool on);
    bool selUnderline() const;
    void setSelUnderline(bool on);
    bool selStrikeThru() const;
    void setSelStrikeThru(bool on);
    QColor selColor() const;
    void setSelColor(const QColor &color);

    // The content with its character formats, in normalized() form: the plain text of
    // text(), the base font, and runs (UTF-16 offsets of text()) covering the text.
    tarmel::FormattedText formattedText() const;
    // Replaces the whole content; the runs are laid over it through the engine styles and
    // the document's base font (when it names one) becomes the base font. Empties the
    // engine's own undo history and raises textChanged once.
    void setFormattedText(const tarmel::FormattedText &document);

    // Base font: the font of plain text and of text typed where no format applies.
    // An empty name or a size of 0 leaves that part as it was.
    void setBaseFont(const QString &family, double pointSize);
    QString baseFontName() const;
    double baseFontSize() const;

    // Files. A plain file is decoded as the codec says; a rich one (RTF) has CR LF line
    // breaks. loadFile fails (false, content unchanged) for a missing or unreadable file, and
    // for a rich file that is not RTF or nests too deeply. Program files are written by the
    // file commands through the codec; saveRichFile writes RTF and leaves the old file whole
    // when it fails (false).
    // Only a regular file is read (never a folder, FIFO or device), up to its size when opened.
    // A plain file with lines past tarmel::longLineLimit opens with them cut, read-only
    // (longLinesCut()): it must never be saved, since that would change the file.
    bool loadFile(const QString &path, tarmel::FileType type);
    bool longLinesCut() const;
    tarmel::WriteResult saveRichFile(const QString &path, const tarmel::SecureBeforeRewrite &secure = {});
    // How the loaded file was stored (new documents: Windows-1252, CR LF, final line end).
    tarmel::FileFormat fileFormat() const;
    void setFileFormat(const tarmel::FileFormat &format);

    // Keys owned by menu commands: while the action is enabled its shortcut runs the
    // action even with the focus here; while it is disabled the key is ordinary editing.
    void addCommandKey(QAction *action);

    // Syntax colouring: the colourer's runs are drawn as text colours over the character
    // formats (fonts, sizes, bold and italic stay as they are). Only the lines on screen are
    // coloured, when they are drawn, so its cost does not grow with the document. An empty
    // colourer switches colouring off and takes every colour away.
    void setLineColourer(LineColourer colourer);
    bool hasLineColourer() const;
    // Where a 0-based line starts, as a position of text(); the text's end for a line past the last.
    qsizetype lineStartPosition(qsizetype line) const;
    qsizetype lineCount() const;

    void clearUndoHistory();                 // the engine's own keystroke undo/redo
    bool insertMode() const;                 // false while overtype is on
    int tabWidth() const;                    // columns from one tab stop to the next

    QsciScintilla *engine() const;           // for benchmarks and tests

signals:
    void textChanged();
    void click();
    void dblClick();
    void keyDown(platform::KeyEventArgs &e);
    void keyPress(platform::KeyEventArgs &e);
    void mouseDown(const platform::MouseEventArgs &e);
    void mouseUp(const platform::MouseEventArgs &e);
    void dropped();

private:
    bool loadRichFile(const QString &path);

    friend class ScintillaEditor;
    ScintillaEditor *editor_;
};

} // namespace platform
