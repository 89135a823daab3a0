#pragma once
// ﾌﾟﾚﾋﾞｭｰ (View menu): a pane beside the editor showing the current document
// as the browser renders it, refreshed shortly after the typing stops and
// never on a key.  The engine starts the first time the pane is shown.

#include "app/settingsclient.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <memory>

class DesktopShell;
class PreviewHost;
class PreviewPane;
class QAction;
class QSplitter;

class PreviewUnit : public QObject, public SettingsClient {
    Q_OBJECT
public:
    // `toggle` is the menu's check item; the pane goes into `place` beside
    // the editor.
    PreviewUnit(PreviewHost& host, QAction& toggle, QSplitter& place, std::unique_ptr<DesktopShell> shell);
    ~PreviewUnit() override;

    // [View] Preview
    void load(const Settings& s) override;
    void store(Settings& s) const override;

    bool shown() const;
    // The pane, once it was first shown.
    PreviewPane* pane() const;
    // Shows the current text now instead of at the next refresh; `once`
    // renders a document even where its size pauses the preview.
    void refreshNow(bool once = false);
    bool refreshPending() const { return m_timer.isActive(); }
    // Ctrl+Shift+P: the keyboard's way into the pane and back to the editor.
    QAction* jumpAction() const { return m_jump; }

signals:
    // A refresh was handed to the engine (tests and benchmarks wait on the
    // pane's rendered() after it).
    void refreshed();

private:
    void setShown(bool on);
    void changed();
    void caretMoved();
    void followLink(const QUrl& url);
    void jump();

    PreviewHost& m_host;
    QAction& m_toggle;
    QSplitter& m_place;
    std::unique_ptr<DesktopShell> m_shell;
    QPointer<PreviewPane> m_pane;
    QAction* m_jump = nullptr;
    QTimer m_timer;
    QElapsedTimer m_firstPending;
    bool m_pending = false;
};
