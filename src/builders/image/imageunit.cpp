#include "builders/image/imageunit.h"

#include "app/commandswitch.h"
#include "builders/image/tfmcg.h"
#include "platform/desktopshell.h"

#include <QAction>
#include <QToolButton>

ImageBuilderUnit::ImageBuilderUnit(EditorHost& host, BuilderLaunchers launchers)
    : BuilderUnit(host), m_shell(makeXdgShell())
{
    m_window = new TFmCg(host.prompts(), editor(), *m_shell, host.mainWindow());
    // The window's own command starts with no picture.
    install(*m_window, launchers, [w = m_window.data()] { w->setImageFile({}); });
    host.documentCommands().add(m_window->CGPaste());
    connect(&host.events(), &EditorEvents::superModeChanged, m_window, [w = m_window.data()](bool on) {
        if (on)
            w->MSuperClick();
    });
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
