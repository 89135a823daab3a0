// The sound builder, played for real through SDL2_mixer (the tests run with
// SDL_AUDIODRIVER=dummy) on MIDI and WAVE files written here.
#include "builders/sound/tfmmoption.h"
#include "builders/sound/tfmmusic.h"
#include "platform/mediaplayer.h"

#include "support/fakeeditorport.h"
#include "support/scriptedprompts.h"
#include "support/testfiles.h"
#include "support/typing.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QtEndian>
#include <gtest/gtest.h>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

// A WAVE file: 16-bit mono at 44.1 kHz, a square wave of `seconds`.
QByteArray wave(double seconds)
{
    const int rate = 44100;
    const int samples = int(rate * seconds);
    QByteArray b;
    auto u32 = [&](quint32 v) { v = qToLittleEndian(v); b.append(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](quint16 v) { v = qToLittleEndian(v); b.append(reinterpret_cast<const char*>(&v), 2); };
    b.append("RIFF");
    u32(quint32(36 + samples * 2));
    b.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    b.append("data");
    u32(quint32(samples * 2));
    for (int i = 0; i < samples; ++i)
        u16(quint16((i / 50) % 2 ? 4000 : -4000));
    return b;
}

// A standard MIDI file (format 0, 480 ticks a quarter): `notes` quarter notes.
QByteArray midi(int notes)
{
    QByteArray track;
    for (int k = 0; k < notes; ++k) {
        const char note = char(60 + k % 12);
        track.append("\x00\x90", 2).append(note).append('\x64');
        track.append("\x83\x60\x80", 3).append(note).append('\x00');
    }
    track.append("\x00\xFF\x2F\x00", 4);
    QByteArray b("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0", 14);
    b.append("MTrk");
    const quint32 n = qToBigEndian(quint32(track.size()));
    b.append(reinterpret_cast<const char*>(&n), 4);
    return b + track;
}

// Waits until `f` holds, up to `ms`.
template <class F>
bool within(int ms, F f)
{
    QElapsedTimer t;
    t.start();
    while (!f()) {
        if (t.elapsed() > ms)
            return false;
        QTest::qWait(20);
    }
    return true;
}

class SoundFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeAll(path("bgm.wav"), wave(4.0));
        writeAll(path("song.mid"), midi(16));
        writeAll(path("broken.mid"), QByteArray("this is no sound at all"));
        writeAll(path("cut.mid"), midi(16).left(40));
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

using MediaPlayerTest = SoundFiles;

} // namespace

TEST_F(MediaPlayerTest, PlaysPausesResumesAndClosesWaveAndMidi)
{
    std::unique_ptr<MediaPlayer> p = makeSdlMediaPlayer();
    EXPECT_FALSE(p->pause());
    EXPECT_EQ(p->errorText(), QStringLiteral("MCI デバイスがありません"));

    p->setFileName(path("bgm.wav"));
    ASSERT_TRUE(p->open()) << p->errorText().toStdString();
    ASSERT_TRUE(p->seekToStart());
    ASSERT_TRUE(p->play());
    EXPECT_EQ(p->mode(), MediaPlayer::Mode::Playing);
    ASSERT_TRUE(within(3000, [&] { return p->position() > 0.3; }));
    ASSERT_TRUE(p->pause());
    EXPECT_EQ(p->mode(), MediaPlayer::Mode::Paused);
    const double at = p->position();
    QTest::qWait(300);
    EXPECT_EQ(p->position(), at);
    ASSERT_TRUE(p->pause());   // resumes
    EXPECT_EQ(p->mode(), MediaPlayer::Mode::Playing);
    EXPECT_TRUE(within(3000, [&] { return p->position() > at + 0.1; }));
    p->close();
    EXPECT_EQ(p->mode(), MediaPlayer::Mode::NotOpen);

    if (generalMidiSoundFont().isEmpty())
        GTEST_SKIP() << "no General MIDI sound font installed";
    p->setFileName(path("song.mid"));
    ASSERT_TRUE(p->open()) << p->errorText().toStdString();
    ASSERT_TRUE(p->seekToStart() && p->play());
    EXPECT_EQ(p->mode(), MediaPlayer::Mode::Playing);
    ASSERT_TRUE(p->pause());
    EXPECT_EQ(p->mode(), MediaPlayer::Mode::Paused);
    p->close();

    for (const char* bad : {"broken.mid", "cut.mid", "missing.wav"}) {
        p->setFileName(path(bad));
        EXPECT_FALSE(p->open()) << bad;
        EXPECT_FALSE(p->errorText().isEmpty());
        EXPECT_EQ(p->mode(), MediaPlayer::Mode::NotOpen);
    }
}

