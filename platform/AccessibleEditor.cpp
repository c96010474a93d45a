#include "platform/AccessibleEditor.h"

#include "platform/ScintillaEditor.h"

#include <QScrollBar>

namespace platform {

namespace {

qsizetype utf8Length(unsigned char lead)
{
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

} // namespace

AccessibleEditor::AccessibleEditor(ScintillaEditor *editor)
    : QAccessibleWidget(editor, QAccessible::EditableText)
{
}

ScintillaEditor *AccessibleEditor::editor() const { return static_cast<ScintillaEditor *>(widget()); }

void *AccessibleEditor::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State AccessibleEditor::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = !editor()->isReadOnly();
    s.readOnly = editor()->isReadOnly();
    s.multiLine = true;
    s.selectableText = true;
    s.focusable = true;
    return s;
}

void AccessibleEditor::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || selectionCount() == 0)
        return;
    ScintillaEditor *ed = editor();
    *startOffset = int(ed->toUtf16(ed->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART)));
    *endOffset = int(ed->toUtf16(ed->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND)));
}

int AccessibleEditor::selectionCount() const
{
    ScintillaEditor *ed = editor();
    return ed->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART)
                   != ed->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND)
               ? 1
               : 0;
}

void AccessibleEditor::addSelection(int startOffset, int endOffset) { setSelection(0, startOffset, endOffset); }

void AccessibleEditor::removeSelection(int selectionIndex)
{
    if (selectionIndex != 0)
        return;
    ScintillaEditor *ed = editor();
    ed->SendScintilla(QsciScintillaBase::SCI_SETEMPTYSELECTION,
                      static_cast<unsigned long>(ed->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS)));
}

void AccessibleEditor::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    ScintillaEditor *ed = editor();
    ed->SendScintilla(QsciScintillaBase::SCI_SETSEL, static_cast<unsigned long>(ed->toBytes(startOffset)),
                      long(ed->toBytes(endOffset)));
}

int AccessibleEditor::cursorPosition() const
{
    ScintillaEditor *ed = editor();
    return int(ed->toUtf16(ed->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS)));
}

void AccessibleEditor::setCursorPosition(int position)
{
    ScintillaEditor *ed = editor();
    ed->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(ed->toBytes(position)));
}

QString AccessibleEditor::text(int startOffset, int endOffset) const
{
    ScintillaEditor *ed = editor();
    return tarmel::utf8ToString(ed->bytes(ed->toBytes(startOffset), ed->toBytes(endOffset)));
}

int AccessibleEditor::characterCount() const { return int(editor()->utf16Length()); }

std::pair<qsizetype, qsizetype> AccessibleEditor::segment(qsizetype pos, QAccessible::TextBoundaryType type) const
{
    ScintillaEditor *ed = editor();
    const qsizetype length = ed->byteLength();
    auto send = [ed](unsigned int msg, qsizetype w, long l = 0) {
        return qsizetype(ed->SendScintilla(msg, static_cast<unsigned long>(w), l));
    };
    switch (type) {
    case QAccessible::CharBoundary: {
        if (pos >= length)
            return {length, length};
        const auto lead = static_cast<unsigned char>(send(QsciScintillaBase::SCI_GETCHARAT, pos));
        return {pos, std::min(length, pos + utf8Length(lead))};
    }
    case QAccessible::WordBoundary: {
        qsizetype from = send(QsciScintillaBase::SCI_WORDSTARTPOSITION, pos, 1);
        qsizetype to = send(QsciScintillaBase::SCI_WORDENDPOSITION, pos, 1);
        if (from == to) { // between words: the run of blanks or punctuation
            from = send(QsciScintillaBase::SCI_WORDSTARTPOSITION, pos, 0);
            to = send(QsciScintillaBase::SCI_WORDENDPOSITION, pos, 0);
        }
        return {from, to};
    }
    case QAccessible::NoBoundary:
        return {0, length};
    default: { // sentence, paragraph, line: a line with its line end
        const qsizetype line = send(QsciScintillaBase::SCI_LINEFROMPOSITION, pos);
        return {send(QsciScintillaBase::SCI_POSITIONFROMLINE, line),
                std::min(length, send(QsciScintillaBase::SCI_POSITIONFROMLINE, line + 1))};
    }
    }
}

QString AccessibleEditor::answer(std::pair<qsizetype, qsizetype> range, int *startOffset, int *endOffset) const
{
    ScintillaEditor *ed = editor();
    *startOffset = int(ed->toUtf16(range.first));
    *endOffset = int(ed->toUtf16(range.second));
    return tarmel::utf8ToString(ed->bytes(range.first, range.second));
}

