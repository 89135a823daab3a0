#pragma once
// The preview pane: the document as the engine renders it, with a line for
// what the pane has to say (paused, blocked requests, an engine that could
// not start) and the two toggles.  It shows what it is given; the unit says
// what and when.

#include <QPointF>
#include <QUrl>
#include <QWebEnginePage>
#include <QWidget>

#include <functional>

class PreviewGate;
class PreviewSchemeHandler;
class QCheckBox;
class QLabel;
class QPushButton;
class QWebEngineLoadingInfo;
class QWebEngineProfile;
class QWebEngineView;

// Keeps the pane on its document: a clicked link is handed out, never
// followed, and nothing else takes the main frame elsewhere.
class PreviewPage : public QWebEnginePage {
    Q_OBJECT
public:
    PreviewPage(QWebEngineProfile* profile, QObject* parent);
    QUrl document;
    std::function<void(const QUrl&)> onLink;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    // A page's alert, question or file chooser would stop the editor with a
    // window at every refresh: the pane answers them itself, silently.
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }
    QStringList chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) override { return {}; }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) override {}
};

class PreviewPane : public QWidget {
    Q_OBJECT
public:
    explicit PreviewPane(QWidget* parent = nullptr);
    ~PreviewPane() override;

    // Shows `html` as the document at `url`.  The same document keeps its
    // scroll position, unless `follow` asks for the caret's marker instead.
    void render(const QUrl& url, const QString& html, bool follow);
    // The paused line and its button, or neither.
    void setPaused(bool paused);
    void setLinkHandler(std::function<void(const QUrl&)> handler);

    QWebEngineView* view() const { return m_view; }
    PreviewPage* page() const { return m_page; }
    QCheckBox* followBox() const { return m_follow; }
    QCheckBox* externalBox() const { return m_external; }
    QPushButton* renderOnceButton() const { return m_once; }
    // What the pane's line says now ("" when nothing).
    QString notice() const;
    int blockedCount() const { return m_blocked; }

signals:
    // A render is on screen (scrolled where it belongs), or failed.
    void rendered(bool ok);
    void renderOnceRequested();
    void followChanged(bool on);
    void externalChanged(bool on);

private:
    void loadingChanged(const QWebEngineLoadingInfo& info);
    void afterLoad();
    void showNotice();

    QWebEngineProfile* m_profile = nullptr;
    PreviewSchemeHandler* m_handler = nullptr;
    PreviewGate* m_gate = nullptr;
    PreviewPage* m_page = nullptr;
    QWebEngineView* m_view = nullptr;
    QCheckBox* m_follow = nullptr;
    QCheckBox* m_external = nullptr;
    QLabel* m_noticeLine = nullptr;
    QPushButton* m_once = nullptr;

    QUrl m_loading;        // the address of the render under way
    QPointF m_keepScroll;
    bool m_scrollToMarker = false;
    bool m_paused = false;
    QString m_failure;
    int m_blocked = 0;
};
