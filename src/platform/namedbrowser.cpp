#include "platform/namedbrowser.h"

#include <QStandardPaths>

#include <cerrno>
#include <chrono>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// How long a browser has to fail "at once".  One that hands the address to
// a browser already running exits 0 within this time; that is success.
constexpr auto kGiveUpWindow = std::chrono::milliseconds(1500);

} // namespace

QStringList browserProgramsFor(const QString& service)
{
    if (service == QLatin1String("NSShell"))
        return {QStringLiteral("firefox"), QStringLiteral("firefox-esr")};
    if (service == QLatin1String("IExplore"))
        return {QStringLiteral("chromium"), QStringLiteral("google-chrome"),
                QStringLiteral("chromium-browser")};
    return {};
}

QString addressOfRequest(const QString& request)
{
    static const QString tail = QStringLiteral("\",,-1,,,,,");
    QString s = request;
    if (s.startsWith(u'"'))
        s.remove(0, 1);
    if (s.endsWith(tail))
        s.chop(tail.size());
    return s;
}

BrowserResult sendBrowserRequest(const BrowserRequest& r)
{
    QString program;
    for (const QString& name : browserProgramsFor(r.service)) {
        program = QStandardPaths::findExecutable(name);
        if (!program.isEmpty())
            break;
    }
    if (program.isEmpty())
        return BrowserResult::NotConnected;

    const QByteArray exe = program.toLocal8Bit();
    const QByteArray address = addressOfRequest(r.request).toLocal8Bit();
    std::vector<char*> argv{const_cast<char*>(exe.constData()),
                            const_cast<char*>(address.constData()), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, exe.constData(), nullptr, nullptr, argv.data(), environ) != 0)
        return BrowserResult::Failed;

    const auto until = std::chrono::steady_clock::now() + kGiveUpWindow;
    while (std::chrono::steady_clock::now() < until) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? BrowserResult::Shown
                                                                 : BrowserResult::Failed;
        if (done < 0 && errno != EINTR)
            return BrowserResult::Shown;   // reaped elsewhere: it was running
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // Still running: the browser is showing the page.  Whoever reaps
    // children later (or init, after we exit) collects it.
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    return BrowserResult::Shown;
}
