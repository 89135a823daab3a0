#include "optioner/optionerunit.h"

#include "app/commandswitch.h"
#include "app/editorhost.h"
#include "optioner/tfmto.h"

#include <QAction>

TagOptionerUnit::TagOptionerUnit(EditorHost& host, const OptionerCommands& c)
{
    // Owned by the main window, hidden until asked for.
    m_window = new TFmTO(host, {c.MTo, c.MTo2, c.ToolTo}, host.mainWindow());
    TFmTO* to = m_window;
    for (QAction* a : {c.MTo, c.MTo2, c.ToolTo, c.FTO}) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, to, [to] { to->MToClick(); });
    }
    connect(&host.events(), &EditorEvents::caretTagUpdated, to, &TFmTO::Refresh);
    host.documentCommands().add(to->MoPaste);
}

TagOptionerUnit::~TagOptionerUnit() = default;

TFmTO* TagOptionerUnit::window() const
{
    return m_window;
}
