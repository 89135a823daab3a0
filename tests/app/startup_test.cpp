// The splash builds the main window and goes away by its own timer.
#include "composition.h"
#include "app/startup.h"
#include "app/tfmtitle.h"
#include "app/settings.h"
#include "app/tfmver.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>

using StartupTest = MainWindowTest;

TEST_F(StartupTest, SplashBuildsTheMainWindowAndHoldsTwoSeconds)
{
    TFmMain::Options o;
    o.compose = composeUnits;
    o.settingsPath = iniPath();
    o.clock = &clock;
    QPointer<TFmTitle> splash = new TFmTitle(prompts, o);
    std::unique_ptr<TFmMain> main = splash->takeMainWindow();
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

TEST(CommandLine, TheToolkitSeesOnlyWhatComesBeforeTheFirstDoubleDash)
{
    QByteArray args[] = {"quillnest4", "a.htm", "-reverse", "--", "-reverse",
                         "-qwindowtitle", "-x.htm", "--", "caf\xc3\xa9.htm"};
    char* argv[std::size(args) + 1];
    for (size_t i = 0; i < std::size(args); ++i)
        argv[i] = args[i].data();
    argv[std::size(args)] = nullptr;
    CommandLine line(int(std::size(args)), argv);
    ASSERT_EQ(line.toolkitArgc(), 3);
    EXPECT_STREQ(line.toolkitArgv()[0], "quillnest4");
    EXPECT_STREQ(line.toolkitArgv()[2], "-reverse");
    EXPECT_EQ(line.toolkitArgv()[3], nullptr);
    // What the toolkit left of its part (it took "-reverse"), then the rest.
    EXPECT_EQ(line.files({QStringLiteral("quillnest4"), QStringLiteral("a.htm")}),
              (QStringList{"a.htm", "-reverse", "-qwindowtitle", "-x.htm", "--",
                           QStringLiteral("caf\u00e9.htm")}));

    char* alone[] = {args[0].data(), args[1].data(), nullptr};
    CommandLine plain(2, alone);
    EXPECT_EQ(plain.toolkitArgc(), 2);
    EXPECT_EQ(plain.files({QStringLiteral("quillnest4"), QStringLiteral("a.htm")}),
              QStringList{QStringLiteral("a.htm")});
}

// Whatever size the settings file holds, the window starts on its screen,
// whole, and what is written back is a size that fits.
TEST_F(StartupTest, AStoredSizeIsFittedToTheScreen)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QByteArray sizes[][2] = {{"2147483647", "2147483647"}, {"-2147483648", "0"},
                                   {"0", "-7"},                  {"20000", "1"},
                                   {"-1", "99999"}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(size[0].toStdString() + " x " + size[1].toStdString());
        ASSERT_TRUE(writeAll(iniPath(), "[Size]\r\nX=" + size[0] + "\r\nY=" + size[1] + "\r\n"));
        TFmMain::Options o;
        o.compose = composeUnits;
        o.settingsPath = iniPath();
        o.exeDir = dir.path();
        o.clock = &clock;
        {
            ::Startup startup(prompts, o);
            TFmMain& m = *startup.mainWindow();
            QApplication::processEvents();
            EXPECT_TRUE(area.contains(m.frameGeometry())) << m.frameGeometry().width() << "x"
                                                          << m.frameGeometry().height();
            EXPECT_GE(m.width(), std::min(Startup::kMinimumSize.width(), area.width()));
            EXPECT_GE(m.height(), std::min(Startup::kMinimumSize.height(), area.height()));
            ASSERT_TRUE(m.close());
            for (QWidget* splash : QApplication::topLevelWidgets())
                if (qobject_cast<TFmTitle*>(splash))
                    delete splash;
        }
        const Settings back = loadSettingsFile(iniPath());
        EXPECT_GE(back.sizeX, std::min(Startup::kMinimumSize.width(), area.width()));
        EXPECT_LE(back.sizeX, area.width());
        EXPECT_GE(back.sizeY, std::min(Startup::kMinimumSize.height(), area.height()));
        EXPECT_LE(back.sizeY, area.height());
    }
}
