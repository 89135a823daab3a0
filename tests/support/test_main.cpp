// Shared main() of every test program: a headless QApplication, then the tests.
// A program run with QN4_TEST_DISPLAY=xvfb gets a private X server instead
// (Xvfb on a display it picks itself), for tests that read what the window
// system receives.
#include <QApplication>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

pid_t g_xserver = 0;

void stopXServer()
{
    if (g_xserver > 0) {
        kill(g_xserver, SIGTERM);
        waitpid(g_xserver, nullptr, 0);
        g_xserver = 0;
    }
}

// Starts Xvfb and points DISPLAY and Qt at it; false when it cannot start.
bool startXServer()
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    g_xserver = pid;
    std::string display;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        display += c;
    close(fds[0]);
    if (display.empty()) {
        stopXServer();
        return false;
    }
    qputenv("DISPLAY", QByteArray(":") + display.c_str());
    qputenv("QT_QPA_PLATFORM", "xcb");
    std::atexit(stopXServer);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
    if (!listing && qEnvironmentVariable("QN4_TEST_DISPLAY") == QLatin1String("xvfb")) {
        if (!startXServer()) {
            std::fprintf(stderr, "Xvfb could not be started\n");
            return 1;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || listing)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    ::testing::InitGoogleTest(&argc, argv);
    int result = 0;
    {
        // The application lets go of the X server before the server goes:
        // the other way round its connection breaks and the program exits
        // with a failure after every test passed.
        QApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    stopXServer();
    return result;
}
