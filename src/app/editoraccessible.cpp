#include "app/editoraccessible.h"

#include "app/document.h"
#include "app/linemap.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// The plain text of positions [from, to): block ends read as '\n', or as
// the join character where the next block continues the line.
QString plainText(const QTextDocument* doc, int from, int to)
{
    QString out;
    if (to <= from)
        return out;
    out.reserve(to - from);
    for (QTextBlock b = doc->findBlock(from); b.isValid() && b.position() < to; b = b.next()) {
        const QString t = b.text();
        const int start = std::max(from - b.position(), 0);
        const int end = std::min(to - b.position(), int(t.size()));
        if (end > start)
            out += QStringView(t).sliced(start, end - start);
        // The separator after the block lies at b.position() + t.size().
        const int separator = b.position() + int(t.size());
        if (separator >= from && separator < to && b.next().isValid())
            out += lines::continues(b.next()) ? QChar(kJoinCharacter) : QChar(u'\n');
    }
    for (QChar& c : out)
        if (c == QChar::LineSeparator)
            c = u'\n';
    return out;
}

// The text functions' own boundary rules, over a piece of text only.
class Window final : public QAccessibleTextInterface {
public:
    explicit Window(QString t) : m_text(std::move(t)) {}
    QString text(int s, int e) const override { return m_text.mid(s, e - s); }
    int characterCount() const override { return int(m_text.size()); }
    void selection(int, int* s, int* e) const override { *s = *e = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* s, int* e) const override
    {
        *s = *e = 0;
        return {};
    }

private:
    QString m_text;
};

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("DocumentEditor") && object && object->isWidgetType())
        return new EditorAccessible(static_cast<QPlainTextEdit*>(object));
    return nullptr;
}

} // namespace

EditorAccessible::EditorAccessible(QPlainTextEdit* edit)
    : QAccessibleWidget(edit, QAccessible::EditableText)
{
}

void EditorAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

QPlainTextEdit* EditorAccessible::edit() const
{
    return static_cast<QPlainTextEdit*>(widget());
}

void* EditorAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (t == QAccessible::EditableTextInterface && !edit()->isReadOnly())
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QAccessible::State EditorAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.multiLine = true;
    s.selectableText = true;
    s.readOnly = edit()->isReadOnly();
    s.editable = !edit()->isReadOnly();
    return s;
}

QString EditorAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return text(0, characterCount());
    return QAccessibleWidget::text(t);
}

int EditorAccessible::clamp(int offset) const
{
    return std::clamp(offset, 0, characterCount());
}

void EditorAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
    const QTextCursor c = edit()->textCursor();
    if (selectionIndex == 0 && c.hasSelection()) {
        *startOffset = c.selectionStart();
        *endOffset = c.selectionEnd();
    }
}

int EditorAccessible::selectionCount() const
{
    return edit()->textCursor().hasSelection() ? 1 : 0;
}

void EditorAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void EditorAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex != 0)
        return;
    QTextCursor c = edit()->textCursor();
    c.clearSelection();
    edit()->setTextCursor(c);
}

void EditorAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    QTextCursor c = edit()->textCursor();
    c.setPosition(clamp(startOffset));
    c.setPosition(clamp(endOffset), QTextCursor::KeepAnchor);
    edit()->setTextCursor(c);
}

int EditorAccessible::cursorPosition() const
{
    return edit()->textCursor().position();
}

void EditorAccessible::setCursorPosition(int position)
{
    QTextCursor c = edit()->textCursor();
    c.setPosition(clamp(position));
    edit()->setTextCursor(c);
}

QString EditorAccessible::text(int startOffset, int endOffset) const
{
    return plainText(edit()->document(), clamp(startOffset), clamp(endOffset));
}

int EditorAccessible::characterCount() const
{
    return edit()->document()->characterCount() - 1;
}

QString EditorAccessible::around(int offset, int* start) const
{
    const QTextDocument* doc = edit()->document();
    const QTextBlock at = doc->findBlock(clamp(offset));
    const QTextBlock first = at.previous().isValid() ? at.previous() : at;
    const QTextBlock last = at.next().isValid() ? at.next() : at;
    *start = first.position();
    return plainText(doc, first.position(), last.position() + last.length());
}

QString EditorAccessible::boundary(Finder find, int offset,
                                   QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                   int* endOffset) const
{
    int base = 0;
    const Window w(around(offset, &base));
    const QString t = (w.*find)(offset - base, boundaryType, startOffset, endOffset);
    *startOffset += base;
    *endOffset += base;
    return t;
}

QString EditorAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                           int* startOffset, int* endOffset) const
{
    return boundary(&QAccessibleTextInterface::textBeforeOffset, offset, boundaryType,
                    startOffset, endOffset);
}

QString EditorAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                          int* startOffset, int* endOffset) const
{
    return boundary(&QAccessibleTextInterface::textAfterOffset, offset, boundaryType,
                    startOffset, endOffset);
}

QString EditorAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                       int* startOffset, int* endOffset) const
{
    if (boundaryType == QAccessible::NoBoundary) {
        *startOffset = 0;
        *endOffset = characterCount();
        return text(0, *endOffset);
    }
    return boundary(&QAccessibleTextInterface::textAtOffset, offset, boundaryType, startOffset,
                    endOffset);
}

QRect EditorAccessible::characterRect(int offset) const
{
    QTextCursor c(edit()->document());
    c.setPosition(clamp(offset));
    QRect r = edit()->cursorRect(c);
    const QFontMetrics fm(edit()->font());
    const QChar ch = edit()->document()->characterAt(c.position());
    r.setWidth(ch.isPrint() ? fm.horizontalAdvance(ch) : fm.averageCharWidth());
    return QRect(edit()->viewport()->mapToGlobal(r.topLeft()), r.size());
}

int EditorAccessible::offsetAtPoint(const QPoint& point) const
{
    const QPoint local = edit()->viewport()->mapFromGlobal(point);
    if (!edit()->viewport()->rect().contains(local))
        return -1;
    return edit()->cursorForPosition(local).position();
}

void EditorAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    QTextCursor c = edit()->textCursor();
    c.setPosition(clamp(endIndex));
    edit()->setTextCursor(c);
    edit()->ensureCursorVisible();
    c.setPosition(clamp(startIndex));
    edit()->setTextCursor(c);
    edit()->ensureCursorVisible();
}

QString EditorAccessible::attributes(int offset, int* startOffset, int* endOffset) const
{
    // One font and colour for the whole text.
    *startOffset = 0;
    *endOffset = characterCount();
    Q_UNUSED(offset);
    return {};
}

void EditorAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void EditorAccessible::insertText(int offset, const QString& text)
{
    replaceText(offset, offset, text);
}

void EditorAccessible::replaceText(int startOffset, int endOffset, const QString& text)
{
    if (edit()->isReadOnly())
        return;
    QTextCursor c(edit()->document());
    c.setPosition(clamp(startOffset));
    c.setPosition(clamp(endOffset), QTextCursor::KeepAnchor);
    QString t = text;
    t.replace(QChar(kJoinCharacter), QString());
    c.beginEditBlock();
    c.removeSelectedText();
    lines::insertText(c, t);
    c.endEditBlock();
}
