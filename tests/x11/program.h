#pragma once
// Running the built program on the private X server: starting it with its
// own settings and state folders, finding its windows and typing into them
// with xdotool.
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/types.h>

namespace x11 {

// Runs xdotool; its output, trimmed.
inline QString xdotool(const QStringList& args)
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
inline bool eventually(const std::function<bool()>& done, int tries = 150)
{
    for (int i = 0; i < tries; ++i) {
        if (done())
            return true;
        QTest::qWait(100);
    }
    return done();
}

// The id of a window whose name matches `pattern` (a regular expression).
inline QString windowNamed(const QString& pattern)
{
    return xdotool({QStringLiteral("search"), QStringLiteral("--name"), pattern})
        .split(u'\n').value(0);
}

class Program {
public:
    // `folder`, when given, is the working folder: relative names count from
    // there.
    Program(const QString& exe, const QStringList& args, const QProcessEnvironment& env,
            const QString& folder = {})
    {
        m_process.setProcessEnvironment(env);
        if (!folder.isEmpty())
            m_process.setWorkingDirectory(folder);
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
    QString output()
    {
        return QString::fromLocal8Bit(m_process.readAllStandardError()
                                      + m_process.readAllStandardOutput());
    }
    void kill9()
    {
        ::kill(pid_t(m_process.processId()), SIGKILL);
        m_process.waitForFinished(5000);
    }

private:
    QProcess m_process;
};


// A copy of the program in `dir` (so its settings file lands there) and the
// environment that keeps its settings and recovery files there too.
inline QString copyProgram(const QTemporaryDir& dir, QProcessEnvironment* env)
{
    const QString exe = dir.filePath(QStringLiteral("quillnest4"));
    QFile::copy(QStringLiteral(QN4_BINARY_DIR "/quillnest4"), exe);
    QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    *env = QProcessEnvironment::systemEnvironment();
    env->insert(QStringLiteral("HOME"), dir.path());
    env->insert(QStringLiteral("XDG_STATE_HOME"), dir.filePath(QStringLiteral("state")));
    env->insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    env->insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return exe;
}

} // namespace x11
