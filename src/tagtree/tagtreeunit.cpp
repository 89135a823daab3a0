#include "tagtree/tagtreeunit.h"

#include "app/commandswitch.h"
#include "app/editorhost.h"
#include "app/mainlayout.h"
#include "app/settings.h"
#include "tagtree/tagtreepanel.h"

#include <QLayout>
#include <QVBoxLayout>

TagTreeUnit::TagTreeUnit(EditorHost& host) : m_host(host)
{
    TagTreeHost panelHost;
    panelHost.insertText = [this](const QString& text) { return m_host.insertText(text); };
    panelHost.focusEditor = [this] { m_host.focusEditor(); };
    panelHost.mainTopLeft = [this] { return m_host.mainWindow()->frameGeometry().topLeft(); };
    panelHost.userTreeSaved = [this](const QString&) { m_host.SaveSettings(); };

    QWidget* page = host.controls().ToolTag2;
    m_panel = new TagTreePanel(host.prompts(), std::move(panelHost), page);
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
