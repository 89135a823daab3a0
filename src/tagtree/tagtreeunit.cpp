#include "tagtree/tagtreeunit.h"

#include "app/tfmmain.h"
#include "tagtree/tagtreepanel.h"

#include <QLayout>
#include <QVBoxLayout>

TagTreeUnit::TagTreeUnit(TFmMain& main) : m_main(main)
{
    TagTreeHost host;
    host.currentEdit = [this]() -> QPlainTextEdit* { return m_main.CurrentEdit(); };
    host.mainTopLeft = [this] { return m_main.frameGeometry().topLeft(); };
    host.userTreeSaved = [this](const QString& path) {
        m_main.carriedSettings().tree = path;
        m_main.SaveSettings();
    };

    QWidget* page = main.findChild<QWidget*>(QStringLiteral("ToolTag2"));
    m_panel = new TagTreePanel(main.prompts(), std::move(host), page ? page : &main);
    if (page) {
        if (!page->layout())
            new QVBoxLayout(page);
        page->layout()->setContentsMargins(0, 0, 0, 0);
        page->layout()->addWidget(m_panel);
    } else {
        m_panel->hide();
    }

    m_panel->setUserTreePath(main.carriedSettings().tree);
    main.documentCommands().add(m_panel->MLayPaste);

    connect(&main, &TFmMain::currentDocumentChanged, this, &TagTreeUnit::connectCurrentEditor);
    connectCurrentEditor();
}

TagTreeUnit::~TagTreeUnit() = default;

TagTreePanel* TagTreeUnit::panel() const
{
    return m_panel.data();
}

void TagTreeUnit::connectCurrentEditor()
{
    DocumentEditor* edit = m_main.CurrentEdit();
    if (!edit || !m_panel)
        return;
    connect(edit, &DocumentEditor::tagTreeDropped, m_panel.data(), &TagTreePanel::PasteTagSubtree,
            Qt::UniqueConnection);
}
