// The program itself, killed while a user types, gives the typing back at
// its next start: the built binary runs on the private X server, xdotool
// types into its window, SIGKILL ends it, and a second start restores.
#include "x11/program.h"

#include <gtest/gtest.h>

using namespace x11;


TEST(CrashRecovery, SteadyTypingSurvivesAKillInTheMiddleOfIt)
{
    QTemporaryDir dir;
    QProcessEnvironment env;
    const QString exe = copyProgram(dir, &env);
    const QString page = dir.filePath(QStringLiteral("page.htm"));
    ASSERT_TRUE(writeAll(page, "<HTML>\r\n</HTML>\r\n"));

    // Keys about a quarter of a second apart (xdotool halves its delay
    // between press and release), in runs of four, for eight seconds or so:
    // never a pause as long as the recovery delay.  The program is killed
    // while the keys still come; the first half of them, typed some four
    // seconds before, must be back.
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzabcdefghij");
    constexpr int kRun = 4;
    constexpr int kRuns = 8;
    constexpr int kSurely = kRuns / 2 * kRun;
    QString typed;
    {
        Program first(exe, {page}, env);
        QString win;
        ASSERT_TRUE(eventually([&] { return !(win = windowNamed(QStringLiteral("^Quillnest4 - "))).isEmpty(); }))
            << first.diagnosis().toStdString();
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), win});
        for (int i = 0; i < kRuns; ++i) {
            const QString run = letters.mid(i * kRun, kRun);
            xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("500"), run});
            typed += run;
        }
        // More keys on their way as the program dies.
        QProcess more;
        more.start(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--delay"),
                                               QStringLiteral("500"), QStringLiteral("zzzz")});
        ASSERT_TRUE(more.waitForStarted());
        first.kill9();
        more.kill();
        more.waitForFinished();
    }
    EXPECT_EQ(readAll(page), "<HTML>\r\n</HTML>\r\n") << "nothing was saved";

    Program second(exe, {}, env);
    QString dialog;
    ASSERT_TRUE(eventually([&] { return !(dialog = windowNamed(QStringLiteral("^文書の復元$"))).isEmpty(); }))
        << "nothing was kept of " << typed.size() << " keys";
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), dialog});
    xdotool({QStringLiteral("key"), QStringLiteral("Return")});   // restores all
    QString win;
    ASSERT_TRUE(eventually([&] { return !(win = windowNamed(QStringLiteral("^Quillnest4 - .*page\\.htm$"))).isEmpty(); }));
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), win});
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+s")});
    QByteArray saved;
    EXPECT_TRUE(eventually([&] {
        saved = readAll(page);
        return saved != "<HTML>\r\n</HTML>\r\n";
    }));
    // Some of the keys, in order, then the page as it was.
    ASSERT_TRUE(saved.endsWith("<HTML>\r\n</HTML>\r\n")) << saved.toStdString();
    const QByteArray kept = saved.chopped(int(qstrlen("<HTML>\r\n</HTML>\r\n")));
    EXPECT_TRUE((typed + QStringLiteral("zzzz")).toLatin1().startsWith(kept)) << kept.toStdString();
    EXPECT_GE(kept.size(), kSurely) << kept.toStdString();
}
