// A UTF-8 page killed while changed comes back as UTF-8: the restored
// document is saved in the encoding its file was read in, not Shift_JIS.
#include "x11/program.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace x11;

TEST(CrashRecovery, AUtf8PageComesBackInUtf8)
{
    QTemporaryDir dir;
    QProcessEnvironment env;
    const QString exe = copyProgram(dir, &env);
    const QString page = dir.filePath(QStringLiteral("page.htm"));
    const QByteArray original = QStringLiteral("<P>日本語のページ</P>\n").toUtf8();
    ASSERT_TRUE(writeAll(page, original));
    const QDir recovery(dir.filePath(QStringLiteral("state/quillnest4/recovery")));
    {
        Program first(exe, {page}, env);
        QString win;
        ASSERT_TRUE(eventually([&] { return !(win = windowNamed(QStringLiteral("^Quillnest4 - "))).isEmpty(); }))
            << first.diagnosis().toStdString();
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), win});
        xdotool({QStringLiteral("type"), QStringLiteral("xyz")});
        // The recovery file is what this test is about: it must be there.
        ASSERT_TRUE(eventually([&] {
            return !recovery.entryList({QStringLiteral("*.qn4r")}, QDir::Files).isEmpty();
        }));
        first.kill9();
    }
    EXPECT_EQ(readAll(page), original) << "nothing was saved";

    Program second(exe, {}, env);
    QString dialog;
    ASSERT_TRUE(eventually([&] { return !(dialog = windowNamed(QStringLiteral("^文書の復元$"))).isEmpty(); }));
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), dialog});
    xdotool({QStringLiteral("key"), QStringLiteral("Return")});   // restores all
    QString win;
    ASSERT_TRUE(eventually([&] { return !(win = windowNamed(QStringLiteral("^Quillnest4 - .*page\\.htm$"))).isEmpty(); }));
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), win});
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+s")});
    QByteArray saved;
    EXPECT_TRUE(eventually([&] { return (saved = readAll(page)) != original; }));
    EXPECT_EQ(saved, "xyz" + original) << saved.toStdString();
}
