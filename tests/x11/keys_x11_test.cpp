// Keys pressed on a real keyboard of the running program: Ctrl+A inserts
// the anchor tag (key control wins over the editor's select-all).
#include "x11/program.h"

#include <gtest/gtest.h>

using namespace x11;

TEST(RunningProgram, CtrlAInsertsTheAnchorTag)
{
    QTemporaryDir dir;
    QProcessEnvironment env;
    const QString exe = copyProgram(dir, &env);
    const QString page = dir.filePath(QStringLiteral("page.htm"));
    ASSERT_TRUE(writeAll(page, "<P>\r\n"));
    Program program(exe, {page}, env);
    QString win;
    ASSERT_TRUE(eventually([&] { return !(win = windowNamed(QStringLiteral("^Quillnest4 - "))).isEmpty(); }))
        << program.diagnosis().toStdString();
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), win});
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+s")});
    EXPECT_TRUE(eventually([&] { return readAll(page) == "<A HREF=\"\"></A><P>\r\n"; }))
        << readAll(page).toStdString();
}
