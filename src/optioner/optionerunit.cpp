#include "optioner/optionerunit.h"

#include "app/commandswitch.h"
#include "app/editorhost.h"
#include "app/mainlayout.h"
#include "optioner/tfmto.h"

#include <QAction>

TagOptionerUnit::TagOptionerUnit(EditorHost& host)
{
    m_window = new TFmTO(host);   // owned by the main window, hidden until asked for
    TFmTO* to = m_window;
    const MainControls& c = host.controls();
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
