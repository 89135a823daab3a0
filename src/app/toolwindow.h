#pragma once
// A modeless builder or tool window, made once for the run.  Showing it
// through its launcher places it at the main window + an offset the first
// time only, disables its launch actions while it is shown and enables them
// again when it closes (closing only hides it).

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

class QAction;

class ToolWindow : public QObject {
    Q_OBJECT
public:
    ToolWindow(QWidget& window, QWidget& mainWindow, QPoint offset,
               std::vector<QAction*> launchers);

    // The launch command: place (first time), disable the launchers, show.
    void launch();
    // A step the launchers run before they launch (not launch() itself, which
    // hand-overs call once they have given the window what it shows).
    void setBeforeLaunch(std::function<void()> step) { m_beforeLaunch = std::move(step); }
    // Whether the window has been placed in this run.
    bool placed() const { return m_placed; }
    QWidget* window() const { return m_window; }

signals:
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void launcherTriggered();

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_main;
    QPoint m_offset;
    std::vector<QPointer<QAction>> m_launchers;
    std::function<void()> m_beforeLaunch;
    bool m_placed = false;
};

// When a tool window itself becomes the active window, not counting the
// return from one of its own modal dialogs.  (Qt also reports a tool window
// as active while its main window is, and tells it of every change of the
// main window's activation.)
class ActivationWatch {
public:
    // From the window's changeEvent: true when it has just become active.
    bool becameActive(const QWidget* window, const QEvent* event);
    // Runs one of the window's modal steps; the activation it causes on
    // return does not count.
    void modal(const QWidget* window, const std::function<void()>& step);
    // The window was hidden: its next activation counts.
    void hidden() { handOver(); }
    // Something was handed to the window: its next activation counts,
    // whatever came before.
    void handOver()
    {
        m_returningFromModal = false;
        m_wasActive = false;
    }

private:
    // Whether `active` (not the window) shows that the return from a modal
    // step went elsewhere.
    static bool elsewhere(const QWidget* window, const QWidget* active);

    int m_modalDepth = 0;
    bool m_returningFromModal = false;
    bool m_wasActive = false;
};