QString AccessibleEditor::textAtOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
                                       int *endOffset) const
{
    *startOffset = *endOffset = -1;
    if (offset < 0 || offset > characterCount())
        return {};
    return answer(segment(editor()->toBytes(offset), type), startOffset, endOffset);
}

QString AccessibleEditor::textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
                                           int *endOffset) const
{
    *startOffset = *endOffset = -1;
    if (offset < 0 || offset > characterCount() || type == QAccessible::NoBoundary)
        return {};
    ScintillaEditor *ed = editor();
    qsizetype pos = ed->toBytes(offset);
    const auto here = segment(pos, type);
    if (here.first == 0)
        return {};
    // The segment ending where this one starts; for a character, step back over the
    // continuation bytes of a multi-byte sequence.
    qsizetype prev = here.first - 1;
    if (type == QAccessible::CharBoundary)
        while (prev > 0
               && (static_cast<unsigned char>(ed->SendScintilla(QsciScintillaBase::SCI_GETCHARAT,
                                                                static_cast<unsigned long>(prev)))
                   & 0xC0) == 0x80)
            --prev;
    return answer(segment(prev, type), startOffset, endOffset);
}

QString AccessibleEditor::textAfterOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
                                          int *endOffset) const
{
    *startOffset = *endOffset = -1;
    if (offset < 0 || offset > characterCount() || type == QAccessible::NoBoundary)
        return {};
    ScintillaEditor *ed = editor();
    const auto here = segment(ed->toBytes(offset), type);
    if (here.second >= ed->byteLength())
        return {};
    return answer(segment(here.second, type), startOffset, endOffset);
}

QRect AccessibleEditor::characterRect(int offset) const
{
    ScintillaEditor *ed = editor();
    const qsizetype pos = ed->toBytes(offset);
    const auto after = segment(pos, QAccessible::CharBoundary).second;
    const int x = int(ed->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, long(pos)));
    const int y = int(ed->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, long(pos)));
    const long line = ed->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, static_cast<unsigned long>(pos));
    const int height = int(ed->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, static_cast<unsigned long>(line)));
    int width = int(ed->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, long(after))) - x;
    if (width <= 0)
        width = ed->fontMetrics().averageCharWidth();
    return QRect(ed->viewport()->mapToGlobal(QPoint(x, y)), QSize(width, height));
}

int AccessibleEditor::offsetAtPoint(const QPoint &point) const
{
    ScintillaEditor *ed = editor();
    const QPoint local = ed->viewport()->mapFromGlobal(point);
    const long pos = ed->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMPOINTCLOSE,
                                       static_cast<unsigned long>(std::max(0, local.x())), long(local.y()));
    return pos < 0 ? -1 : int(ed->toUtf16(pos));
}

void AccessibleEditor::scrollToSubstring(int startIndex, int endIndex)
{
    ScintillaEditor *ed = editor();
    ed->SendScintilla(QsciScintillaBase::SCI_SCROLLRANGE, static_cast<unsigned long>(ed->toBytes(endIndex)),
                      long(ed->toBytes(startIndex)));
}

QString AccessibleEditor::attributes(int offset, int *startOffset, int *endOffset) const
{
    // No attributes are published; the run reported is the line, to stay cheap.
    *startOffset = *endOffset = -1;
    if (offset < 0 || offset > characterCount())
        return {};
    answer(segment(editor()->toBytes(offset), QAccessible::LineBoundary), startOffset, endOffset);
    return {};
}

void AccessibleEditor::deleteText(int startOffset, int endOffset) { replaceText(startOffset, endOffset, {}); }

void AccessibleEditor::insertText(int offset, const QString &text) { replaceText(offset, offset, text); }

void AccessibleEditor::replaceText(int startOffset, int endOffset, const QString &text)
{
    ScintillaEditor *ed = editor();
    if (ed->isReadOnly())
        return;
    ed->SendScintilla(QsciScintillaBase::SCI_SETSEL, static_cast<unsigned long>(ed->toBytes(startOffset)),
                      long(ed->toBytes(endOffset)));
    ed->replaceSelection(text.toUtf8());
    ed->flushChange();
}

QAccessibleInterface *accessibleEditorFactory(const QString &, QObject *object)
{
    if (auto *editor = qobject_cast<ScintillaEditor *>(object))
        return new AccessibleEditor(editor);
    return nullptr;
}

} // namespace platform
