#pragma once
// A modeless builder or tool window, made once for the run.  Showing it
// through its launcher places it at the main window + an offset the first
// time only, disables its launch actions while it is shown and enables them
// again when it closes (closing only hides it).

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <vector>

class QAction;
class QWidget;

class ToolWindow : public QObject {
    Q_OBJECT
public:
    ToolWindow(QWidget& window, QWidget& mainWindow, QPoint offset,
               std::vector<QAction*> launchers);

    // The launch command: place (first time), disable the launchers, show.
    void launch();
    // Whether the window has been placed in this run.
    bool placed() const { return m_placed; }
    QWidget* window() const { return m_window; }

signals:
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_main;
    QPoint m_offset;
    std::vector<QPointer<QAction>> m_launchers;
    bool m_placed = false;
};