namespace {

class SoundBuilder : public SoundFiles {
protected:
    void SetUp() override
    {
        SoundFiles::SetUp();
        activate();
    }
    void TearDown() override { EXPECT_TRUE(prompts.exhausted()) << "scripted answers left unused"; }

    void activate()
    {
        music.show();
        music.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&music));
    }

    void comeBack()
    {
        QWidget other;
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
        activate();
    }

    void open(const char* name)
    {
        prompts.answerOpen(path(name));
        click(music.BtnMusic());
    }

    static void click(QToolButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

    // Play, pause and stop enabled?
    std::array<bool, 3> buttons() const
    {
        return {music.BtnPlay()->isEnabled(), music.BtnPause()->isEnabled(), music.BtnStop()->isEnabled()};
    }

    // The loop dialog: types the entry and confirms (cancels after a refusal).
    void setLoop(const QString& text, bool refused = false, bool touch = true)
    {
        if (refused)
            prompts.answerMessage(Prompts::Answer::Ok);
        prompts.answerDialog([=](QDialog& d) {
            auto& m = static_cast<TFmMoption&>(d);
            m.show();
            if (touch) {
                QLineEdit* e = m.LoopEdit()->lineEdit();
                e->setFocus();
                QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(e, Qt::Key_Delete);
                typeText(e, text);
            }
            QTest::mouseClick(m.BitBtn1(), Qt::LeftButton);
            if (refused)
                QTest::mouseClick(m.BitBtn2(), Qt::LeftButton);
            return m.result();
        });
        click(music.BtnLoopSet());
    }

    ScriptedPrompts prompts;
    FakeEditorPort sink;
    TFmMusic music{prompts, sink, makeSdlMediaPlayer()};
};

using Buttons = std::array<bool, 3>;

} // namespace

TEST_F(SoundBuilder, PlayPauseResumeStopFollowTheStateMachine)
{
    EXPECT_EQ(buttons(), (Buttons{false, false, false}));
    EXPECT_EQ(music.playState(), QStringLiteral("停止"));
    open("bgm.wav");
    EXPECT_EQ(music.tagText(), QStringLiteral("<BGSOUND SRC=\"bgm.wav\" LOOP=\"INFINITE\">"));
    EXPECT_EQ(buttons(), (Buttons{true, false, false}));

    click(music.BtnPlay());
    EXPECT_EQ(buttons(), (Buttons{false, true, true}));
    EXPECT_EQ(music.playState(), QStringLiteral("再生"));
    ASSERT_TRUE(within(3000, [&] { return music.Multi().position() > 0.5; }));

    click(music.BtnPause());
    EXPECT_EQ(buttons(), (Buttons{true, false, true}));
    EXPECT_EQ(music.playState(), QStringLiteral("一時停止"));
    const double pausedAt = music.Multi().position();
    QTest::qWait(200);
    EXPECT_EQ(music.Multi().position(), pausedAt);

    // Play after pause resumes where the sound stopped.
    click(music.BtnPlay());
    EXPECT_EQ(music.Multi().mode(), MediaPlayer::Mode::Playing);
    EXPECT_GE(music.Multi().position(), pausedAt);
    EXPECT_EQ(music.playState(), QStringLiteral("再生"));

    click(music.BtnStop());
    EXPECT_EQ(buttons(), (Buttons{true, false, false}));
    EXPECT_EQ(music.playState(), QStringLiteral("停止"));
    EXPECT_EQ(music.Multi().mode(), MediaPlayer::Mode::NotOpen);

    // Play after stop starts from the beginning, also after a pause.
    click(music.BtnPlay());
    EXPECT_LT(music.Multi().position(), pausedAt);
    click(music.BtnPause());
    click(music.BtnStop());
    click(music.BtnPlay());
    EXPECT_EQ(music.Multi().mode(), MediaPlayer::Mode::Playing);
    EXPECT_FALSE(music.paused());
    click(music.BtnStop());
}

