#include "builders/sound/tfmmusic.h"

#include "app/icons.h"
#include "builders/sound/tfmmoption.h"
#include "platform/mediaplayer.h"
#include "platform/prompts.h"
#include "platform/textpanel.h"
#include "platform/widgetnames.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kOpenFilter =
    QStringLiteral("ｻﾎﾟｰﾄﾌｧｲﾙ(*.mid;*.wav)|*.mid;*.wav|WAVEﾌｧｲﾙ(*.wav)|*.wav|MIDIｼーｹﾝｻ|*.mid");
const QString kStopped = QStringLiteral("停止");
const QString kPlaying = QStringLiteral("再生");
const QString kPausedText = QStringLiteral("一時停止");

} // namespace

TFmMusic::TFmMusic(Prompts& prompts, EditorPort& editor, std::unique_ptr<MediaPlayer> player,
                   QWidget* parent)
    : TFmTagBuilder(prompts, editor, parent), m_player(std::move(player))
{
    setObjectName(QStringLiteral("FmMusic"));
    setWindowTitle(QStringLiteral("ｻｳﾝﾄﾞﾋﾞﾙﾀﾞｰ"));

    QStyle* style = QApplication::style();
    auto themed = [](const char* theme, const char* own) {
        return themedIcon(QLatin1String(theme), QLatin1String(own));
    };
    auto button = [&](const char* name, const QString& caption, const QIcon& icon) {
        return commandButton(name, caption, icon, 52);
    };
    // The playback buttons take the theme's media icons, else the style's.
    auto media = [&](const char* theme, QStyle::StandardPixmap fallback) {
        return QIcon::fromTheme(QLatin1String(theme), style->standardIcon(fallback));
    };
    m_btnMusic = button("BtnMusic", QStringLiteral("開く"), themed("document-open", "open"));
    m_copy = button("SpeedButton2", QStringLiteral("ｺﾋﾟｰ"), themed("edit-copy", "copy"));
    m_paste = button("MusicPaste", QStringLiteral("挿入"), themed("edit-paste", "paste"));
    m_loopSet = button("BtnLoopSet", QStringLiteral("設定"), bundledIcon(QStringLiteral("settings")));
    m_play = button("BtnPlay", kPlaying, media("media-playback-start", QStyle::SP_MediaPlay));
    m_pause = button("BtnPause", kPausedText, media("media-playback-pause", QStyle::SP_MediaPause));
    m_stop = button("BtnStop", kStopped, media("media-playback-stop", QStyle::SP_MediaStop));
    m_paste->setEnabled(false);

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(2, 2, 2, 0);
    top->setSpacing(2);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(0);
    for (QToolButton* b : {m_btnMusic, m_copy, m_paste, m_loopSet, m_play, m_pause, m_stop})
        buttons->addWidget(b);
    auto* decoration = named(new QLabel(this), "Image1");
    decoration->setPixmap(bundledIcon(QStringLiteral("sound")).pixmap(16, 16));
    buttons->addWidget(decoration);
    buttons->addStretch();
    top->addLayout(buttons);

    // A long file name is cut in its middle so that LOOP stays in sight; the
    // whole tag stays in the tool tip and the accessible name.
    m_musicPanel = sunkenPanel(QStringLiteral("MusicPanel"), this, SoundTag::closedTag());
    setTagPanel(m_musicPanel);
    m_musicPanel->setElideMode(Qt::ElideMiddle);
    m_musicPanel->setBackgroundRole(QPalette::ToolTipBase);
    m_musicPanel->setForegroundRole(QPalette::ToolTipText);
    top->addWidget(m_musicPanel);

    m_status = named(new QStatusBar(this), "StatusBar1");
    m_status->setSizeGripEnabled(false);
    m_formPanel = new TextPanel(QStringLiteral("StatusPanel0"), m_status,
                                QStringLiteral("  音声再生タグ：<BGSOUND SRC=\"演奏ﾌｧｲﾙ\" LOOP=\"ﾙｰﾌﾟ回数\">"));
    m_formPanel->setElideMode(Qt::ElideRight);
    m_formPanel->setFixedWidth(370);
    m_statePanel = new TextPanel(QStringLiteral("StatusPanel1"), m_status, kStopped);
    m_statePanel->setAlignment(Qt::AlignCenter);
    m_statePanel->setMinimumWidth(50);
    m_status->addWidget(m_formPanel);
    m_status->addWidget(m_statePanel, 1);
    top->addWidget(m_status);

    setFixedSize(455, 90);

    connect(m_btnMusic, &QToolButton::clicked, this, &TFmMusic::BtnMusicClick);
    connect(m_copy, &QToolButton::clicked, this, &TFmMusic::SpeedButton2Click);
    connect(m_paste, &QToolButton::clicked, this, &TFmMusic::MusicPasteClick);
    connect(m_loopSet, &QToolButton::clicked, this, &TFmMusic::BtnLoopSetClick);
    connect(m_play, &QToolButton::clicked, this, &TFmMusic::BtnPlayClick);
    connect(m_pause, &QToolButton::clicked, this, &TFmMusic::BtnPauseClick);
    connect(m_stop, &QToolButton::clicked, this, &TFmMusic::BtnStopClick);

    // FormCreate: nothing to play yet.
    setButtons(false, false, false);
}

