// The preview in the program itself: with the pane on in its settings, the
// engine starts beside the window, serves the document and hands a link
// the page clicks to the editor, which opens it in a tab.
#include "x11/program.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace x11;

TEST(Preview, TheProgramsPaneRendersThePageAndItsLinkOpensATab)
{
    QTemporaryDir dir;
    QProcessEnvironment env;
    const QString exe = copyProgram(dir, &env);
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("quillnest4.ini")), "[View]\r\nPreview=1\r\n"));
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("index.htm")),
                         "<HTML><BODY onload=\"document.getElementById('l').click()\">"
                         "<A ID=l HREF=\"two.htm\">two</A></BODY></HTML>\r\n"));
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("two.htm")), "<P>two</P>\r\n"));
    const QString folder = QRegularExpression::escape(dir.path());

    Program program(exe, {dir.filePath(QStringLiteral("index.htm"))}, env, dir.path());
    EXPECT_TRUE(eventually([&] {
        return !windowNamed(QStringLiteral("^Quillnest4 - %1/two\\.htm$").arg(folder)).isEmpty();
    }, 300)) << xdotool({QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("Quillnest4"),
                         QStringLiteral("getwindowname")}).toStdString()
             << program.output().toStdString();
}
