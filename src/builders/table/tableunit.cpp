#include "builders/table/tableunit.h"

#include "app/commandswitch.h"
#include "app/mainlayout.h"
#include "builders/table/tfmtablebody.h"

TableBuilderUnit::TableBuilderUnit(EditorHost& host) : BuilderUnit(host)
{
    m_window = new TFmTableBody(host.prompts(), sink(), host.mainWindow());
    const MainControls& c = host.controls();
    install(*m_window, {c.MTable, c.ToolTable});
    host.documentCommands().add(m_window->MTd());
}

TableBuilderUnit::~TableBuilderUnit() = default;

TFmTableBody* TableBuilderUnit::window() const
{
    return m_window;
}
