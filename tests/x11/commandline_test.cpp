// The program's own command line, as a shell hands it over: after "--"
// every argument is a file, even one the toolkit would take for an option.
#include "x11/program.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace x11;

namespace {

// The built program started in `folder`, so that relative names count from
// there.
class ProgramIn {
public:
    ProgramIn(const QString& exe, const QString& folder, const QStringList& args,
              const QProcessEnvironment& env)
    {
        m_process.setProcessEnvironment(env);
        m_process.setWorkingDirectory(folder);
        m_process.start(exe, args);
    }
    ~ProgramIn()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    QString output()
    {
        return QString::fromLocal8Bit(m_process.readAllStandardError()
                                      + m_process.readAllStandardOutput());
    }

private:
    QProcess m_process;
};

} // namespace

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
        ProgramIn program(exe, dir.path(), {QStringLiteral("--"), QStringLiteral("-reverse")}, env);
        QString win;
        EXPECT_TRUE(eventually([&] {
            return !(win = windowNamed(QStringLiteral("^Quillnest4 - %1/-reverse$").arg(folder))).isEmpty();
        })) << "opened as a file, not taken for the toolkit's mirror option: "
            << xdotool({QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("Quillnest4"),
                        QStringLiteral("getwindowname")}).toStdString()
            << program.output().toStdString();
    }
    {
        ProgramIn program(exe, dir.path(),
                          {QStringLiteral("--"), QStringLiteral("-qwindowtitle"), QStringLiteral("-x.htm")},
                          env);
        QString win;
        EXPECT_TRUE(eventually([&] {
            return !(win = windowNamed(QStringLiteral("^Quillnest4 - %1/-x\\.htm$").arg(folder))).isEmpty();
        })) << "both opened, the last one current, the caption our own: "
            << xdotool({QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("."),
                        QStringLiteral("getwindowname")}).toStdString()
            << program.output().toStdString();
    }
}
