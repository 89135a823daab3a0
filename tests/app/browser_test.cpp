// Browser preview and help through stand-in programs on PATH that record
// the arguments they were given: a path full of shell syntax reaches them
// as one argument and nothing else runs.
#include "app/browsercommands.h"
#include "app/startup.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

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

TEST_F(Browser, AHostilePathReachesEachBrowserAsOneArgument)
{
    stub(QStringLiteral("xdg-open"));
    stub(QStringLiteral("firefox"));
    stub(QStringLiteral("chromium"));
    TFmMain& m = makeWindow(true);
    const QString name = QStringLiteral("-a \"b\" c; $(touch pwned) `touch pwned2`\nx'.htm");
    openFile(name);
    const QString file = path(name);

    ASSERT_EQ(m.currentDocument()->path, file);
    ASSERT_TRUE(m.action("MNN4")->isEnabled());
    m.action("MNN4")->trigger();
    m.action("InterNeteXPLOLOR1")->trigger();
    m.controls().BtnBrowse->click();
    EXPECT_EQ(argumentsOf(QStringLiteral("firefox")), QStringList{QStringLiteral("file://") + file});
    EXPECT_EQ(argumentsOf(QStringLiteral("chromium")), QStringList{QStringLiteral("file://") + file});
    EXPECT_EQ(argumentsOf(QStringLiteral("xdg-open")), QStringList{file});
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("pwned"))));
    EXPECT_FALSE(QFile::exists(QDir::current().filePath(QStringLiteral("pwned"))));
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
    EXPECT_EQ(readAll(args[0]), readAll(path(QStringLiteral("Qn4.hlp"))));
    QFile::remove(log(QStringLiteral("xdg-open")));
    m.action("BrightfernHomePage1")->trigger();
    EXPECT_EQ(argumentsOf(QStringLiteral("xdg-open")), QStringList{QStringLiteral(QN4_MAKER_URL)});
}

TEST(CommandLine, EveryArgumentIsAFileAndALoneDoubleDashIsSkipped)
{
    EXPECT_EQ(Startup::filesFromArguments({QStringLiteral("quillnest4"), QStringLiteral("a.htm"),
                                           QStringLiteral("--"), QStringLiteral("-b.htm"),
                                           QStringLiteral("--")}),
              (QStringList{QStringLiteral("a.htm"), QStringLiteral("-b.htm"), QStringLiteral("--")}));
}
