// The program itself, killed while a user types, gives the typing back at
// its next start: the built binary runs on the private X server, xdotool
// types into its window, SIGKILL ends it, and a second start restores.
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/types.h>

namespace {

// Runs xdotool; its output, trimmed.
QString xdotool(const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("xdotool"), args);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// Waits (bounded) until `done` holds, letting the other process work.
bool eventually(const std::function<bool()>& done, int tries = 150)
{
    for (int i = 0; i < tries; ++i) {
        if (done())
            return true;
        QTest::qWait(100);
    }
    return done();
}

// The id of a window whose name matches `pattern` (a regular expression).
QString windowNamed(const QString& pattern)
{
    return xdotool({QStringLiteral("search"), QStringLiteral("--name"), pattern})
        .split(u'\n').value(0);
}

class Program {
public:
    Program(const QString& exe, const QStringList& args, const QProcessEnvironment& env)
    {
        m_process.setProcessEnvironment(env);
        m_process.start(exe, args);
    }
    ~Program()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    QString diagnosis()
    {
        return QStringLiteral("state %1, error %2, output: %3")
            .arg(int(m_process.state()))
            .arg(m_process.errorString(),
                 QString::fromLocal8Bit(m_process.readAllStandardError()
                                        + m_process.readAllStandardOutput()));
    }
    void kill9()
    {
        ::kill(pid_t(m_process.processId()), SIGKILL);
        m_process.waitForFinished(5000);
    }

private:
    QProcess m_process;
};

} // namespace

TEST(CrashRecovery, TypingSurvivesAKillAndComesBackAtTheNextStart)
{
    QTemporaryDir dir;
    // A copy of the program keeps its settings file in the test's folder.
    const QString exe = dir.filePath(QStringLiteral("quillnest4"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(QN4_BINARY_DIR "/quillnest4"), exe));
    QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir.path());
    env.insert(QStringLiteral("XDG_STATE_HOME"), dir.filePath(QStringLiteral("state")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
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