TFmMusic::~TFmMusic()
{
    m_player->close();
}

QString TFmMusic::tagText() const
{
    return m_musicPanel->text();
}

QString TFmMusic::playState() const
{
    return m_statePanel->text();
}

void TFmMusic::setButtons(bool play, bool pause, bool stop)
{
    m_play->setEnabled(play);
    m_pause->setEnabled(pause);
    m_stop->setEnabled(stop);
}

void TFmMusic::stopPlayback()
{
    m_player->close();
    m_paused = false;
    // The buttons and the state panel must not go on showing a playback
    // that closing the device has just ended.
    if (m_pause->isEnabled() || m_stop->isEnabled()) {
        setButtons(true, false, false);
        m_statePanel->setText(kStopped);
    }
}

void TFmMusic::showTag()
{
    m_musicPanel->setText(m_tag.tag(m_soundFile));
}

// ------------------------------------------------------------------ handlers

void TFmMusic::BtnMusicClick()
{
    stopPlayback();
    Prompts::FileRequest req;
    req.filter = kOpenFilter;
    Prompts::FileAnswer a;
    modal([&] { a = m_prompts.openFile(this, req); });
    if (!a.accepted || a.path.isEmpty())
        return;
    setButtons(true, false, false);
    m_player->setFileName(a.path);
    m_soundFile = a.path;
    showTag();
}

void TFmMusic::FormActivate()
{
    if (m_soundFile.isEmpty())
        return;
    stopPlayback();
    setButtons(true, false, false);
    m_player->setFileName(m_soundFile);
    showTag();
}

void TFmMusic::BtnPlayClick()
{
    setButtons(false, true, true);
    // A pause that outlived the sound (it ended by itself meanwhile) has
    // nothing to resume: the sound starts again.
    if (m_paused && m_player->mode() == MediaPlayer::Mode::Paused) {
        if (!m_player->pause()) {
            showError(m_player->errorText());
            return;
        }
        m_paused = false;
    } else {
        m_paused = false;
        m_player->close();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const bool started = m_player->open() && m_player->seekToStart() && m_player->play();
        QApplication::restoreOverrideCursor();
        if (!started) {
            showError(m_player->errorText());
            return;
        }
    }
    m_statePanel->setText(kPlaying);
}

void TFmMusic::BtnPauseClick()
{
    setButtons(true, false, true);
    if (!m_player->pause()) {
        showError(m_player->errorText());
        return;
    }
    m_paused = true;
    m_statePanel->setText(kPausedText);
}

void TFmMusic::BtnStopClick()
{
    setButtons(true, false, false);
    m_player->close();
    m_paused = false;
    m_statePanel->setText(kStopped);
}

void TFmMusic::BtnLoopSetClick()
{
    TFmMoption dialog(m_tag, m_prompts, this);
    runOptionDialog(dialog, QPoint(150, 65));
    showTag();
}

// ------------------------------------------------------------------ events

void TFmMusic::closeEvent(QCloseEvent* event)
{
    setButtons(false, false, false);
    m_soundFile.clear();
    m_player->close();
    m_paused = false;
    m_statePanel->setText(kStopped);
    m_musicPanel->setText(SoundTag::closedTag());
    event->ignore();
    hide();
    m_activation.hidden();
    emit closed();
}
