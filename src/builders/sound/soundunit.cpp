#include "builders/sound/soundunit.h"

#include "app/commandswitch.h"
#include "builders/sound/tfmmusic.h"
#include "platform/mediaplayer.h"

#include <QAction>
#include <QToolButton>

SoundBuilderUnit::SoundBuilderUnit(EditorHost& host, BuilderLaunchers launchers) : BuilderUnit(host)
{
    m_window = new TFmMusic(host.prompts(), editor(), makeSdlMediaPlayer(), host.mainWindow());
    // The window's own command starts with no sound.
    install(*m_window, launchers, [w = m_window.data()] { w->setSoundFile({}); });
    host.documentCommands().add(m_window->MusicPaste());
}

SoundBuilderUnit::~SoundBuilderUnit() = default;

TFmMusic* SoundBuilderUnit::window() const
{
    return m_window;
}

void SoundBuilderUnit::openSound(const QString& path)
{
    if (!m_window)
        return;
    TFmMusic* w = m_window;
    handOver([w, &path] { w->setSoundFile(path); }, [w] { w->FormActivate(); });
}
