#include "optioner/optionerunit.h"

#include "app/tfmmain.h"
#include "optioner/tfmto.h"

#include <QAction>

TagOptionerUnit::TagOptionerUnit(TFmMain& main)
{
    m_window = new TFmTO(main);   // owned by the main window, hidden until asked for
    TFmTO* to = m_window;
    for (const char* name : {"MTo", "MTo2", "ToolTo", "FTO"})
        if (QAction* a = main.action(name)) {
            a->setEnabled(true);
            connect(a, &QAction::triggered, to, [to] { to->MToClick(); });
        }
    connect(&main, &TFmMain::caretTagUpdated, to, &TFmTO::Refresh);
    main.documentCommands().add(to->MoPaste);
}

TagOptionerUnit::~TagOptionerUnit() = default;

TFmTO* TagOptionerUnit::window() const
{
    return m_window;
}
