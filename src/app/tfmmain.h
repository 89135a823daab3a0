#pragma once
// The main window: documents in tabs, menus, bars and the status bar.  The
// commands of each area live in their own units, which the composition root
// creates; they reach the window through the EditorHost interface.

#include "app/commandswitch.h"
#include "app/documents.h"
#include "app/editorhost.h"
#include "app/mainlayout.h"
#include "app/settings.h"
#include "app/settingsclient.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <vector>

class Clock;
class Prompts;
class QAction;
class QMenu;
class QTabWidget;
class TFmVer;

class TFmMain : public QMainWindow, public EditorHost, private SettingsClient {
    Q_OBJECT
public:
    struct Options {
        QString settingsPath;        // the settings file beside the executable
        QString fallbackSettingsPath; // used when the executable's folder cannot be written
        QString exeDir;              // the executable's folder
        Clock* clock = nullptr;      // nullptr: the system clock
        // Creates the command units of every area (the composition root).
        std::function<void(TFmMain&)> compose;
        // Where changed documents are kept for recovery after a crash;
        // empty: no recovery files.
        QString recoveryDir;
        // Offer the documents a crashed run left behind once the event loop
        // runs (the program's start; tests ask for it themselves).
        bool offerRecovery = false;
    };

    // Editor font and colours, applied to every editor.
    using EditorLook = ::EditorLook;

    TFmMain(Prompts& prompts, Options options, QWidget* parent = nullptr);
    ~TFmMain() override;

    const Options& options() const { return m_options; }

    // ---- EditorHost
    bool hasDocument() const override;       // EditControl has an active tab
    void InsertAtCaret(const QString& text) override;
    void InsertTag(const QString& tagText) override;
    bool insertText(const QString& text) override;
    QString selectedText() const override;
    int caretLine() const override { return m_caretLine; }
    int caretColumn() const override { return m_caretColumn; }
    QString lineText(int line) const override;
    QString CaretTagText() const override { return m_caretTagText; }
    void focusEditor() override;
    void newDocument(bool pasteClipboard) override { m_documents->createBlank(pasteClipboard); }
    QString newDocumentCharset() const override;
    EditorEvents& events() override { return m_events; }
    EditorLook editorLook() const override { return m_look; }
    std::optional<EditorLook> currentEditorLook() const override;
    void setEditorLook(const EditorLook& look) override;
    // The right-click menu of the document area (EditMenu1 or EditMenu2).
    void setActiveEditMenu(QMenu* menu) override { m_activeEditMenu = menu; }
    QMenu* activeEditMenu() const { return m_activeEditMenu; }
    void claimEditorKeys(const QList<QKeySequence>& keys) override;
    // Every control of the window: its own command areas wire them; the
    // feature units get only theirs, from the composition root.
    const MainControls& controls() const { return m_c; }
    CommandSwitch& documentCommands() override { return m_documentCommands; }
    Prompts& prompts() override { return m_prompts; }
    Clock& clock() override { return *m_clock; }
    QWidget* mainWindow() override { return this; }
    void addSettingsClient(SettingsClient& client) override;
    bool SaveSettings() override;

    // ---- documents
    Documents& documents() { return *m_documents; }
    int DocumentCount() const { return m_documents->count(); }
    DocumentEditor* CurrentEdit() const;      // nullptr when no document is open
    Document* currentDocument() { return m_documents->current(); }
    Document* documentByNumber(int n) { return m_documents->byNumber(n); }
    DocumentEditor* EditByNumber(int n) const;
    QWidget* TabByNumber(int n) const;
    QTabWidget* editControl() const { return m_c.EditControl; }
    Document& NewDocument();
    // Closes document n without any question: removes its tab and editor and
    // makes the neighbour current (or runs the last-close steps).
    void closeDocument(int n);
    // Recomputes and shows the state of the current document after it was
    // filled (modified flag cleared, save-time text, focus, UpdateCaret).
    void finishFilling(Document& doc);
    // Shows a document just made: its editor set up, its tab current.
    void showNewDocument(Document& doc);

    // ---- editing
    void ShowModified(bool changed);
    void UpdateCaret();
    // The status bar's progress of the current document's load, if it loads.
    void showLoadProgress();
    // Super mode (Ctrl+Alt+Q): once on, it stays on for the run; every
    // press is told through events().superModeChanged.
    void setSuperMode();
    bool superMode() const { return m_superMode; }

    // ---- command switch
    void EnableDocumentCommands();
    void DisableDocumentCommands();

    // ---- settings
    QString settingsPath() const { return m_settingsPath; }
    bool settingsLoaded() const { return m_settingsLoaded; }
    // The values as read at start-up and last stored.
    const Settings& settings() const { return m_settings; }
    void applyEditorLook(QPlainTextEdit& edit) const;

    // ---- units
    void adoptUnit(std::unique_ptr<QObject> unit);
    // Runs when the main window is asked to close, instead of the plain
    // "write the settings and close"; returns false to keep the window open.
    void setFormClose(std::function<bool()> f) { m_formClose = std::move(f); }
    TFmVer* fmVer() const { return m_fmVer; }
    void createVersionWindow();

    // ---- window pieces by object name (tests and diagnostics)
    QAction* action(const char* name) const;
    QMenu* menu(const char* name) const;
    QString statusPanel(int i) const;
    // The panel that names the current document's encoding.
    static constexpr int kEncodingPanel = 6;
    void setStatusPanel(int i, const QString& text);
    void setCaptionForCurrent();               // "Quillnest4 - " + path

public slots:
    void EditControlChange();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void load(const Settings& s) override;
    void store(Settings& s) const override;
    void LoadSettings();
    void EditChanged(DocumentEditor* edit);
    void showDocumentState(Document* doc);
    void AssistKeyPress(QKeyEvent* e);
    void AssistKeyUp();
    void afterLastClose();
    QString chooseSettingsPath() const;

    Prompts& m_prompts;
    Options m_options;
    std::unique_ptr<Clock> m_ownClock;
    Clock* m_clock = nullptr;
    MainControls m_c;
    EditorEvents m_events;
    QString m_settingsPath;
    bool m_settingsLoaded = false;
    bool m_settingsFailureShown = false;
    Settings m_settings;
    std::vector<SettingsClient*> m_settingsClients;
    EditorLook m_look;

    bool m_closingTab = false;
    std::unique_ptr<Documents> m_documents;
    int m_caretLine = 0;
    int m_caretColumn = 0;
    QString m_caretTagText;
    int m_assistPending = 0;   // 1: a '<' was typed, 2: a '"'
    bool m_superMode = false;
    CommandSwitch m_documentCommands;
    std::function<bool()> m_formClose;
    QMenu* m_activeEditMenu = nullptr;
    QList<QKeySequence> m_windowKeys;   // claimed by the window's commands

    std::vector<std::unique_ptr<QObject>> m_units;
    TFmVer* m_fmVer = nullptr;
};
