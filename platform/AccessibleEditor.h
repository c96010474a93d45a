#pragma once
// Internal to platform/: the accessibility interface of the editing area. Every
// answer goes through the engine's line functions and UTF-16 line index, so that a
// screen reader costs the same on a short program and on one of millions of lines.
#include <QAccessible>
#include <QAccessibleWidget>

namespace platform {

class ScintillaEditor;

class AccessibleEditor : public QAccessibleWidget,
                         public QAccessibleTextInterface,
                         public QAccessibleEditableTextInterface {
public:
    explicit AccessibleEditor(ScintillaEditor *editor);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;

    // QAccessibleTextInterface: offsets in UTF-16 units of the whole text.
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(QAccessible::Text t) const override { return QAccessibleWidget::text(t); }
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int *startOffset, int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int *startOffset, int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                         int *startOffset, int *endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    // QAccessibleEditableTextInterface
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    ScintillaEditor *editor() const;
    // Byte range of the segment of the given kind holding bytePos.
    std::pair<qsizetype, qsizetype> segment(qsizetype bytePos, QAccessible::TextBoundaryType type) const;
    QString answer(std::pair<qsizetype, qsizetype> bytes, int *startOffset, int *endOffset) const;
};

// Registered with QAccessible::installFactory by every ScintillaEditor.
QAccessibleInterface *accessibleEditorFactory(const QString &className, QObject *object);

} // namespace platform
