#include "builders/table/tableunit.h"

#include "app/commandswitch.h"
#include "builders/table/tfmtablebody.h"

TableBuilderUnit::TableBuilderUnit(EditorHost& host, BuilderLaunchers launchers) : BuilderUnit(host)
{
    m_window = new TFmTableBody(host.prompts(), editor(), host.mainWindow());
    install(*m_window, launchers);
    host.documentCommands().add(m_window->MTd());
}

TableBuilderUnit::~TableBuilderUnit() = default;

TFmTableBody* TableBuilderUnit::window() const
{
    return m_window;
}
