#pragma once
// What the builders share on the window side: the unit that gives a builder
// window its launch commands, and the base of the image and sound builder
// windows.

#include "app/editorhost.h"
#include "app/toolwindow.h"
#include "app/editorport.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <functional>

class Prompts;
class QAction;
class QDialog;
class QIcon;
class QToolButton;
class TextPanel;

// The two commands that show a builder window: its Tools menu item and its
// tool button.
struct BuilderLaunchers {
    QAction* menuItem = nullptr;
    QAction* toolButton = nullptr;
};

// Where a builder window first shows, from the main window's position.
inline constexpr QPoint kBuilderWindowOffset{290, 100};

// A builder window of the main window, made once for the run and shown by
// its launch commands at the main window + kBuilderWindowOffset the first
// time.  The units of the table, list, image and sound builders derive from
// this; each makes its window with `editor()` and hands it to `install`.
class BuilderUnit : public QObject {
    Q_OBJECT
public:
    ~BuilderUnit() override;

    ToolWindow* launcher() const;

protected:
    explicit BuilderUnit(EditorHost& host);

    EditorPort& editor() { return m_host; }
    // Puts `window` under `launchers`.  `beforeLaunch`, when given, runs each
    // time a launcher is about to show the window; a hand-over does not run it.
    void install(QWidget& window, BuilderLaunchers launchers,
                 std::function<void()> beforeLaunch = {});
    // Shows the window for something handed over: `give` hands it to the
    // window, which reads it at its next activation; when the window is
    // already the active one no activation is coming, so `read` runs instead.
    void handOver(const std::function<void()>& give, const std::function<void()>& read);

private:
    EditorHost& m_host;
    QPointer<QWidget> m_window;
    QPointer<ToolWindow> m_launcher;
};

// What the image and sound builder windows share: a tool window whose tag
// panel "ｺﾋﾟｰ" puts on the clipboard and "挿入" inserts at the caret, whose
// own option dialogs and messages run as modal steps, and which prepares its
// file again (FormActivate) each time it itself becomes active.
class TFmTagBuilder : public QWidget {
    Q_OBJECT
public:
    ~TFmTagBuilder() override;

    // Prepares the window's file again; each activation of the window runs it.
    virtual void FormActivate() = 0;

signals:
    void closed();

protected:
    TFmTagBuilder(Prompts& prompts, EditorPort& editor, QWidget* parent);

    // A button of the window's command row: its caption under its icon.
    QToolButton* commandButton(const char* name, const QString& caption, const QIcon& icon,
                               int minimumWidth);

    // The panel whose text the copy and insert commands take.
    void setTagPanel(TextPanel* panel) { m_panel = panel; }
    void copyTag();
    void insertTag();
    // Shows one of the window's option dialogs at the window + `offset`,
    // filled from the stored values, as a modal step.
    template <class Dialog>
    void runOptionDialog(Dialog& dialog, QPoint offset)
    {
        dialog.move(pos() + offset);
        dialog.FormActivate();
        modal([&] { execDialog(dialog); });
    }
    // Runs one of the window's own modal steps; coming back from it is not an
    // activation.
    void modal(const std::function<void()>& step);
    void showError(const QString& text);

    void changeEvent(QEvent* event) override;

    Prompts& m_prompts;
    ActivationWatch m_activation;

private:
    void execDialog(QDialog& dialog);

    EditorPort& m_editor;
    TextPanel* m_panel = nullptr;
};
