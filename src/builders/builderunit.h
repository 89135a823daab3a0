#pragma once
// The builders' side of the main window: the sink that inserts at the caret
// of the current editor, and the unit that gives a builder window its launch
// commands.

#include "app/editorhost.h"
#include "builders/buildersink.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>
#include <vector>

class QAction;
class QWidget;
class ToolWindow;

// The builders' view of the main window: inserting at the caret, whether a
// document is open, and the editor's focus, taken from the editor host.
class HostBuilderSink final : public BuilderSink {
public:
    explicit HostBuilderSink(EditorHost& host) : m_host(host) {}
    void insertAtCaret(const QString& text) override { m_host.InsertAtCaret(text); }
    bool hasDocument() const override { return m_host.hasDocument(); }
    void focusEditor() override { m_host.focusEditor(); }

private:
    EditorHost& m_host;
};

// Where a builder window first shows, from the main window's position.
inline constexpr QPoint kBuilderWindowOffset{290, 100};

// A builder window of the main window, made once for the run and shown by
// its launch commands at the main window + kBuilderWindowOffset the first
// time.  The units of the table, list, image and sound builders derive from
// this; each makes its window with `sink()` and hands it to `install`.
class BuilderUnit : public QObject {
    Q_OBJECT
public:
    ~BuilderUnit() override;

    ToolWindow* launcher() const;

protected:
    explicit BuilderUnit(EditorHost& host);

    BuilderSink& sink() { return m_sink; }
    // Puts `window` under `launchers`.  `beforeLaunch`, when given, runs each
    // time a launcher is about to show the window; a hand-over does not run it.
    void install(QWidget& window, std::vector<QAction*> launchers,
                 std::function<void()> beforeLaunch = {});
    // Shows the window for something handed over: `give` hands it to the
    // window, which reads it at its next activation; when the window is
    // already the active one no activation is coming, so `read` runs instead.
    void handOver(const std::function<void()>& give, const std::function<void()>& read);

private:
    EditorHost& m_host;
    HostBuilderSink m_sink;
    QPointer<QWidget> m_window;
    QPointer<ToolWindow> m_launcher;
};
