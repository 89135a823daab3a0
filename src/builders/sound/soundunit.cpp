#include "builders/sound/soundunit.h"

#include "app/commandswitch.h"
#include "app/mainlayout.h"
#include "app/toolwindow.h"
#include "builders/sound/tfmmusic.h"
#include "platform/mediaplayer.h"

#include <QAction>
#include <QApplication>
#include <QToolButton>

SoundBuilderUnit::SoundBuilderUnit(EditorHost& host) : m_sink(host)
{
    m_window = new TFmMusic(host.prompts(), m_sink, makeSdlMediaPlayer(), host.mainWindow());
    const MainControls& c = host.controls();
    // The window's own command starts with no sound; connected ahead of the
    // launcher, so that the sound is gone before the window shows.
    for (QAction* a : {c.MSound, c.ToolSound})
        connect(a, &QAction::triggered, m_window, [w = m_window.data()] { w->setSoundFile({}); });
    m_launcher = new ToolWindow(*m_window, *host.mainWindow(), QPoint(290, 100), {c.MSound, c.ToolSound});
    host.documentCommands().add(m_window->MusicPaste());
}

SoundBuilderUnit::~SoundBuilderUnit() = default;

TFmMusic* SoundBuilderUnit::window() const
{
    return m_window;
}

ToolWindow* SoundBuilderUnit::launcher() const
{
    return m_launcher;
}

void SoundBuilderUnit::openSound(const QString& path)
{
    if (!m_window || !m_launcher)
        return;
    // Already the active window: no activation is coming to prepare it.
    const bool active = QApplication::activeWindow() == m_window;
    m_window->setSoundFile(path);
    m_launcher->launch();
    if (active)
        m_window->FormActivate();
}
