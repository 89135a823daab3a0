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
        // Show where the snippet will go.
        setTextCursor(cursorForPosition(e->position().toPoint()));
        e->acceptProposedAction();
        return;
    }
    QPlainTextEdit::dragMoveEvent(e);
}

void DocumentEditor::dropEvent(QDropEvent* e)
{
    if (fromTagTree(e->mimeData())) {
        setTextCursor(cursorForPosition(e->position().toPoint()));
        e->acceptProposedAction();
        emit tagTreeDropped();
        return;
    }
    QPlainTextEdit::dropEvent(e);
}

QString editorText(const QPlainTextEdit& edit)
{
    QString t = edit.document()->toRawText();
    t.replace(QChar(0x2029), QLatin1Char('\n'));
    return t;
}
