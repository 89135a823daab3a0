#include "app/document.h"

#include "app/documentload.h"
#include "app/editoraccessible.h"
#include "app/editordocument.h"
#include "app/fileline.h"
#include "app/linemap.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>


bool Document::modified() const
{
    return edit && edit->document()->isModified();
}

QString Document::status() const
{
    return modified() ? kStatusChanged : kStatusUnchanged;
}

namespace {

// Lays out what an edit changed.  Colours given to the changed lines while
// the edit is announced widen the range the document reports to whole lines
// and beyond, which would lay out and repaint the whole text area on every
// key; the range the edit itself reported covers those lines already.
class EditLayout final : public QPlainTextDocumentLayout {
public:
    explicit EditLayout(QTextDocument* doc) : QPlainTextDocumentLayout(doc)
    {
        connect(doc, &QTextDocument::contentsChange, this, [this](int from, int removed, int added) {
            m_from = from;
            m_removed = removed;
            m_added = added;
        });
    }

    void documentChanged(int from, int removed, int added) override
    {
        if (m_from >= 0 && from <= m_from && from + added >= m_from + m_added
            && from + removed >= m_from + m_removed)
            QPlainTextDocumentLayout::documentChanged(m_from, m_removed, m_added);
        else
            QPlainTextDocumentLayout::documentChanged(from, removed, added);
        m_from = -1;
    }

private:
    int m_from = -1;
    int m_removed = 0;
    int m_added = 0;
};

} // namespace

DocumentEditor::DocumentEditor(QWidget* parent) : QPlainTextEdit(parent)
{
    EditorAccessible::install();
    auto* doc = new EditorDocument(this);
    doc->setDocumentLayout(new EditLayout(doc));
    setDocument(doc);
    setAcceptDrops(true);
    m_kept = QTextCursor(doc);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &DocumentEditor::keepCaretLayout);
    connect(doc, &QTextDocument::contentsChange, this, [this](int from, int, int) {
        const QTextBlock kept = m_kept.block();
        if (from >= kept.position() && from <= kept.position() + kept.length())
            m_keptEdited = true;
    });
    // The scroll bars change with many keys (a line grows wider than the
    // widest): painted over a background of their own, they do not make
    // every widget under the editor paint again too.
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        bar->setAutoFillBackground(true);
        if (QWidget* box = bar->parentWidget(); box && box != this)
            box->setAutoFillBackground(true);
    }
}

void DocumentEditor::keepCaretLayout()
{
    // Qt drops a line's shaped glyphs once it is laid out, so every key
    // shapes the caret's line again for the caret's place and again for the
    // paint: in a coloured piece of a minified page (many short runs of
    // colour) that is most of a key's time.  The caret's line keeps them;
    // a line left after an edit is laid out once more to let them go.
    const QTextBlock caret = textCursor().block();
    const QTextBlock kept = m_kept.block();
    if (caret == kept)
        return;
    if (kept.isValid() && kept.layout()) {
        kept.layout()->setCacheEnabled(false);
        if (m_keptEdited)
            document()->markContentsDirty(kept.position(), kept.length());
    }
    m_keptEdited = false;
    m_kept.setPosition(caret.position());
    if (caret.isValid() && caret.layout())
        caret.layout()->setCacheEnabled(true);
}

bool DocumentEditor::event(QEvent* e)
{
    // Left unaccepted, the override lets the key go to the window's shortcut.
    if (e->type() == QEvent::ShortcutOverride && !m_windowKeys.isEmpty()) {
        const auto* k = static_cast<QKeyEvent*>(e);
        if (m_windowKeys.contains(QKeySequence(k->keyCombination()))) {
            e->ignore();
            return true;
        }
    }
    return QPlainTextEdit::event(e);
}

namespace {

bool plainKey(const QKeyEvent* e, Qt::KeyboardModifiers allowed = Qt::NoModifier)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    return (mods & ~allowed) == Qt::NoModifier;
}

// Removes [from, to) as one edit, keeping the lines' starts and breaks.
void removeRange(QTextCursor& c, int from, int to)
{
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    c.beginEditBlock();
    lines::removeSelection(c);
    c.endEditBlock();
}

// The character before (or after) a position in the file's text, skipping
// the joins between pieces of a line: [from, to) in the document, or an
// empty range at the start (end) of the text.
std::pair<int, int> characterBefore(const QTextDocument* doc, int position)
{
    QTextBlock b = doc->findBlock(position);
    int at = position;
    while (at == b.position() && lines::continues(b)) {
        b = b.previous();
        at = b.position() + b.length() - 1;
    }
    if (at == 0)
        return {0, 0};
    if (at == b.position())
        return {at - 1, at};   // the break ending the line before
    const QString text = b.text();
    const int i = at - b.position();
    const int size = i >= 2 && text[i - 1].isLowSurrogate() && text[i - 2].isHighSurrogate() ? 2 : 1;
    return {at - size, at};
}

