// The program itself, killed while a user types, gives the typing back at
// its next start: the built binary runs on the private X server, xdotool
// types into its window, SIGKILL ends it, and a second start restores.
#include "x11/program.h"

#include <gtest/gtest.h>

using namespace x11;


TEST(CrashRecovery, TypingSurvivesAKillAndComesBackAtTheNextStart)
{
    QTemporaryDir dir;
    QProcessEnvironment env;
    const QString exe = copyProgram(dir, &env);
    const QString recovery = dir.filePath(QStringLiteral("state/quillnest4/recovery"));
    const QString page = dir.filePath(QStringLiteral("page.htm"));
    ASSERT_TRUE(writeAll(page, "<HTML>\r\n</HTML>\r\n"));

    {
        Program first(exe, {page}, env);
        QString win;
        ASSERT_TRUE(eventually([&] { return !(win = windowNamed(QStringLiteral("^Quillnest4 - "))).isEmpty(); }))
            << first.diagnosis().toStdString();
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), win});
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"),
                 QStringLiteral("typed")});
        // The recovery file follows a few seconds after the last key.
        ASSERT_TRUE(eventually([&] {
            for (const QString& f : QDir(recovery).entryList({QStringLiteral("*.qn4r")}))
                if (readAll(QDir(recovery).filePath(f)).contains("typed<HTML>"))
                    return true;
            return false;
        })) << "no recovery file was written";
        first.kill9();
    }
    EXPECT_EQ(readAll(page), "<HTML>\r\n</HTML>\r\n") << "nothing was saved";

    Program second(exe, {}, env);
    QString dialog;
    ASSERT_TRUE(eventually([&] { return !(dialog = windowNamed(QStringLiteral("^文書の復元$"))).isEmpty(); }));
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), dialog});
    xdotool({QStringLiteral("key"), QStringLiteral("Return")});   // restores all
    QString win;
    ASSERT_TRUE(eventually([&] { return !(win = windowNamed(QStringLiteral("^Quillnest4 - .*page\\.htm$"))).isEmpty(); }));
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), win});
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+s")});
    EXPECT_TRUE(eventually([&] { return readAll(page) == "typed<HTML>\r\n</HTML>\r\n"; }))
        << readAll(page).toStdString();
}
