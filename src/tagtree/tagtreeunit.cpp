#include "tagtree/tagtreeunit.h"

#include "app/commandswitch.h"
#include "app/editorhost.h"
#include "app/settings.h"
#include "tagtree/tagtreepanel.h"

#include <QLayout>
#include <QVBoxLayout>

TagTreeUnit::TagTreeUnit(EditorHost& host, QWidget* page) : m_host(host)
{
    TagTreeHost panelHost;
    panelHost.mainTopLeft = [this] { return m_host.mainWindow()->frameGeometry().topLeft(); };
    panelHost.userTreeSaved = [this](const QString&) { m_host.SaveSettings(); };

    m_panel = new TagTreePanel(host.prompts(), host, std::move(panelHost), page);
    if (!page->layout())
        new QVBoxLayout(page);
    page->layout()->setContentsMargins(0, 0, 0, 0);
    page->layout()->addWidget(m_panel);

    host.documentCommands().add(m_panel->MLayPaste);
    connect(&host.events(), &EditorEvents::tagTreeDropped, m_panel.data(),
            &TagTreePanel::PasteTagSubtree);
}

TagTreeUnit::~TagTreeUnit() = default;

TagTreePanel* TagTreeUnit::panel() const
{
    return m_panel.data();
}

void TagTreeUnit::load(const Settings& s)
{
    if (m_panel)
        m_panel->setUserTreePath(s.tree);
}

void TagTreeUnit::store(Settings& s) const
{
    if (m_panel)
        s.tree = m_panel->userTreePath();
}
