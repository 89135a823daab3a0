#include "app/documentload.h"

#include <QPlainTextEdit>
#include <QTextDocument>
#include <QEvent>
#include <QTimer>

DocumentLoad::DocumentLoad(QPlainTextEdit& edit, QByteArray bytes)
    : QObject(edit.document()), m_edit(edit), m_total(bytes.size()), m_fill(edit, std::move(bytes))
{
    setObjectName(QStringLiteral("qn4DocumentLoad"));
}

DocumentLoad* DocumentLoad::start(QPlainTextEdit& edit, QByteArray bytes, FillResult* filled)
{
    if (bytes.size() <= kAtOnceBytes) {
        *filled = fillEditor(edit, std::move(bytes));
        return nullptr;
    }
    auto* load = new DocumentLoad(edit, std::move(bytes));
    load->m_fill.setPairLines(true);
    if (load->m_fill.step(kFirstBytes)) {
        *filled = load->m_fill.finish(true);
        delete load;
        return nullptr;
    }
    edit.setTextCursor(QTextCursor(edit.document()));
    edit.setReadOnly(true);
    // The first screen is painted (and reaches the display) before the
    // first step: steps start once the editor has painted (or after a
    // moment, should no paint come), at once when it is not shown.
    if (edit.isVisible()) {
        edit.viewport()->installEventFilter(load);
        QTimer::singleShot(100, load, [load] { load->startSteps(); });
    } else {
        load->startSteps();
    }
    return load;
}

DocumentLoad* DocumentLoad::of(const QTextDocument* doc)
{
    auto* load = doc ? doc->findChild<DocumentLoad*>(QStringLiteral("qn4DocumentLoad"),
                                                     Qt::FindDirectChildrenOnly)
                     : nullptr;
    return load && !load->m_done ? load : nullptr;
}

void DocumentLoad::finishNow(const QTextDocument* doc)
{
    if (DocumentLoad* load = of(doc)) {
        while (!load->m_fill.step(kStepBytes)) {
        }
        load->complete();
    }
}

bool DocumentLoad::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && watched == m_edit.viewport())
        QTimer::singleShot(0, this, [this] { startSteps(); });
    return QObject::eventFilter(watched, event);
}

void DocumentLoad::startSteps()
{
    if (m_stepping || m_done)
        return;
    m_stepping = true;
    m_edit.viewport()->removeEventFilter(this);
    stepLater();
}

void DocumentLoad::stepLater()
{
    // Input and painting are served between two steps.
    QTimer::singleShot(0, this, [this] {
        if (m_done)
            return;
        if (m_fill.step(kStepBytes)) {
            complete();
            return;
        }
        emit progressed(m_fill.done(), m_total);
        stepLater();
    });
}

void DocumentLoad::complete()
{
    m_done = true;
    const FillResult result = m_fill.finish(false);
    m_edit.setReadOnly(false);
    emit progressed(m_total, m_total);
    emit finished(result);
    deleteLater();
}
