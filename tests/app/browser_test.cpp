// Browser preview and help through stand-in programs on PATH that record
// the arguments they were given: a path full of shell syntax reaches them
// as one argument and nothing else runs.
#include "app/browsercommands.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>

#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

class Browser : public MainWindowTest {
protected:
    QString bin() const { return dir.filePath(QStringLiteral("bin")); }
    QString log(const QString& program) const { return dir.filePath(program + QStringLiteral(".log")); }
    // A program that writes its arguments, each followed by a NUL, to its log.
    void stub(const QString& program, int exitCode = 0)
    {
        QDir().mkpath(bin());
        const QString file = QDir(bin()).filePath(program);
        // Written aside and moved into place, so that a reader never sees
        // half of it.
        ASSERT_TRUE(writeAll(file, QStringLiteral("#!/bin/sh\ntmp='%1'.$$\n: > \"$tmp\"\n"
                                                  "for a in \"$@\"; do printf '%s\\0' \"$a\" >> \"$tmp\"; done\n"
                                                  "mv \"$tmp\" '%1'\nexit %2\n")
                                       .arg(log(program)).arg(exitCode).toUtf8()));
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // The arguments a stand-in got, once it has run (it may run detached).
    QStringList argumentsOf(const QString& program) const
    {
        for (int i = 0; i < 100 && !QFile::exists(log(program)); ++i)
            QTest::qWait(20);
        QByteArray bytes = readAll(log(program));
        if (bytes.endsWith('\0'))
            bytes.chop(1);
        QStringList args;
        for (const QByteArray& a : bytes.split('\0'))
            args << QString::fromUtf8(a);
        return bytes.isNull() ? QStringList() : args;
    }
    void SetUp() override
    {
        m_path = qgetenv("PATH");
        qputenv("PATH", bin().toUtf8() + ':' + m_path);
    }
    void TearDown() override
    {
        qputenv("PATH", m_path);
        MainWindowTest::TearDown();
    }
    Document& openFile(const QString& name, const QByteArray& bytes = "<HTML></HTML>\r\n")
    {
        const QString file = path(name);
        EXPECT_TRUE(writeAll(file, bytes));
        prompts.answerOpen(file);
        w->action("MOpen")->trigger();
        return *w->currentDocument();
    }
    QByteArray m_path;
};

// Unsets the variables named and puts them back as they were when it goes.
class EnvironmentGuard {
public:
    explicit EnvironmentGuard(std::initializer_list<const char*> names)
    {
        for (const char* n : names) {
            m_saved.emplace_back(n, qEnvironmentVariableIsSet(n) ? std::optional(qgetenv(n))
                                                                 : std::nullopt);
            qunsetenv(n);
        }
    }
    ~EnvironmentGuard()
    {
        for (const auto& [name, value] : m_saved) {
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        }
    }

private:
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_saved;
};

} // namespace

TEST_F(Browser, OnlyHtmlFilesAreShownAndTheExtensionIsExact)
{
    stub(QStringLiteral("xdg-open"));
    stub(QStringLiteral("firefox"));
    TFmMain& m = makeWindow(true);
    m.action("MWhite")->trigger();
    prompts.answerMessage(Prompts::Answer::Ok);
    prompts.answerMessage(Prompts::Answer::Ok);
    m.controls().BtnBrowse->click();
    openFile(QStringLiteral("page.HTM"));
    m.action("IE1")->trigger();
    m.action("MNN4")->trigger();   // not HTML: nothing, not even a message
    EXPECT_EQ(prompts.messages(),
              (QStringList{QStringLiteral("\"Page1\"はHTMLﾌｧｲﾙではありません"),
                           QStringLiteral("\"%1\"はHTMLﾌｧｲﾙではありません").arg(path(QStringLiteral("page.HTM")))}));
    EXPECT_FALSE(QFile::exists(log(QStringLiteral("firefox"))));
    EXPECT_FALSE(QFile::exists(log(QStringLiteral("xdg-open"))));
}

