#include "builders/list/listunit.h"

#include "app/commandswitch.h"
#include "app/mainlayout.h"
#include "app/toolwindow.h"
#include "builders/list/tfmlist.h"

#include <QAction>
#include <QPushButton>

ListBuilderUnit::ListBuilderUnit(EditorHost& host) : m_sink(host)
{
    m_window = new TFmList(host.prompts(), m_sink, host.mainWindow());
    const MainControls& c = host.controls();
    m_launcher = new ToolWindow(*m_window, *host.mainWindow(), QPoint(290, 100),
                                {c.MList, c.ToolList});
    host.documentCommands().add(m_window->ListPaste());
    host.documentCommands().add(m_window->MPopList());
}

ListBuilderUnit::~ListBuilderUnit() = default;

TFmList* ListBuilderUnit::window() const
{
    return m_window;
}

ToolWindow* ListBuilderUnit::launcher() const
{
    return m_launcher;
}
