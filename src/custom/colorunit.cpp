#include "custom/colorunit.h"

#include "app/icons.h"
#include "app/commandswitch.h"
#include "app/editorhost.h"
#include "app/toolwindow.h"
#include "app/namedcolors.h"
#include "custom/tfmcolor.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

ColorPickerUnit::ColorPickerUnit(EditorHost& host, const ColorCommands& c) : m_host(host)
{
    m_window = new TFmColor(host, host.mainWindow());
    m_launcher = new ToolWindow(*m_window, *host.mainWindow(), QPoint(250, 100),
                                {c.MColor, c.ToolColor});
    host.documentCommands().add(m_window->BtnColor);

    for (const EasyColorItem& item : kEasyColorItems) {
        QAction* a = c.MEasy->addAction(QString::fromLatin1(item.caption));
        a->setObjectName(QLatin1String(item.objectName));
        a->setIcon(colorSwatch(namedColor(item.index)));
        const int index = item.index;
        connect(a, &QAction::triggered, this, [this, index] {
            if (m_host.hasDocument())
                m_host.InsertAtCaret(quotedColorName(index));
        });
    }
    host.documentCommands().add(c.MEasy->menuAction());
}

ColorPickerUnit::~ColorPickerUnit() = default;
