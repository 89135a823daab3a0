// Sounds handed to the sound builder by double clicks in the file panel,
// with the builder's own messages and dialog in between, activation moving
// between the windows as the window system moves it.
#include "app/filepanel.h"
#include "builders/sound/soundunit.h"
#include "builders/sound/tfmmoption.h"
#include "builders/sound/tfmmusic.h"
#include "composition.h"
#include "platform/mediaplayer.h"

#include "support/handover.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QtEndian>
#include <array>

namespace {

// A WAVE file of a tenth of a second of silence (16-bit mono, 8 kHz).
QByteArray silence()
{
    const quint32 samples = 800;
    QByteArray b;
    auto u32 = [&](quint32 v) { v = qToLittleEndian(v); b.append(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](quint16 v) { v = qToLittleEndian(v); b.append(reinterpret_cast<const char*>(&v), 2); };
    b.append("RIFF");
    u32(36 + samples * 2);
    b.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(8000);
    u32(16000);
    u16(2);
    u16(16);
    b.append("data");
    u32(samples * 2);
    return b + QByteArray(int(samples * 2), '\0');
}

class SoundHandOver : public HandOverTest {
protected:
    void SetUp() override
    {
        makeSite();
        writeAll(site(QStringLiteral("fake.wav")), QByteArray("this is no sound at all"));
        writeAll(site(QStringLiteral("tone.wav")), silence());
        showWindowOnSite();
        clickMain();
    }

    TFmMusic* music() const { return unitsOf(*w)->sound->window(); }
    void doubleClick(const QString& name)
    {
        handOver(name);
        ASSERT_TRUE(becomesActive(music()));
    }
    // Play, pause and stop enabled?
    std::array<bool, 3> buttons() const
    {
        return {music()->BtnPlay()->isEnabled(), music()->BtnPause()->isEnabled(),
                music()->BtnStop()->isEnabled()};
    }
    static QString tag(const char* name) { return QStringLiteral("<BGSOUND SRC=\"%1\" LOOP=\"%2\">").arg(QLatin1String(name)); }
};

using Buttons = std::array<bool, 3>;

} // namespace

TEST_F(SoundHandOver, EveryHandOverCountsAfterTheBuildersOwnMessagesAndDialog)
{
    doubleClick(QStringLiteral("fake.wav"));
    EXPECT_EQ(music()->tagText(), tag("fake.wav").arg(QLatin1String("INFINITE")));

    // "再生" fails, OK; the focus goes to the main window.
    prompts.answerMessage(Prompts::Answer::Ok);
    QTest::mouseClick(music()->BtnPlay(), Qt::LeftButton);
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(buttons(), (Buttons{false, true, true}));
    clickMain();
    doubleClick(QStringLiteral("tone.wav"));
    EXPECT_EQ(music()->tagText(), tag("tone.wav").arg(QLatin1String("INFINITE")));
    EXPECT_EQ(buttons(), (Buttons{true, false, false}));
    EXPECT_EQ(music()->Multi().fileName(), site(QStringLiteral("tone.wav")));

    // The loop dialog, 5, 確定.
    prompts.answerDialog([](QDialog& d) {
        auto& m = static_cast<TFmMoption&>(d);
        m.show();
        EXPECT_TRUE(becomesActive(&m));
        QLineEdit* e = m.LoopEdit()->lineEdit();
        e->setFocus();
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(e, QStringLiteral("5"));
        QTest::mouseClick(m.BitBtn1(), Qt::LeftButton);
        return m.result();
    });
    QTest::mouseClick(music()->BtnLoopSet(), Qt::LeftButton);
    clickMain();
    doubleClick(QStringLiteral("fake.wav"));
    EXPECT_EQ(music()->tagText(), tag("fake.wav").arg(5));
    EXPECT_EQ(buttons(), (Buttons{true, false, false}));
}
