#include "platform/mediaplayer.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

namespace {

// A standard MIDI file this large is not music; it would only be read
// whole into memory by the synthesiser.
constexpr qint64 kMaxMidiBytes = 64 * 1024 * 1024;

QString sdlError()
{
    const char* e = SDL_GetError();
    return e && *e ? QString::fromUtf8(e) : QStringLiteral("unknown error");
}

// The synthesiser takes any file it is handed as MIDI and only finds out
// while playing, silently; so a file that goes to it is checked first: the
// header chunk, then as many track chunks as it announces, each inside the
// file.  Returns what is wrong, or nothing.
QString midiProblem(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return f.errorString();
    const qint64 size = f.size();
    auto be32 = [](const QByteArray& b, int at) {
        return (quint32(quint8(b[at])) << 24) | (quint32(quint8(b[at + 1])) << 16)
               | (quint32(quint8(b[at + 2])) << 8) | quint32(quint8(b[at + 3]));
    };
    const QByteArray head = f.read(14);
    if (head.size() < 14 || !head.startsWith("MThd") || be32(head, 4) < 6)
        return QStringLiteral("Not a standard MIDI file (no MThd header)");
    const int tracks = (quint8(head[10]) << 8) | quint8(head[11]);
    if (tracks == 0)
        return QStringLiteral("MIDI file holds no track");
    qint64 pos = 8 + qint64(be32(head, 4));
    int found = 0;
    while (found < tracks) {
        if (!f.seek(pos))
            break;
        const QByteArray chunk = f.read(8);
        if (chunk.size() < 8)
            break;
        const qint64 length = be32(chunk, 4);
        if (pos + 8 + length > size)
            return QStringLiteral("MIDI track chunk runs past the end of the file");
        if (chunk.startsWith("MTrk"))
            ++found;
        pos += 8 + length;
    }
    if (found < tracks)
        return QStringLiteral("MIDI file ends after %1 of %2 tracks").arg(found).arg(tracks);
    return {};
}

// Whether SDL_mixer will hand the file to its MIDI player: by content, then
// by extension.
bool playsAsMidi(const QString& path)
{
    QFile f(path);
    if (f.open(QIODevice::ReadOnly)) {
        const QByteArray head = f.read(12);
        if (head.startsWith("MThd"))
            return true;
        if (head.startsWith("RIFF") || head.startsWith("OggS") || head.startsWith("fLaC")
            || head.startsWith("ID3"))
            return false;
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("mid") || suffix == QLatin1String("midi") || suffix == QLatin1String("kar");
}

class SdlMediaPlayer final : public MediaPlayer {
public:
    ~SdlMediaPlayer() override
    {
        close();
        dropLoaded();
        if (m_audioOpen)
            Mix_CloseAudio();
        if (m_sdlInit)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    void setFileName(const QString& path) override { m_fileName = path; }
    QString fileName() const override { return m_fileName; }

    bool open() override
    {
        close();
        if (m_fileName.isEmpty())
            return fail(QStringLiteral("ファイル名が指定されていません"));
        const QFileInfo info(m_fileName);
        if (!info.isFile())
            return fail(QStringLiteral("Couldn't open '%1'").arg(m_fileName));
        const bool midi = playsAsMidi(m_fileName);
        if (midi && info.size() > kMaxMidiBytes)
            return fail(QStringLiteral("'%1' は MIDI ファイルとして大きすぎます").arg(m_fileName));
        if (midi) {
            const QString problem = midiProblem(m_fileName);
            if (!problem.isEmpty())
                return fail(problem);
        }
        if (!startAudio())
            return false;
        // Loading a MIDI file loads the whole sound font; the file loaded last
        // is kept while it stays unchanged, so that playing it again is quick.
        const QDateTime modified = info.lastModified();
        if (!m_loaded || m_loadedPath != info.absoluteFilePath() || m_loadedSize != info.size()
            || m_loadedModified != modified) {
            dropLoaded();
            Mix_Music* music = Mix_LoadMUS(QFile::encodeName(m_fileName).constData());
            if (!music) {
                QString text = sdlError();
                if (midi && generalMidiSoundFont().isEmpty())
                    text += QStringLiteral("\nGeneral MIDI の音色ファイル (fluid-soundfont-gm) が見つかりません");
                return fail(text);
            }
            m_loaded = music;
            m_loadedPath = info.absoluteFilePath();
            m_loadedSize = info.size();
            m_loadedModified = modified;
        }
        m_open = true;
        m_started = false;
        return true;
    }

    void close() override
    {
        if (!m_open)
            return;
        if (m_started)
            Mix_HaltMusic();
        m_open = false;
        m_started = false;
    }

    bool seekToStart() override
    {
        if (!m_open)
            return fail(kNoMediaDevice);
        if (m_started && Mix_PlayingMusic())
            Mix_RewindMusic();
        return true;
    }

    bool play() override
    {
        if (!m_open)
            return fail(kNoMediaDevice);
        if (Mix_PlayMusic(m_loaded, 0) != 0)
            return fail(sdlError());
        m_started = true;
        return true;
    }

    bool pause() override
    {
        if (!m_open)
            return fail(kNoMediaDevice);
        switch (mode()) {
        case Mode::Paused: Mix_ResumeMusic(); break;
        case Mode::Playing: Mix_PauseMusic(); break;
        default: break;
        }
        return true;
    }

    Mode mode() const override
    {
        if (!m_open)
            return Mode::NotOpen;
        if (!m_started)
            return Mode::Stopped;
        if (Mix_PausedMusic())
            return Mode::Paused;
        return Mix_PlayingMusic() ? Mode::Playing : Mode::Stopped;
    }

    double position() const override
    {
        if (!m_open || !m_started)
            return 0.0;
        return Mix_GetMusicPosition(m_loaded);
    }

    QString errorText() const override { return m_error; }

private:
    bool fail(const QString& text)
    {
        m_error = text;
        return false;
    }

    bool startAudio()
    {
        if (!m_sdlInit) {
            SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
            const QString font = generalMidiSoundFont();
            if (!font.isEmpty() && qEnvironmentVariableIsEmpty("SDL_SOUNDFONTS"))
                qputenv("SDL_SOUNDFONTS", QFile::encodeName(font));
            if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
                return fail(sdlError());
            m_sdlInit = true;
            Mix_Init(MIX_INIT_MID);
            if (!font.isEmpty())
                Mix_SetSoundFonts(QFile::encodeName(font).constData());
        }
        if (!m_audioOpen) {
            if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) != 0)
                return fail(sdlError());
            m_audioOpen = true;
        }
        return true;
    }

    void dropLoaded()
    {
        if (!m_loaded)
            return;
        Mix_HaltMusic();
        Mix_FreeMusic(m_loaded);
        m_loaded = nullptr;
        m_loadedPath.clear();
    }

    QString m_fileName;
    QString m_error;
    bool m_sdlInit = false;
    bool m_audioOpen = false;
    bool m_open = false;
    bool m_started = false;
    Mix_Music* m_loaded = nullptr;
    QString m_loadedPath;
    qint64 m_loadedSize = -1;
    QDateTime m_loadedModified;
};

} // namespace

std::unique_ptr<MediaPlayer> makeSdlMediaPlayer()
{
    return std::make_unique<SdlMediaPlayer>();
}

QString generalMidiSoundFont()
{
    const QString set = qEnvironmentVariable("SDL_SOUNDFONTS");
    if (!set.isEmpty()) {
        for (const QString& p : set.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            if (QFileInfo(p).isFile())
                return p;
    }
    static const char* const places[] = {
        "/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
        "/usr/share/soundfonts/default.sf2",    "/usr/share/soundfonts/FluidR3_GM.sf2",
        "/usr/share/sounds/sf3/default-GM.sf3", "/usr/share/sounds/sf2/TimGM6mb.sf2",
    };
    for (const char* p : places) {
        const QString path = QString::fromLatin1(p);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}
