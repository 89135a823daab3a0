#include "builders/list/listunit.h"

#include "app/commandswitch.h"
#include "app/mainlayout.h"
#include "builders/list/tfmlist.h"

#include <QAction>
#include <QPushButton>

ListBuilderUnit::ListBuilderUnit(EditorHost& host) : BuilderUnit(host)
{
    m_window = new TFmList(host.prompts(), sink(), host.mainWindow());
    const MainControls& c = host.controls();
    install(*m_window, {c.MList, c.ToolList});
    host.documentCommands().add(m_window->ListPaste());
    host.documentCommands().add(m_window->MPopList());
}

ListBuilderUnit::~ListBuilderUnit() = default;

TFmList* ListBuilderUnit::window() const
{
    return m_window;
}