std::pair<int, int> characterAfter(const QTextDocument* doc, int position)
{
    QTextBlock b = doc->findBlock(position);
    int at = position;
    while (at == b.position() + b.length() - 1 && lines::continues(b.next())) {
        b = b.next();
        at = b.position();
    }
    if (at == b.position() + b.length() - 1)
        return b.next().isValid() ? std::pair{at, at + 1} : std::pair{at, at};
    const QString text = b.text();
    const int i = at - b.position();
    const int size = i + 1 < text.size() && text[i].isHighSurrogate() && text[i + 1].isLowSurrogate() ? 2 : 1;
    return {at, at + size};
}

} // namespace

// True when a selection holds nothing of the file: only joins between
// pieces of a line (a caret move across a join selects one).
static bool onlyJoins(const QTextCursor& c)
{
    return lines::onlyJoins(c.document(), c.selectionStart(), c.selectionEnd());
}

bool DocumentEditor::editAtJoin(QKeyEvent* e)
{
    if (isReadOnly())
        return false;
    QTextCursor c = textCursor();
    if ((e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Delete) && c.hasSelection()
        && onlyJoins(c)) {
        // Nothing the user can see is selected: the key deletes a character.
        c.clearSelection();
        setTextCursor(c);
    }
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter && plainKey(e, Qt::ShiftModifier)) {
        // The new block starts a line of the file even when the block it is
        // split from continues one, and the line's own break stays at its end.
        c.beginEditBlock();
        lines::insertText(c, QStringLiteral("\n"));
        c.endEditBlock();
    } else if ((e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Delete) && plainKey(e)
               && c.hasSelection()) {
        c.beginEditBlock();
        lines::removeSelection(c);
        c.endEditBlock();
    } else if (e->key() == Qt::Key_Backspace && plainKey(e) && c.atBlockStart()) {
        // Between two pieces of a line the character before the caret is
        // the last of the piece above: the join itself is not the file's.
        const auto [from, to] = characterBefore(document(), c.position());
        if (from == to)
            return true;
        removeRange(c, from, to);
        c.setPosition(from);
    } else if (e->key() == Qt::Key_Delete && plainKey(e) && c.atBlockEnd()) {
        const int caret = c.position();
        const auto [from, to] = characterAfter(document(), caret);
        if (from == to)
            return true;
        removeRange(c, from, to);
        c.setPosition(from == caret ? from : caret);
    } else if (e->matches(QKeySequence::DeleteStartOfWord) || e->matches(QKeySequence::DeleteEndOfWord)) {
        // The word before (after) the caret; joins between pieces are no
        // word's end, so a move across joins alone goes on past them.
        const bool back = e->matches(QKeySequence::DeleteStartOfWord);
        const QTextCursor::MoveOperation move = back ? QTextCursor::PreviousWord : QTextCursor::NextWord;
        if (!c.hasSelection() || onlyJoins(c)) {
            c.clearSelection();
            while (c.movePosition(move, QTextCursor::KeepAnchor) && onlyJoins(c)) {
            }
        }
        if (c.hasSelection() && !onlyJoins(c)) {
            c.beginEditBlock();
            lines::removeSelection(c);
            c.endEditBlock();
        } else {
            c.clearSelection();
        }
    } else if (e->matches(QKeySequence::Cut)) {
        cutSelection();
        return true;
    } else {
        return false;
    }
    setTextCursor(c);
    ensureCursorVisible();
    return true;
}

void DocumentEditor::cutSelection()
{
    QTextCursor c = textCursor();
    if (isReadOnly() || !c.hasSelection())
        return;
    copy();
    c.beginEditBlock();
    lines::removeSelection(c);
    c.endEditBlock();
    setTextCursor(c);
    ensureCursorVisible();
}

