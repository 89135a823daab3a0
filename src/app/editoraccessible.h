#pragma once
// What screen readers and UI automation see of a document's editor: its
// text, caret and selection, in the editor's own positions (so the change
// and caret notices the editor sends stay right).  Where a long line is held
// in pieces, the break between two pieces reads as an invisible word joiner,
// not as a line break: the text read out is the file's.

#include <QAccessibleWidget>

class QPlainTextEdit;

// The character a join between two pieces of a line reads as.
inline constexpr char16_t kJoinCharacter = 0x2060;

class EditorAccessible final : public QAccessibleWidget,
                               public QAccessibleTextInterface,
                               public QAccessibleEditableTextInterface {
public:
    explicit EditorAccessible(QPlainTextEdit* edit);
    // Makes every document editor answer with this interface.
    static void install();

    void* interface_cast(QAccessible::InterfaceType t) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                         int* startOffset, int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // QAccessibleEditableTextInterface
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    QPlainTextEdit* edit() const;
    int clamp(int offset) const;
    // The text of the pieces around `offset` and where it starts: boundaries
    // (character, word, line...) are found there, never in the whole text.
    QString around(int offset, int* start) const;
    using Finder = QString (QAccessibleTextInterface::*)(int, QAccessible::TextBoundaryType, int*,
                                                         int*) const;
    QString boundary(Finder find, int offset, QAccessible::TextBoundaryType boundaryType,
                     int* startOffset, int* endOffset) const;
};