TEST_F(SoundBuilder, ComingBackToTheWindowOrOpeningAnotherFileStopsPlayback)
{
    open("bgm.wav");
    click(music.BtnPlay());
    comeBack();
    EXPECT_EQ(music.Multi().mode(), MediaPlayer::Mode::NotOpen);
    EXPECT_EQ(buttons(), (Buttons{true, false, false}));
    EXPECT_EQ(music.playState(), QStringLiteral("停止"));

    click(music.BtnPlay());
    click(music.BtnPause());
    prompts.cancelOpen();
    click(music.BtnMusic());   // cancelled, but playback has stopped
    EXPECT_EQ(music.Multi().mode(), MediaPlayer::Mode::NotOpen);
    EXPECT_FALSE(music.paused());
    EXPECT_EQ(buttons(), (Buttons{true, false, false}));
    EXPECT_EQ(music.playState(), QStringLiteral("停止"));
}

TEST_F(SoundBuilder, MidiPlaysThroughTheSoundFontAndDamagedFilesAreReported)
{
    if (generalMidiSoundFont().isEmpty())
        GTEST_SKIP() << "no General MIDI sound font installed";
    open("song.mid");
    click(music.BtnPlay());
    EXPECT_EQ(music.Multi().mode(), MediaPlayer::Mode::Playing);
    EXPECT_TRUE(prompts.messages().isEmpty());
    click(music.BtnStop());

    open("broken.mid");
    prompts.answerMessage(Prompts::Answer::Ok);
    click(music.BtnPlay());
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_FALSE(prompts.messages().back().isEmpty());
    // The buttons stay as the play step set them; pausing with no device is
    // the device's own complaint.
    EXPECT_EQ(buttons(), (Buttons{false, true, true}));
    EXPECT_EQ(music.playState(), QStringLiteral("停止"));
    prompts.answerMessage(Prompts::Answer::Ok);
    click(music.BtnPause());
    EXPECT_EQ(prompts.messages().back(), QStringLiteral("MCI デバイスがありません"));
    EXPECT_FALSE(music.paused());
}

TEST_F(SoundBuilder, LoopDialogAndTheTagsItShapes)
{
    // Before any file: an empty name.
    setLoop(QStringLiteral("5"));
    EXPECT_EQ(music.tagText(), QStringLiteral("<BGSOUND SRC=\"\" LOOP=\"5\">"));
    setLoop(QStringLiteral("05"));
    EXPECT_EQ(music.values().loop(), QStringLiteral("5"));
    setLoop({}, false, false);   // confirmed untouched
    EXPECT_EQ(music.values().loop(), QStringLiteral("5"));
    setLoop(QStringLiteral("many"), true);
    EXPECT_EQ(prompts.messages().back(), QStringLiteral("'many' は数値ではありません"));
    EXPECT_EQ(music.values().loop(), QStringLiteral("5"));

    open("bgm.wav");
    EXPECT_EQ(music.tagText(), QStringLiteral("<BGSOUND SRC=\"bgm.wav\" LOOP=\"5\">"));
    click(music.SpeedButton2());
    EXPECT_EQ(QApplication::clipboard()->text(), music.tagText());
    click(music.MusicPaste());   // disabled until the document switch turns it on
    EXPECT_TRUE(sink.inserted.isEmpty());

    // Closing forgets the file and shows the default loop; the loop value stays.
    music.close();
    EXPECT_EQ(music.tagText(), QStringLiteral("<BGSOUND SRC=\"\" LOOP=\"INFINITE\">"));
    EXPECT_EQ(buttons(), (Buttons{false, false, false}));
    activate();
    open("bgm.wav");
    EXPECT_EQ(music.tagText(), QStringLiteral("<BGSOUND SRC=\"bgm.wav\" LOOP=\"5\">"));
    prompts.answerDialog([](QDialog& d) {
        EXPECT_EQ(static_cast<TFmMoption&>(d).LoopEdit()->currentText(), QStringLiteral("5"));
        return int(QDialog::Rejected);
    });
    click(music.BtnLoopSet());
    setLoop(SoundTag::infiniteEntry());
    EXPECT_EQ(music.tagText(), QStringLiteral("<BGSOUND SRC=\"bgm.wav\" LOOP=\"INFINITE\">"));
}