void DocumentEditor::keyPressEvent(QKeyEvent* e)
{
    if (editAtJoin(e) || lines::movePastJoins(*this, e)) {
        e->accept();
        emit keyPressed(e);
        return;
    }
    // Text typed over a selection replaces it keeping the lines' starts and
    // breaks, one step to undo.  (The edit block closes before the editor's
    // cursor is set: the layout is brought up to date only then.)
    const QString typed = e->text();
    if (!isReadOnly() && textCursor().hasSelection() && !typed.isEmpty()
        && (typed.at(0).isPrint() || typed.at(0) == u'\t')
        && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        replaceSelection(typed);
        e->accept();
        emit keyPressed(e);
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
    emit keyPressed(e);
}

void DocumentEditor::replaceSelection(const QString& text)
{
    QTextCursor c = textCursor();
    c.beginEditBlock();
    lines::insertText(c, text);
    c.endEditBlock();
    setTextCursor(c);
    ensureCursorVisible();
}

void DocumentEditor::inputMethodEvent(QInputMethodEvent* e)
{
    if (isReadOnly() || e->commitString().isEmpty() || !textCursor().hasSelection()) {
        QPlainTextEdit::inputMethodEvent(e);
        return;
    }
    if (e->preeditString().isEmpty() && e->replacementLength() == 0) {
        replaceSelection(e->commitString());
        e->accept();
        return;
    }
    // Composition goes on: the selection goes first, then the editor's own.
    QTextCursor c = textCursor();
    c.beginEditBlock();
    lines::removeSelection(c);
    c.endEditBlock();
    setTextCursor(c);
    QPlainTextEdit::inputMethodEvent(e);
}

void DocumentEditor::keyReleaseEvent(QKeyEvent* e)
{
    QPlainTextEdit::keyReleaseEvent(e);
    emit keyReleased(e);
}

void DocumentEditor::mouseDoubleClickEvent(QMouseEvent* e)
{
    QPlainTextEdit::mouseDoubleClickEvent(e);
    m_doubleClicked.start();
    m_doubleClickAt = e->position();
}

void DocumentEditor::mousePressEvent(QMouseEvent* e)
{
    QPlainTextEdit::mousePressEvent(e);
    const bool tripleClick = e->button() == Qt::LeftButton && m_doubleClicked.isValid()
        && m_doubleClicked.elapsed() < QApplication::doubleClickInterval()
        && (e->position() - m_doubleClickAt).manhattanLength() < QApplication::startDragDistance();
    m_doubleClicked.invalidate();
    if (tripleClick && textCursor().hasSelection()) {
        // The file's line, with its break, as a triple click selects a line
        // that has a block of its own: also where it shares its block or
        // is held in pieces.
        const QTextBlock block = cursorForPosition(e->position().toPoint()).block();
        if (block.text().contains(QChar::LineSeparator) || lines::continues(block) || lines::continues(block.next()))
            setTextCursor(lines::fileLineSelection(document(), cursorForPosition(e->position().toPoint()).position()));
    }
    emit mousePressed();
}

void DocumentEditor::paintEvent(QPaintEvent* e)
{
    if (m_beforePaint)
        m_beforePaint();
    QPlainTextEdit::paintEvent(e);
}

QList<QTextBlock> DocumentEditor::shownBlocks() const
{
    QList<QTextBlock> shown;
    const int bottom = viewport()->height();
    const QPointF offset = contentOffset();
    for (QTextBlock b = firstVisibleBlock(); b.isValid(); b = b.next()) {
        const QRectF r = blockBoundingGeometry(b).translated(offset);
        if (r.top() > bottom)
            break;
        if (b.isVisible())
            shown.append(b);
    }
    return shown;
}

QMimeData* DocumentEditor::createMimeDataFromSelection() const
{
    // Plain text as the file holds it: pieces of a long line copy as one.
    const QTextCursor c = textCursor();
    auto* data = new QMimeData;
    data->setText(LineMap::of(document()).textBetween(c.selectionStart(), c.selectionEnd()));
    return data;
}

void DocumentEditor::insertFromMimeData(const QMimeData* source)
{
    DocumentLoad::finishNow(document());   // a paste goes into the whole file
    if (isReadOnly() || !source || !source->hasText())
        return;
    QString text = source->text();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    // Every kind of line end becomes a line of its own (the file writes
    // each as its break, and the status bar counts them so).
    for (QChar& ch : text)
        if (ch == u'\r' || ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator)
            ch = u'\n';
    replaceSelection(text);
}

static bool fromTagTree(const QMimeData* m)
{
    return m && m->hasFormat(QLatin1String(kTagTreeMimeType));
}

void DocumentEditor::dragEnterEvent(QDragEnterEvent* e)
{
    if (fromTagTree(e->mimeData())) {
        setFocus();
        e->acceptProposedAction();
        return;
    }
    QPlainTextEdit::dragEnterEvent(e);
}

void DocumentEditor::dragMoveEvent(QDragMoveEvent* e)
{
    if (fromTagTree(e->mimeData())) {
        // The snippet goes in at the caret, wherever it is dropped.
        e->acceptProposedAction();
        return;
    }
    QPlainTextEdit::dragMoveEvent(e);
}

void DocumentEditor::dropEvent(QDropEvent* e)
{
    if (fromTagTree(e->mimeData())) {
        e->acceptProposedAction();
        emit tagTreeDropped();
        return;
    }
    // Text dragged inside the editor moves through the same removal and
    // insertion as cut and paste, so the lines around both places keep
    // their starts and breaks.
    const QTextCursor selection = textCursor();
    const bool inside = e->source() == this || e->source() == viewport();
    if (inside && !isReadOnly() && selection.hasSelection() && e->dropAction() == Qt::MoveAction
        && e->mimeData() && e->mimeData()->hasText()) {
        const int to = cursorForPosition(e->position().toPoint()).position();
        if (to > selection.selectionStart() && to < selection.selectionEnd()) {
            e->ignore();   // dropped on itself
            return;
        }
        setTextCursor(lines::moveSelection(selection, to));
        e->setDropAction(Qt::MoveAction);
        e->accept();
        ensureCursorVisible();
        return;
    }
    QPlainTextEdit::dropEvent(e);
}

QString editorText(const QPlainTextEdit& edit)
{
    DocumentLoad::finishNow(edit.document());
    return LineMap::of(edit.document()).text();
}
