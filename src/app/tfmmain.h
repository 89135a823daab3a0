#pragma once
// The main window: documents in tabs, menus, bars and the status bar.  The
// commands of each area live in their own units (file commands, editing
// commands, ...) which the window creates and wires up.

#include "app/commandswitch.h"
#include "app/document.h"
#include "app/settings.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>

class Clock;
class Prompts;
class QAction;
class QLabel;
class QMenu;
class QTabWidget;
class QToolBar;
class QWidget;

class TFmMain : public QMainWindow {
    Q_OBJECT
public:
    struct Options {
        QString settingsPath;        // the settings file beside the executable
        QString fallbackSettingsPath; // used when the executable's folder cannot be written
        QString exeDir;              // the executable's folder
        Clock* clock = nullptr;      // nullptr: the system clock
    };

    TFmMain(Prompts& prompts, Options options, QWidget* parent = nullptr);
    ~TFmMain() override;

    Prompts& prompts() { return m_prompts; }
    Clock& clock() { return *m_clock; }
    const Options& options() const { return m_options; }

    // ---- documents
    int DocumentCount() const { return m_documentCount; }
    bool hasDocument() const;                 // EditControl has an active tab
    DocumentEditor* CurrentEdit() const;      // nullptr when no document is open
    Document* currentDocument();
    Document* documentByNumber(int n);        // nullptr for closed numbers
    DocumentEditor* EditByNumber(int n) const;
    QWidget* TabByNumber(int n) const;
    QTabWidget* editControl() const { return m_editControl; }
    Document& NewDocument();
    // Closes document n without any question: removes its tab and editor and
    // makes the neighbour current (or runs the last-close steps).
    void closeDocument(int n);
    bool FillingDocument = false;

    // Recomputes and shows the state of the current document after it was
    // filled (modified flag cleared, save-time text, focus, UpdateCaret).
    void finishFilling(Document& doc);

    // ---- editing
    void InsertAtCaret(const QString& text);
    void InsertTag(const QString& tagText);
    void ShowModified(bool changed);
    void UpdateCaret();
    int caretLine() const { return m_caretLine; }
    int caretColumn() const { return m_caretColumn; }
    const QString& CaretTagText() const { return m_caretTagText; }
    int AssistPending = 0;
    // Super mode (Ctrl+Alt+Q): once on, it stays on for the run.
    bool SuperMode = false;

    // ---- command switch
    CommandSwitch& documentCommands() { return m_documentCommands; }
    void EnableDocumentCommands();
    void DisableDocumentCommands();

    // ---- settings
    void LoadSettings();
    bool SaveSettings();
    QString settingsPath() const { return m_settingsPath; }
    bool settingsLoaded() const { return m_settingsLoaded; }
    // Values of the keys whose windows keep them elsewhere (tag menu, key
    // control, file panel, tag tree); their units read and update them here.
    Settings& carriedSettings() { return m_settings; }

    // Editor font and colours (applied to editors made from now on).
    QFont editorFont;
    QColor editorColor;
    QColor editorBkColor;
    void applyEditorLook(QPlainTextEdit& edit) const;

    // ---- window pieces, by their object names
    QAction* action(const char* name) const;   // a menu item, tool or function-key button
    QMenu* menu(const char* name) const;
    QString statusPanel(int i) const;
    void setStatusPanel(int i, const QString& text);
    void setCaptionForCurrent();               // "Quillnest4 - " + path

    // Hooks the command units use.
    // Runs when the main window is asked to close, instead of the plain
    // "write the settings and close"; returns false to keep the window open.
    std::function<bool()> onFormClose;
    // The right-click menu of the document area (EditMenu1 or EditMenu2).
    QMenu* activeEditMenu = nullptr;
    class TFmVer* fmVer() const { return m_fmVer; }
    void createVersionWindow();

signals:
    // Emitted at the end of every UpdateCaret with the tag text at the caret.
    void caretTagUpdated(const QString& tagText);
    // The set of documents or the current one changed.
    void currentDocumentChanged();

public slots:
    void EditControlChange();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void EditChanged(DocumentEditor* edit);
    void AssistKeyPress(QKeyEvent* e);
    void AssistKeyUp();
    void afterLastClose();
    QString chooseSettingsPath() const;

    Prompts& m_prompts;
    Options m_options;
    std::unique_ptr<Clock> m_ownClock;
    Clock* m_clock = nullptr;
    QString m_settingsPath;
    bool m_settingsLoaded = false;
    bool m_settingsFailureShown = false;

    bool m_closingTab = false;
    int m_documentCount = 0;
    std::map<int, Document> m_documents;
    QTabWidget* m_editControl = nullptr;
    QLabel* m_panels[6] = {};
    int m_caretLine = 0;
    int m_caretColumn = 0;
    QString m_caretTagText;
    CommandSwitch m_documentCommands;
    Settings m_settings;   // keys whose windows do not exist yet, carried as read

    std::vector<std::unique_ptr<QObject>> m_units;
    class TFmVer* m_fmVer = nullptr;
};
