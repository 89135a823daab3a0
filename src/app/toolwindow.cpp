#include "app/toolwindow.h"

#include <QAction>
#include <QEvent>
#include <QWidget>

ToolWindow::ToolWindow(QWidget& window, QWidget& mainWindow, QPoint offset,
                       std::vector<QAction*> launchers)
    : QObject(&window), m_window(&window), m_main(&mainWindow), m_offset(offset)
{
    for (QAction* a : launchers) {
        if (!a)
            continue;
        m_launchers.emplace_back(a);
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, &ToolWindow::launch);
    }
    window.installEventFilter(this);
}

void ToolWindow::launch()
{
    if (!m_window)
        return;
    if (!m_placed && m_main) {
        m_window->move(m_main->pos() + m_offset);
        m_placed = true;
    }
    for (auto& a : m_launchers)
        if (a)
            a->setEnabled(false);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

bool ToolWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::Close) {
        for (auto& a : m_launchers)
            if (a)
                a->setEnabled(true);
        emit closed();
    }
    return QObject::eventFilter(watched, event);
}