TEST_F(Browser, EachBrowserGetsAnAddressThatNamesExactlyTheFile)
{
    stub(QStringLiteral("xdg-open"));
    stub(QStringLiteral("firefox"));
    stub(QStringLiteral("chromium"));
    TFmMain& m = makeWindow(true);
    const QString names[] = {
        QStringLiteral("pct%41x.htm"),
        QStringLiteral("a b#c.htm"),
        QStringLiteral("q?x=1.htm"),
        QStringLiteral("line\nbreak.htm"),
        QStringLiteral("caf\u00e9 \u65e5\u672c.html"),
        QStringLiteral("-a \"b\" c; $(touch pwned) `touch pwned2`\nx'.htm"),
    };
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        openFile(name);
        const QString file = path(name);
        ASSERT_EQ(m.currentDocument()->path, file);
        ASSERT_TRUE(m.action("MNN4")->isEnabled());
        for (const char* program : {"firefox", "chromium", "xdg-open"})
            QFile::remove(log(QLatin1String(program)));
        m.action("MNN4")->trigger();
        m.action("InterNeteXPLOLOR1")->trigger();
        m.controls().BtnBrowse->click();
        for (const char* program : {"firefox", "chromium", "xdg-open"}) {
            const QStringList args = argumentsOf(QLatin1String(program));
            ASSERT_EQ(args.size(), 1) << program;
            // Read as a browser reads an address.
            const QUrl url(args[0], QUrl::StrictMode);
            EXPECT_TRUE(url.isValid()) << program << ": " << args[0].toStdString();
            EXPECT_EQ(url.scheme(), QStringLiteral("file"));
            EXPECT_FALSE(url.hasQuery()) << args[0].toStdString();
            EXPECT_FALSE(url.hasFragment()) << args[0].toStdString();
            EXPECT_EQ(url.toLocalFile(), file) << program << ": " << args[0].toStdString();
            EXPECT_FALSE(args[0].contains(u'\n'));
        }
        m.action("MOneClose")->trigger();
    }
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("pwned"))));
    EXPECT_FALSE(QFile::exists(QDir::current().filePath(QStringLiteral("pwned"))));
    EXPECT_TRUE(prompts.messages().isEmpty());
}

