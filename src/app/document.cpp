#include "app/document.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextDocument>

DocumentEditor::DocumentEditor(QWidget* parent) : QPlainTextEdit(parent)
{
    setAcceptDrops(true);
}

void DocumentEditor::keyPressEvent(QKeyEvent* e)
{
    // Shift+Enter would put a soft line separator into the text, which a
    // Shift_JIS file cannot hold: every Enter starts a new line.
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        && (e->modifiers() & Qt::ShiftModifier)) {
        QKeyEvent plain(e->type(), e->key(), e->modifiers() & ~Qt::ShiftModifier, e->text(),
                        e->isAutoRepeat(), ushort(e->count()));
        QPlainTextEdit::keyPressEvent(&plain);
        emit keyPressed(e);
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
    emit keyPressed(e);
}

void DocumentEditor::keyReleaseEvent(QKeyEvent* e)
{
    QPlainTextEdit::keyReleaseEvent(e);
    emit keyReleased(e);
}

void DocumentEditor::mousePressEvent(QMouseEvent* e)
{
    QPlainTextEdit::mousePressEvent(e);
    emit mousePressed();
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
    QPlainTextEdit::dropEvent(e);
}

QString editorText(const QPlainTextEdit& edit)
{
    QString t = edit.document()->toRawText();
    for (QChar& c : t)
        if (c.unicode() == 0x2029 || c.unicode() == 0x2028)
            c = QLatin1Char('\n');
    return t;
}
