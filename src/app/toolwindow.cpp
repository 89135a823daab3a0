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
        connect(a, &QAction::triggered, this, &ToolWindow::launcherTriggered);
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

void ToolWindow::launcherTriggered()
{
    if (m_beforeLaunch)
        m_beforeLaunch();
    launch();
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

bool ActivationWatch::elsewhere(const QWidget* window, const QWidget* active)
{
    // A window that is gone (a closed dialog Qt still names) says nothing.
    return active && active != window && active->isVisible();
}

bool ActivationWatch::becameActive(const QWidget* window, const QEvent* event)
{
    if (event->type() != QEvent::ActivationChange)
        return false;
    const QWidget* activeWindow = QApplication::activeWindow();
    const bool active = activeWindow == window;
    // The window system may give the activation to another window when a
    // dialog closes: then no return is coming, and the mark must not eat
    // the next real activation.
    if (m_modalDepth == 0 && elsewhere(window, activeWindow))
        m_returningFromModal = false;
    bool counts = false;
    if (active && !m_wasActive) {
        if (m_returningFromModal || m_modalDepth > 0)
            m_returningFromModal = false;
        else
            counts = true;
    }
    m_wasActive = active;
    return counts;
}

void ActivationWatch::modal(const QWidget* window, const std::function<void()>& step)
{
    const bool wasActive = QApplication::activeWindow() == window;
    ++m_modalDepth;
    step();
    --m_modalDepth;
    if (m_modalDepth > 0)
        return;
    // Active again, or another window took over while the step ran: the
    // return has passed.  Otherwise it is still on its way (the window
    // system activates after the dialog has gone).
    const QWidget* now = QApplication::activeWindow();
    m_returningFromModal = wasActive && now != window && !elsewhere(window, now);
}
