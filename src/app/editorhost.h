#pragma once
// What a feature unit may use of the main window and its documents.  Units
// reach the editor only through these operations, never through the editor
// widget itself, so the editor's insides can change without them noticing;
// the tool windows they make see only the EditorPort part.

#include "app/editorport.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QKeySequence>
#include <QObject>
#include <QString>
#include <optional>

class Clock;
class CommandSwitch;
class Prompts;
class QMenu;
class QWidget;
class SettingsClient;
struct Settings;

// The host's signals (the host is a window already; it cannot carry them).
class EditorEvents : public QObject {
    Q_OBJECT
signals:
    // Emitted at the end of every caret update with the tag text at the caret.
    void caretTagUpdated(const QString& tagText);
    // The set of documents or the current one changed.
    void currentDocumentChanged();
    // A tag-tree item was dropped on the current document's editor.
    void tagTreeDropped();
    // Super mode (Ctrl+Alt+Q) was switched on.  Sent at every press of its
    // key, also when already on: the image builder repeats its steps.
    void superModeChanged(bool on);
};

// The editors' font and colours: one setting for every editor.
struct EditorLook {
    QFont font;
    QColor color;      // text
    QColor bkColor;    // background
};

class EditorHost : public EditorPort {
public:
    // ---- the current document (the rest is EditorPort)
    virtual QString selectedText() const = 0;
    // Caret line and column (from 0) as last computed, and the text of a line.
    virtual int caretLine() const = 0;
    virtual int caretColumn() const = 0;
    virtual QString lineText(int line) const = 0;
    // A new document without a file, filled from the clipboard when asked
    // (the page builders hand their pages over that way).
    virtual void newDocument(bool pasteClipboard) = 0;
    // The charset a new page declares: empty for Shift_JIS (the home
    // encoding, declared by no page), else its name ("UTF-8").
    virtual QString newDocumentCharset() const = 0;
    virtual EditorEvents& events() = 0;

    // ---- the editors
    // The font and colours every new editor gets.
    virtual EditorLook editorLook() const = 0;
    // The current editor's own font and colours; nullopt with no document.
    virtual std::optional<EditorLook> currentEditorLook() const = 0;
    // Makes `look` the setting and gives it to every open editor.
    virtual void setEditorLook(const EditorLook& look) = 0;
    // The right-click menu of the document area.
    virtual void setActiveEditMenu(QMenu* menu) = 0;
    // Keys that reach the main window's commands even while an editor has
    // the focus, ahead of the editor's own bindings (Ctrl+A would select
    // all).  Each call adds to the keys claimed so far.
    virtual void claimEditorKeys(const QList<QKeySequence>& keys) = 0;

    // ---- the main window
    virtual CommandSwitch& documentCommands() = 0;
    virtual Prompts& prompts() = 0;
    virtual Clock& clock() = 0;
    // The main window: the parent of tool windows and the origin of their
    // placement.
    virtual QWidget* mainWindow() = 0;

    // ---- settings
    // The client loads its keys now (from the file read at start-up) and
    // stores them before every write, in the order clients were added.
    virtual void addSettingsClient(SettingsClient& client) = 0;
    // Writes the whole settings file.
    virtual bool SaveSettings() = 0;
};
