#include "builders/table/tableunit.h"

#include "app/commandswitch.h"
#include "app/mainlayout.h"
#include "app/toolwindow.h"
#include "builders/table/tfmtablebody.h"

TableBuilderUnit::TableBuilderUnit(EditorHost& host) : m_sink(host)
{
    m_window = new TFmTableBody(host.prompts(), m_sink, host.mainWindow());
    const MainControls& c = host.controls();
    m_launcher = new ToolWindow(*m_window, *host.mainWindow(), QPoint(290, 100),
                                {c.MTable, c.ToolTable});
    host.documentCommands().add(m_window->MTd());
}

TableBuilderUnit::~TableBuilderUnit() = default;

TFmTableBody* TableBuilderUnit::window() const
{
    return m_window;
}

ToolWindow* TableBuilderUnit::launcher() const
{
    return m_launcher;
}
