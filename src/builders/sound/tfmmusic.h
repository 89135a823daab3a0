#pragma once
// "ｻｳﾝﾄﾞﾋﾞﾙﾀﾞｰ": the sound builder window.  It opens a MIDI or WAVE file,
// plays, pauses, resumes and stops it, sets the loop count in its loop
// dialog, shows <BGSOUND SRC="name" LOOP="count"> and copies or inserts it.
// Each time the window becomes active it stops playback and prepares its
// file again.  Closing hides the window and forgets the file.

#include "builders/sound/soundtag.h"
#include "builders/builderunit.h"

#include <memory>

class EditorPort;
class MediaPlayer;
class Prompts;
class QLabel;
class QStatusBar;
class QToolButton;
class TextPanel;

class TFmMusic : public TFmTagBuilder {
    Q_OBJECT
public:
    TFmMusic(Prompts& prompts, EditorPort& editor, std::unique_ptr<MediaPlayer> player,
             QWidget* parent = nullptr);
    ~TFmMusic() override;

    // Handlers, public so that the program and tests can drive them.
    void BtnMusicClick();
    void SpeedButton2Click() { copyTag(); }      // ｺﾋﾟｰ
    void MusicPasteClick() { insertTag(); }
    void BtnLoopSetClick();
    void BtnPlayClick();
    void BtnPauseClick();
    void BtnStopClick();
    void FormActivate() override;

    // The sound the next activation prepares (the file panel's hand-over;
    // empty from the window's own command).  That activation counts, even
    // right after one of the window's dialogs or messages.
    void setSoundFile(const QString& path)
    {
        m_soundFile = path;
        m_activation.handOver();
    }
    const QString& soundFile() const { return m_soundFile; }
    const SoundTag& values() const { return m_tag; }
    bool paused() const { return m_paused; }
    MediaPlayer& Multi() const { return *m_player; }
    QString tagText() const;
    QString playState() const;     // the second status panel

    QToolButton* BtnMusic() const { return m_btnMusic; }
    QToolButton* SpeedButton2() const { return m_copy; }
    QToolButton* MusicPaste() const { return m_paste; }
    QToolButton* BtnLoopSet() const { return m_loopSet; }
    QToolButton* BtnPlay() const { return m_play; }
    QToolButton* BtnPause() const { return m_pause; }
    QToolButton* BtnStop() const { return m_stop; }
    TextPanel* MusicPanel() const { return m_musicPanel; }
    QStatusBar* StatusBar1() const { return m_status; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setButtons(bool play, bool pause, bool stop);
    // Closes the device; when that ended playback the window shows it stopped.
    void stopPlayback();
    void showTag();

    std::unique_ptr<MediaPlayer> m_player;
    SoundTag m_tag;
    QString m_soundFile;
    bool m_paused = false;

    QToolButton* m_btnMusic = nullptr;
    QToolButton* m_copy = nullptr;
    QToolButton* m_paste = nullptr;
    QToolButton* m_loopSet = nullptr;
    QToolButton* m_play = nullptr;
    QToolButton* m_pause = nullptr;
    QToolButton* m_stop = nullptr;
    TextPanel* m_musicPanel = nullptr;
    QStatusBar* m_status = nullptr;
    TextPanel* m_formPanel = nullptr;
    TextPanel* m_statePanel = nullptr;
};
