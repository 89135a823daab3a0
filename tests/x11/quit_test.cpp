// Quitting the program with several builders open, as a user does it: the
// built binary on the private X server, builders opened through the Tools
// menu's keys, then a close request from the window system (what the close
// box and Alt+F4 send) or the File menu's end key.  The program must end by
// itself; a cancelled save question must close nothing.
#include "x11/program.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <X11/Xlib.h>   // last: it defines plain macros (None, Bool, Status)
#include <dlfcn.h>

using namespace x11;

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

const QStringList kBuilders{QStringLiteral("ﾃｰﾌﾞﾙﾋﾞﾙﾀﾞｰ"), QStringLiteral("ﾘｽﾄﾋﾞﾙﾀﾞｰ"),
                            QStringLiteral("ｲﾒｰｼﾞﾋﾞﾙﾀﾞｰ"), QStringLiteral("ｻｳﾝﾄﾞﾋﾞﾙﾀﾞｰ")};
// Their keys in the Tools menu ("ﾂｰﾙ(&T)"), in the same order.
const QStringList kBuilderKeys{QStringLiteral("t"), QStringLiteral("l"), QStringLiteral("v"),
                               QStringLiteral("s")};

// The window with this exact name that is on screen, or "".
QString shownWindow(const QString& name)
{
    return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                    QLatin1Char('^') + QRegularExpression::escape(name) + QLatin1Char('$')})
        .split(u'\n')
        .value(0);
}

// Asks a window to close the way a window manager does (WM_DELETE_WINDOW).
// There is no window manager on the private server, and xdotool's
// "windowclose" destroys the window instead of asking, so the message is sent
// here through Xlib, which the toolkit has loaded already.
bool requestClose(const QString& window)
{
    void* x11 = dlopen("libX11.so.6", RTLD_NOW);
    if (!x11)
        return false;
    auto open = reinterpret_cast<decltype(&XOpenDisplay)>(dlsym(x11, "XOpenDisplay"));
    auto atom = reinterpret_cast<decltype(&XInternAtom)>(dlsym(x11, "XInternAtom"));
    auto send = reinterpret_cast<decltype(&XSendEvent)>(dlsym(x11, "XSendEvent"));
    auto flush = reinterpret_cast<decltype(&XFlush)>(dlsym(x11, "XFlush"));
    auto closeDisplay = reinterpret_cast<decltype(&XCloseDisplay)>(dlsym(x11, "XCloseDisplay"));
    Display* display = open && atom && send && flush && closeDisplay ? open(nullptr) : nullptr;
    if (!display) {
        dlclose(x11);
        return false;
    }
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = Window(window.toULong());
    e.xclient.message_type = atom(display, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(atom(display, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    const bool sent = send(display, e.xclient.window, False, NoEventMask, &e) != 0;
    flush(display);
    closeDisplay(display);
    dlclose(x11);
    return sent;
}

class Quitting : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QProcessEnvironment env;
    QProcess program;
    QString main;

    void SetUp() override
    {
        const QString exe = copyProgram(dir, &env);
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        program.setProcessEnvironment(env);
        program.start(exe, {});
        ASSERT_TRUE(eventually([&] { return !(main = shownWindow(QStringLiteral("Quillnest4"))).isEmpty(); }))
            << "the main window did not show";
    }
    void TearDown() override
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
    }
    void keys(const QString& window, const QStringList& sequence)
    {
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        xdotool(QStringList{QStringLiteral("key")} + sequence);
    }
    // Opens every builder through the Tools menu.
    void openBuilders()
    {
        for (qsizetype i = 0; i < kBuilders.size(); ++i) {
            keys(main, {QStringLiteral("alt+t"), kBuilderKeys[i]});
            ASSERT_TRUE(eventually([&] { return !shownWindow(kBuilders[i]).isEmpty(); }))
                << kBuilders[i].toStdString() << " did not open";
        }
    }
    QStringList shownBuilders()
    {
        QStringList shown;
        for (const QString& b : kBuilders)
            if (!shownWindow(b).isEmpty())
                shown << b;
        return shown;
    }
    // The program ended by itself, well, with every window gone.
    void expectEnded()
    {
        EXPECT_TRUE(program.waitForFinished(15000))
            << "still running; builders on screen: " << shownBuilders().join(u' ').toStdString();
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_TRUE(shownBuilders().isEmpty());
    }
};

} // namespace

TEST_F(Quitting, ACloseRequestWithEveryBuilderOpenEndsTheProgram)
{
    openBuilders();
    ASSERT_EQ(shownBuilders().size(), kBuilders.size());
    ASSERT_TRUE(requestClose(main));
    expectEnded();
}

TEST_F(Quitting, TheEndKeyWithBuildersOpenEndsTheProgram)
{
    openBuilders();
    keys(main, {QStringLiteral("F12")});
    expectEnded();
}

TEST_F(Quitting, ACancelledSaveQuestionClosesNothing)
{
    keys(main, {QStringLiteral("F5"), QStringLiteral("x")});
    QString page;
    ASSERT_TRUE(eventually([&] { return !(page = shownWindow(QStringLiteral("Quillnest4 - Page1"))).isEmpty(); }));
    main = page;
    openBuilders();

    // The save question, answered Cancel.
    ASSERT_TRUE(requestClose(main));
    QString question;
    ASSERT_TRUE(eventually([&] { return !(question = shownWindow(QStringLiteral("Quillnest4"))).isEmpty(); }));
    keys(question, {QStringLiteral("Escape")});
    ASSERT_TRUE(eventually([&] { return shownWindow(QStringLiteral("Quillnest4")).isEmpty(); }));
    EXPECT_EQ(program.state(), QProcess::Running);
    EXPECT_EQ(shownWindow(QStringLiteral("Quillnest4 - Page1")), main);
    EXPECT_EQ(shownBuilders(), kBuilders);

    // Asked again and answered No: everything goes.
    ASSERT_TRUE(requestClose(main));
    ASSERT_TRUE(eventually([&] { return !(question = shownWindow(QStringLiteral("Quillnest4"))).isEmpty(); }));
    keys(question, {QStringLiteral("n")});
    expectEnded();
}
