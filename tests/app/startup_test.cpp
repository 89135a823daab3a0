// The splash builds the main window and goes away by its own timer.
#include "composition.h"
#include "app/tfmtitle.h"
#include "app/tfmver.h"
#include "support/mainwindow.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTimer>

using Startup = MainWindowTest;

TEST_F(Startup, SplashBuildsTheMainWindowAndHoldsTwoSeconds)
{
    TFmMain::Options o;
    o.compose = composeUnits;
    o.settingsPath = iniPath();
    o.clock = &clock;
    QPointer<TFmTitle> splash = new TFmTitle(prompts, o);
    std::unique_ptr<TFmMain> main(splash->mainWindow());
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->size(), QSize(300, 199));
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(splash->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(TFmTitle::picture().size(), QSize(300, 199));
    auto* timer = splash->findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 2000);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the hourglass is gone";
    // The timer's tick closes and destroys the splash; the main window stays.
    QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull());
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Quillnest4"));
}

TEST(VersionWindow, LabelsInTheirPlaces)
{
    TFmVer v;
    EXPECT_EQ(v.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(v.size(), QSize(270, 291));
    QStringList texts;
    for (QLabel* l : v.findChildren<QLabel*>())
        texts << l->text();
    EXPECT_EQ(texts.value(0), QStringLiteral("Brightfern"));
    EXPECT_EQ(texts.value(1), QStringLiteral("Quillnest4"));
    EXPECT_EQ(texts.value(2), QStringLiteral("Quillnest Ver4.0"));
    EXPECT_TRUE(texts.contains(QStringLiteral("1999.05.06 ")));
    EXPECT_EQ(texts.last(), QStringLiteral("=Product Type="));
    auto* product = v.findChild<QLabel*>("LabelProduct");
    EXPECT_EQ(product->font().pixelSize(), 29);
    EXPECT_TRUE(product->font().bold());
}