// The real xdg-open, pointed by a private desktop configuration at a stand-in
// browser: what it hands on names the file.
TEST_F(Browser, TheDesktopsOpenCommandHandsOnExactlyTheFile)
{
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty())
        GTEST_SKIP() << "xdg-open is not installed";
    stub(QStringLiteral("browser"));
    const QString apps = path(QStringLiteral("data/applications"));
    QDir().mkpath(apps);
    QDir().mkpath(path(QStringLiteral("config")));
    ASSERT_TRUE(writeAll(QDir(apps).filePath(QStringLiteral("stand-in.desktop")),
                         QStringLiteral("[Desktop Entry]\nType=Application\nName=Stand-in\n"
                                        "Exec=%1 %u\nMimeType=text/html;x-scheme-handler/file;\n")
                             .arg(QDir(bin()).filePath(QStringLiteral("browser")))
                             .toUtf8()));
    ASSERT_TRUE(writeAll(path(QStringLiteral("config/mimeapps.list")),
                         "[Default Applications]\ntext/html=stand-in.desktop\n"
                         "x-scheme-handler/file=stand-in.desktop\n"));
    // A plain desktop with a display, no browser named by the environment.
    EnvironmentGuard env({"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS", "DISPLAY",
                          "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                          "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID", "BROWSER",
                          "WAYLAND_DISPLAY"});
    qputenv("XDG_CONFIG_HOME", path(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", path(QStringLiteral("data")).toUtf8());
    qputenv("XDG_DATA_DIRS", path(QStringLiteral("data")).toUtf8());
    qputenv("DISPLAY", ":97");

    TFmMain& m = makeWindow(true);
    for (const QString& name : {QStringLiteral("pct%41x a b#c?x=1.htm"),
                                QStringLiteral("line\nbreak: two.htm")}) {
        SCOPED_TRACE(name.toStdString());
        openFile(name);
        QFile::remove(log(QStringLiteral("browser")));
        m.controls().BtnBrowse->click();
        QStringList args;
        for (int i = 0; i < 500 && !QFile::exists(log(QStringLiteral("browser"))); ++i)
            QTest::qWait(20);
        args = argumentsOf(QStringLiteral("browser"));
        ASSERT_EQ(args.size(), 1);
        // A path as it stands, or a file address that reads back to it.
        const QString shown = args[0].startsWith(QLatin1String("file:"))
            ? QUrl(args[0], QUrl::StrictMode).toLocalFile() : args[0];
        EXPECT_EQ(shown, path(name)) << args[0].toStdString();
        m.action("MOneClose")->trigger();
    }
}

TEST_F(Browser, HelpCopyLivesInAPrivateFolderThatGoesWithTheProgram)
{
    stub(QStringLiteral("xdg-open"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(QN4_SOURCE_DIR "/data/Qn4.hlp"), path(QStringLiteral("Qn4.hlp"))));
    // Another account got there first with the name a copy used to take.
    const QString taken = QDir(QDir::tempPath()).filePath(
        QStringLiteral("quillnest4-help-%1.html").arg(QCoreApplication::applicationPid()));
    ASSERT_TRUE(QDir().mkpath(taken));
    TFmMain& m = makeWindow(true);
    m.action("Help2")->trigger();
    QDir().rmdir(taken);
    const QStringList args = argumentsOf(QStringLiteral("xdg-open"));
    ASSERT_EQ(args.size(), 1);
    const QString copy = QUrl(args[0]).toLocalFile();
    EXPECT_TRUE(copy.endsWith(QStringLiteral(".html")));
    EXPECT_EQ(readAll(copy), readAll(path(QStringLiteral("Qn4.hlp"))));
    const QString folder = QFileInfo(copy).absolutePath();
    EXPECT_NE(folder, QDir(QDir::tempPath()).absolutePath());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    EXPECT_EQ(st.st_uid, ::getuid());

    // A second F1 uses the same folder.
    QFile::remove(log(QStringLiteral("xdg-open")));
    m.action("Help2")->trigger();
    EXPECT_EQ(QUrl(argumentsOf(QStringLiteral("xdg-open")).value(0)).toLocalFile(), copy);

    w.reset();
    EXPECT_FALSE(QFileInfo::exists(folder)) << "removed when the program ends";
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST_F(Browser, NamedBrowserMissingOrGivingUp)
{
    TFmMain& m = makeWindow(true);
    openFile(QStringLiteral("a.html"));
    qputenv("PATH", bin().toUtf8());   // no browser anywhere
    prompts.answerMessage(Prompts::Answer::Ok);
    prompts.answerMessage(Prompts::Answer::Ok);
    m.action("MNN4")->trigger();
    stub(QStringLiteral("chromium"), 3);
    m.action("InterNeteXPLOLOR1")->trigger();
    EXPECT_EQ(prompts.messages(), (QStringList{QStringLiteral("接続できませんでした。"),
                                               QStringLiteral("表示できませんでした。（未対応ﾊﾞｰｼﾞｮﾝです")}));
}

TEST_F(Browser, HelpOpensOurHelpAsHtmlAndTheMakersPageAsAnAddress)
{
    stub(QStringLiteral("xdg-open"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(QN4_SOURCE_DIR "/data/Qn4.hlp"), path(QStringLiteral("Qn4.hlp"))));
    TFmMain& m = makeWindow(true);
    m.activateWindow();
    QApplication::processEvents();
    QTest::keyClick(&m, Qt::Key_F1);
    const QStringList args = argumentsOf(QStringLiteral("xdg-open"));
    ASSERT_EQ(args.size(), 1);
    EXPECT_TRUE(args[0].endsWith(QStringLiteral(".html")));
    EXPECT_EQ(readAll(QUrl(args[0]).toLocalFile()), readAll(path(QStringLiteral("Qn4.hlp"))));
    QFile::remove(log(QStringLiteral("xdg-open")));
    m.action("BrightfernHomePage1")->trigger();
    EXPECT_EQ(argumentsOf(QStringLiteral("xdg-open")), QStringList{QStringLiteral(QN4_MAKER_URL)});
}
