#include "builders/image/imageunit.h"

#include "app/commandswitch.h"
#include "app/mainlayout.h"
#include "app/toolwindow.h"
#include "builders/image/tfmcg.h"
#include "platform/desktopshell.h"

#include <QAction>
#include <QApplication>
#include <QToolButton>

ImageBuilderUnit::ImageBuilderUnit(EditorHost& host) : m_sink(host), m_shell(makeXdgShell())
{
    m_window = new TFmCg(host.prompts(), m_sink, *m_shell, host.mainWindow());
    const MainControls& c = host.controls();
    // The window's own command starts with no picture; connected ahead of
    // the launcher, so that the picture is gone before the window shows.
    for (QAction* a : {c.MCg, c.ToolCg})
        connect(a, &QAction::triggered, m_window, [w = m_window.data()] { w->setImageFile({}); });
    m_launcher = new ToolWindow(*m_window, *host.mainWindow(), QPoint(290, 100), {c.MCg, c.ToolCg});
    host.documentCommands().add(m_window->CGPaste());
    connect(c.MSuper, &QAction::triggered, m_window, [w = m_window.data()] { w->MSuperClick(); });
}

ImageBuilderUnit::~ImageBuilderUnit() = default;

TFmCg* ImageBuilderUnit::window() const
{
    return m_window;
}

ToolWindow* ImageBuilderUnit::launcher() const
{
    return m_launcher;
}

void ImageBuilderUnit::openPicture(const QString& path)
{
    if (!m_window || !m_launcher)
        return;
    // Already the active window: no activation is coming to read it.
    const bool active = QApplication::activeWindow() == m_window;
    m_window->setImageFile(path);
    m_launcher->launch();
    if (active)
        m_window->FormActivate();
}

void ImageBuilderUnit::setShell(DesktopShell& shell)
{
    if (m_window)
        m_window->setShell(shell);
}
