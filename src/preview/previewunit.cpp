#include "preview/previewunit.h"

#include "app/settings.h"
#include "platform/desktopshell.h"
#include "preview/previewhost.h"
#include "preview/previewpane.h"
#include "preview/previewrules.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QCheckBox>
#include <QSplitter>

PreviewUnit::PreviewUnit(PreviewHost& host, QAction& toggle, QSplitter& place,
                         std::unique_ptr<DesktopShell> shell)
    : m_host(host), m_toggle(toggle), m_place(place), m_shell(std::move(shell))
{
    setObjectName(QStringLiteral("PreviewUnit"));
    m_toggle.setEnabled(true);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { refreshNow(); });
    connect(&m_toggle, &QAction::toggled, this, &PreviewUnit::setShown);
    // The editor takes no Tab focus (Tab types a tab), so a key reaches the pane.
    m_jump = new QAction(QStringLiteral("ﾌﾟﾚﾋﾞｭｰへ移動"), this);
    m_jump->setObjectName(QStringLiteral("MPreviewFocus"));
    m_jump->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    if (auto* menu = qobject_cast<QMenu*>(m_toggle.parent())) {
        // Right under the item that shows the pane.
        const QList<QAction*> items = menu->actions();
        const qsizetype at = items.indexOf(&m_toggle);
        menu->insertAction(at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr, m_jump);
    }
    if (QWidget* window = m_place.window())
        window->addAction(m_jump);
    connect(m_jump, &QAction::triggered, this, &PreviewUnit::jump);
    // A key only restarts a timer here: the text is read when it fires.
    connect(&m_host, &PreviewHost::textChanged, this, &PreviewUnit::changed);
    connect(&m_host, &PreviewHost::currentChanged, this, &PreviewUnit::changed);
    connect(&m_host, &PreviewHost::caretMoved, this, &PreviewUnit::caretMoved);
}

PreviewUnit::~PreviewUnit()
{
    delete m_pane;
}

void PreviewUnit::load(const Settings& s)
{
    m_toggle.setChecked(s.preview == 1);
}

void PreviewUnit::store(Settings& s) const
{
    s.preview = m_toggle.isChecked() ? 1 : 0;
}

PreviewPane* PreviewUnit::pane() const
{
    return m_pane;
}

bool PreviewUnit::shown() const
{
    return m_pane && !m_pane->isHidden();
}

void PreviewUnit::setShown(bool on)
{
    if (!on) {
        m_timer.stop();
        m_pending = false;
        if (m_pane)
            m_pane->hide();
        return;
    }
    if (!m_pane) {
        m_pane = new PreviewPane;
        m_pane->setLinkHandler([this](const QUrl& url) { followLink(url); });
        connect(m_pane, &PreviewPane::renderOnceRequested, this, [this] { refreshNow(true); });
        connect(m_pane, &PreviewPane::followChanged, this, &PreviewUnit::changed);
        connect(m_pane, &PreviewPane::externalChanged, this, &PreviewUnit::changed);
        m_place.addWidget(m_pane);
        const int width = std::max(m_place.width(), 2);
        m_place.setSizes({width / 2, width - width / 2});
    }
    m_pane->show();
    refreshNow();
}

void PreviewUnit::changed()
{
    if (!shown())
        return;
    if (!m_pending) {
        m_pending = true;
        m_firstPending.start();
    }
    m_timer.start(preview::refreshDelayMs(m_firstPending.elapsed()));
}

void PreviewUnit::caretMoved()
{
    if (m_pane && m_pane->followBox()->isChecked())
        changed();
}

void PreviewUnit::refreshNow(bool once)
{
    m_timer.stop();
    m_pending = false;
    if (!shown())
        return;
    if (!m_host.hasDocument()) {
        m_pane->setPaused(false);
        m_pane->render(preview::documentUrl({}, {}, m_host.fallbackFolder()), QString(), false);
        emit refreshed();
        return;
    }
    const QUrl url = preview::documentUrl(m_host.documentPath(), m_host.documentName(),
                                          m_host.fallbackFolder());
    // A file still loading is a big one: its text is read only when asked.
    const int byLength = m_host.documentLoading() ? 1 : preview::overPauseSizeByLength(m_host.documentLength());
    QString text;
    bool paused = byLength == 1;
    if (byLength == -1) {
        text = m_host.documentText();
        paused = preview::overPauseSize(text);
    }
    m_pane->setPaused(paused);
    if (paused && !once) {
        // What stays on show must not be another document's page.
        if (!preview::sameDocument(m_pane->page()->document, url))
            m_pane->render(url, QString(), false);
        return;
    }
    if (byLength != -1)
        text = m_host.documentText();
    const bool follow = m_pane->followBox()->isChecked();
    if (follow) {
        const qsizetype caret = preview::offsetOf(text, m_host.caretLine(), m_host.caretColumn());
        text = preview::withMarker(text, preview::markerPosition(text, caret));
    }
    m_pane->render(url, text, follow);
    emit refreshed();
}

void PreviewUnit::jump()
{
    if (m_pane && m_pane->isAncestorOf(QApplication::focusWidget())) {
        m_host.focusEditor();
        return;
    }
    if (!m_toggle.isChecked())
        m_toggle.setChecked(true);
    m_pane->followBox()->setFocus(Qt::ShortcutFocusReason);
}

void PreviewUnit::followLink(const QUrl& url)
{
    const QUrl document = m_pane ? m_pane->page()->document : QUrl();
    QString error;
    bool ok = true;
    switch (preview::classifyLink(url, document)) {
    case preview::LinkTarget::OpenTab:
        m_host.openFile(preview::localFileOf(url));
        return;
    case preview::LinkTarget::Shell: {
        const QString file = preview::localFileOf(url);
        ok = file.isEmpty() ? m_shell->openUrl(url.toString(QUrl::FullyEncoded), &error)
                            : m_shell->open(file, &error);
        break;
    }
    case preview::LinkTarget::InPage:
    case preview::LinkTarget::Ignore:
        return;
    }
    if (!ok)
        m_host.showMessage(error);
}
