#include "app/toolwindow.h"

#include <QAction>
#include <QApplication>
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

bool ActivationWatch::becameActive(const QWidget* window, const QEvent* event)
{
    if (event->type() != QEvent::ActivationChange)
        return false;
    const bool active = QApplication::activeWindow() == window;
    bool counts = false;
    if (active && !m_wasActive) {
        if (m_returningFromModal)
            m_returningFromModal = false;
        else
            counts = true;
    }
    m_wasActive = active;
    return counts;
}

void ActivationWatch::modal(const QWidget* window, const std::function<void()>& step)
{
    m_returningFromModal = QApplication::activeWindow() == window;
    step();
    // Already active again (or never left): the activation has passed.
    if (QApplication::activeWindow() == window)
        m_returningFromModal = false;
}
