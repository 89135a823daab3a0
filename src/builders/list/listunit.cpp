#include "builders/list/listunit.h"

#include "app/commandswitch.h"
#include "builders/list/tfmlist.h"

#include <QAction>
#include <QPushButton>

ListBuilderUnit::ListBuilderUnit(EditorHost& host, BuilderLaunchers launchers) : BuilderUnit(host)
{
    m_window = new TFmList(host.prompts(), editor(), host.mainWindow());
    install(*m_window, launchers);
    host.documentCommands().add(m_window->ListPaste());
    host.documentCommands().add(m_window->MPopList());
}

ListBuilderUnit::~ListBuilderUnit() = default;

TFmList* ListBuilderUnit::window() const
{
    return m_window;
}
