#include "preview/previewpane.h"

#include "preview/previewengine.h"
#include "preview/previewrules.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

const QString kPausedLine = QStringLiteral("4 MB を超える文書のため、ﾌﾟﾚﾋﾞｭｰを止めています");
const QString kEngineFailed = QStringLiteral("ﾌﾟﾚﾋﾞｭｰを表示できません（表示ｴﾝｼﾞﾝが動きません）");

// A window a link asked for (target="_blank"): its address is handed out
// like any clicked link, and the page goes.
class LinkCatcher : public QWebEnginePage {
public:
    LinkCatcher(QWebEngineProfile* profile, QObject* parent, std::function<void(const QUrl&)> onLink)
        : QWebEnginePage(profile, parent), m_onLink(std::move(onLink))
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool) override
    {
        // Only a click: a page's script opening windows by itself gets nothing.
        if (type == NavigationTypeLinkClicked && m_onLink && !m_done)
            m_onLink(url);
        m_done = true;
        deleteLater();
        return false;
    }

private:
    std::function<void(const QUrl&)> m_onLink;
    bool m_done = false;
};

} // namespace

PreviewPage::PreviewPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {}

bool PreviewPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    if (type == NavigationTypeLinkClicked) {
        if (preview::classifyLink(url, document) == preview::LinkTarget::InPage)
            return true;
        if (onLink)
            onLink(url);
        return false;
    }
    if (!isMainFrame)
        return true;   // a frame of the document loading its page
    // The pane's own loads; a form, a script or a refresh may not lead away.
    return preview::sameDocument(url, document);
}

QWebEnginePage* PreviewPage::createWindow(WebWindowType)
{
    return new LinkCatcher(profile(), this, onLink);
}

PreviewPane::PreviewPane(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PreviewPane"));
    setAccessibleName(QStringLiteral("ﾌﾟﾚﾋﾞｭｰ"));
    m_profile = new QWebEngineProfile(this);   // off the record: nothing kept on disk
    m_handler = new PreviewSchemeHandler(m_profile);
    m_gate = new PreviewGate(m_profile);
    m_profile->installUrlSchemeHandler(preview::kScheme, m_handler);
    m_profile->setUrlRequestInterceptor(m_gate);
    connect(m_gate, &PreviewGate::blocked, this, [this] {
        ++m_blocked;
        showNotice();
    }, Qt::QueuedConnection);

    m_page = new PreviewPage(m_profile, this);
    QWebEngineSettings* s = m_page->settings();
    s->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);   // the editor keeps the keys
    // Remote requests reach the gate, which alone decides (and counts).
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    connect(m_page, &QWebEnginePage::loadingChanged, this, &PreviewPane::loadingChanged);
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status == QWebEnginePage::NormalTerminationStatus)
                    return;
                m_failure = kEngineFailed;
                showNotice();
                emit rendered(false);
            });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* bar = new QWidget(this);
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(4, 2, 4, 2);
    m_follow = new QCheckBox(QStringLiteral("ｶｰｿﾙ位置に追従"), bar);
    m_follow->setObjectName(QStringLiteral("PreviewFollow"));
    m_external = new QCheckBox(QStringLiteral("外部ﾘｿｰｽを読み込む"), bar);
    m_external->setObjectName(QStringLiteral("PreviewExternal"));
    barLayout->addWidget(m_follow);
    barLayout->addWidget(m_external);
    barLayout->addStretch(1);
    layout->addWidget(bar);

    auto* noticeBar = new QWidget(this);
    auto* noticeLayout = new QHBoxLayout(noticeBar);
    noticeLayout->setContentsMargins(4, 0, 4, 0);
    m_noticeLine = new QLabel(noticeBar);
    m_noticeLine->setObjectName(QStringLiteral("PreviewNotice"));
    m_noticeLine->setTextFormat(Qt::PlainText);
    m_noticeLine->setWordWrap(true);
    m_once = new QPushButton(QStringLiteral("一度だけ表示"), noticeBar);
    m_once->setObjectName(QStringLiteral("PreviewRenderOnce"));
    noticeLayout->addWidget(m_noticeLine, 1);
    noticeLayout->addWidget(m_once);
    layout->addWidget(noticeBar);
    m_noticeLine->hide();
    m_once->hide();

    m_view = new QWebEngineView(this);
    m_view->setObjectName(QStringLiteral("PreviewView"));
    m_view->setAccessibleName(QStringLiteral("ﾌﾟﾚﾋﾞｭｰ"));
    m_view->setPage(m_page);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);   // its menu offers to navigate away
    layout->addWidget(m_view, 1);

    connect(m_follow, &QCheckBox::toggled, this, &PreviewPane::followChanged);
    connect(m_external, &QCheckBox::toggled, this, [this](bool on) {
        m_gate->setAllowExternal(on);
        emit externalChanged(on);
    });
    connect(m_once, &QPushButton::clicked, this, &PreviewPane::renderOnceRequested);
}

PreviewPane::~PreviewPane()
{
    // The page goes before its profile (the engine insists).
    delete m_view;
    delete m_page;
}

void PreviewPane::setLinkHandler(std::function<void(const QUrl&)> handler)
{
    m_page->onLink = std::move(handler);
}

void PreviewPane::render(const QUrl& url, const QString& html, bool follow)
{
    const bool sameDoc = preview::sameDocument(url, m_page->document) && !m_page->document.isEmpty();
    m_keepScroll = sameDoc ? m_page->scrollPosition() : QPointF();
    m_scrollToMarker = follow;
    m_blocked = 0;
    m_failure.clear();
    m_page->document = url;
    m_handler->setDocument(url, html.toUtf8());
    m_loading = url;
    showNotice();
    m_page->load(url);
}

void PreviewPane::setPaused(bool paused)
{
    m_paused = paused;
    showNotice();
}

QString PreviewPane::notice() const
{
    QStringList lines;
    if (!m_failure.isEmpty())
        lines << m_failure;
    if (m_paused)
        lines << kPausedLine;
    if (m_blocked > 0)
        lines << preview::blockedLine(m_blocked);
    return lines.join(u'\n');
}

void PreviewPane::showNotice()
{
    const QString text = notice();
    m_noticeLine->setText(text);
    m_noticeLine->setAccessibleName(text);
    m_noticeLine->setVisible(!text.isEmpty());
    m_once->setVisible(m_paused);
}

void PreviewPane::loadingChanged(const QWebEngineLoadingInfo& info)
{
    if (!preview::sameDocument(info.url(), m_loading))
        return;
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        afterLoad();
        break;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        m_failure = kEngineFailed;
        if (!info.errorString().isEmpty())
            m_failure += QStringLiteral(": ") + info.errorString();
        showNotice();
        emit rendered(false);
        break;
    default:
        break;   // started, or stopped by the next render
    }
}

void PreviewPane::afterLoad()
{
    QString script;
    if (m_scrollToMarker) {
        script = QStringLiteral(
                     "(function(){var m=document.getElementById('%1');if(!m)return;"
                     "var r=m.getBoundingClientRect();"
                     "if(r.width==0&&r.height==0&&m.parentElement)r=m.parentElement.getBoundingClientRect();"
                     "window.scrollTo(window.scrollX,window.scrollY+r.top-window.innerHeight/3);"
                     "m.remove();})()")
                     .arg(QLatin1String(preview::kMarkerId));
    } else {
        script = QStringLiteral("window.scrollTo(%1,%2)").arg(m_keepScroll.x()).arg(m_keepScroll.y());
    }
    m_page->runJavaScript(script, [this](const QVariant&) { emit rendered(true); });
}
