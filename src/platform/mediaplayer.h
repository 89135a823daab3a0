#pragma once
// Playback of one MIDI or WAVE file for preview, in the manner of a media
// control device: give it a file name, open the device for that file (the
// kind of device follows from the file), seek to the start, play without
// waiting, pause and resume, close.  Failures leave their text in
// errorText(); nothing is shown from here.

#include <QString>
#include <memory>

class MediaPlayer {
public:
    enum class Mode { NotOpen, Stopped, Playing, Paused };

    virtual ~MediaPlayer() = default;

    virtual void setFileName(const QString& path) = 0;
    virtual QString fileName() const = 0;
    // Opens the device for the file; false with errorText() when it cannot.
    virtual bool open() = 0;
    // Stops playback and closes the device; harmless when nothing is open.
    virtual void close() = 0;
    // Seeks to the start and returns when the seek is done.
    virtual bool seekToStart() = 0;
    // Plays from the current position and returns at once.
    virtual bool play() = 0;
    // Pauses when playing, resumes when paused; fails with "MCI デバイスがありません"
    // when no device is open.
    virtual bool pause() = 0;
    virtual Mode mode() const = 0;
    // Seconds from the start, or a negative number when the kind of file
    // does not tell.
    virtual double position() const = 0;
    virtual QString errorText() const = 0;
};

// The text of the failure of pause() with no device open.
inline const QString kNoMediaDevice = QStringLiteral("MCI デバイスがありません");

// The real player: SDL2_mixer (WAVE natively, MIDI through its FluidSynth
// support with the General MIDI sound font found on the system).
std::unique_ptr<MediaPlayer> makeSdlMediaPlayer();

// The General MIDI sound font the MIDI device uses: SDL_SOUNDFONTS when set,
// else the first of the usual Debian places that exists; empty when none.
QString generalMidiSoundFont();
