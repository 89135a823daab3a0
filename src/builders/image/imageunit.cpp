#include "builders/image/imageunit.h"

#include "app/commandswitch.h"
#include "app/mainlayout.h"
#include "builders/image/tfmcg.h"
#include "platform/desktopshell.h"

#include <QAction>
#include <QToolButton>

ImageBuilderUnit::ImageBuilderUnit(EditorHost& host) : BuilderUnit(host), m_shell(makeXdgShell())
{
    m_window = new TFmCg(host.prompts(), sink(), *m_shell, host.mainWindow());
    const MainControls& c = host.controls();
    // The window's own command starts with no picture.
    install(*m_window, {c.MCg, c.ToolCg}, [w = m_window.data()] { w->setImageFile({}); });
    host.documentCommands().add(m_window->CGPaste());
    connect(c.MSuper, &QAction::triggered, m_window, [w = m_window.data()] { w->MSuperClick(); });
}

ImageBuilderUnit::~ImageBuilderUnit() = default;

TFmCg* ImageBuilderUnit::window() const
{
    return m_window;
}

void ImageBuilderUnit::openPicture(const QString& path)
{
    if (!m_window)
        return;
    TFmCg* w = m_window;
    handOver([w, &path] { w->setImageFile(path); }, [w] { w->FormActivate(); });
}

void ImageBuilderUnit::setShell(DesktopShell& shell)
{
    if (m_window)
        m_window->setShell(shell);
}
