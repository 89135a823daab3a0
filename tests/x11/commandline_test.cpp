// The program's own command line, as a shell hands it over: after "--"
// every argument is a file, even one the toolkit would take for an option.
#include "x11/program.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace x11;

TEST(CommandLine, EverythingAfterADoubleDashIsAFile)
{
    QTemporaryDir dir;
    QProcessEnvironment env;
    const QString exe = copyProgram(dir, &env);
    for (const char* name : {"-reverse", "-qwindowtitle", "-x.htm"})
        ASSERT_TRUE(writeAll(dir.filePath(QLatin1String(name)), "<HTML></HTML>\r\n"));
    // Window names are regular expressions to xdotool.
    const QString folder = QRegularExpression::escape(dir.path());

    {
        Program program(exe, {QStringLiteral("--"), QStringLiteral("-reverse")}, env, dir.path());
        QString win;
        EXPECT_TRUE(eventually([&] {
            return !(win = windowNamed(QStringLiteral("^Quillnest4 - %1/-reverse$").arg(folder))).isEmpty();
        })) << "opened as a file, not taken for the toolkit's mirror option: "
            << xdotool({QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("Quillnest4"),
                        QStringLiteral("getwindowname")}).toStdString()
            << program.output().toStdString();
    }
    {
        Program program(exe,
                        {QStringLiteral("--"), QStringLiteral("-qwindowtitle"), QStringLiteral("-x.htm")},
                        env, dir.path());
        QString win;
        EXPECT_TRUE(eventually([&] {
            return !(win = windowNamed(QStringLiteral("^Quillnest4 - %1/-x\\.htm$").arg(folder))).isEmpty();
        })) << "both opened, the last one current, the caption our own: "
            << xdotool({QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("."),
                        QStringLiteral("getwindowname")}).toStdString()
            << program.output().toStdString();
    }
}
