// Files that other programs change under an open document, and names that
// are not files at all (a pipe), as the user meets them in a shown window.
#include "app/documents.h"
#include "app/filecommands.h"
#include "app/filepanel.h"
#include "composition.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// Readable failure messages for texts.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

const QString kSavedAt = QStringLiteral("保存時間：21:05:03");

// Should the program wait in open() for a writer to come to a pipe, one
// comes after ten seconds and goes at once: the test fails instead of
// hanging.  Gone at the end of the scope, unused when nothing waits.
class PipeRescue {
public:
    explicit PipeRescue(const QString& fifo) : m_name(QFile::encodeName(fifo))
    {
        m_thread = std::thread([this] {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (m_cv.wait_for(lock, std::chrono::seconds(10), [this] { return m_done; }))
                return;
            while (!m_done) {
                lock.unlock();
                const int fd = ::open(m_name.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
                lock.lock();
                m_cv.wait_for(lock, std::chrono::milliseconds(100), [this] { return m_done; });
            }
        });
    }
    ~PipeRescue()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
        }
        m_cv.notify_all();
        m_thread.join();
    }

private:
    QByteArray m_name;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_done = false;
    std::thread m_thread;
};

class FileSafetyTest : public MainWindowTest {
protected:
    TFmMain& activeWindow()
    {
        TFmMain& m = makeWindow(true);
        m.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&m));
        return m;
    }
    void run(const char* name) { w->action(name)->trigger(); }
    void ctrlS() { QTest::keyClick(w->CurrentEdit(), Qt::Key_S, Qt::ControlModifier); }
    Document& opened(const QString& file)
    {
        prompts.answerOpen(file);
        run("FOpen");
        w->CurrentEdit()->moveCursor(QTextCursor::End);
        return *w->currentDocument();
    }
    QFileSystemWatcher* watcher() const
    {
        return w->documents().findChild<QFileSystemWatcher*>(QStringLiteral("DiskWatcher"));
    }
    // Lets the reports of a change in the file system come in and be dealt with.
    void settle(QSignalSpy& reported)
    {
        if (reported.isEmpty()) {
            EXPECT_TRUE(reported.wait(5000));
        }
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        reported.clear();
    }
    bool messageCountBecomes(int n)
    {
        return QTest::qWaitFor([&] { return prompts.messages().size() >= n; }, 5000)
            && prompts.messages().size() == n;
    }
};

} // namespace

TEST_F(FileSafetyTest, SavingOverAnotherProgramsChangeAsksFirst)
{
    TFmMain& m = activeWindow();
    const QString file = path(QStringLiteral("page.htm"));
    ASSERT_TRUE(writeAll(file, "<P>v1\r\n"));
    Document& d = opened(file);
    ASSERT_NE(watcher(), nullptr);
    QSignalSpy reported(watcher(), &QFileSystemWatcher::fileChanged);
    type(QStringLiteral("x"));

    // Another program writes the file (in place, as many bytes); Ctrl+S at once.
    ASSERT_TRUE(writeAll(file, "<P>v2\r\n"));
    prompts.answerMessage(Prompts::Answer::No);
    ctrlS();
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages()[0],
              file + QStringLiteral(" は他のプログラムによって変更されています。上書きしますか？"));
    EXPECT_EQ(prompts.shown.back().buttons, Prompts::Buttons::YesNo);
    EXPECT_EQ(readAll(file), QByteArray("<P>v2\r\n"));
    EXPECT_EQ(d.status(), kStatusChanged);
    EXPECT_EQ(m.statusPanel(1), kStatusChanged);
    EXPECT_EQ(d.saveTime, kSaveTimeUnsaved);
    // The question told of it: no other word follows for this change.
    settle(reported);
    EXPECT_EQ(prompts.messages().size(), 1);

    // Save all asks too; No writes nothing.
    prompts.answerMessage(Prompts::Answer::No);
    run("MAllSave");
    EXPECT_EQ(prompts.messages().size(), 2);
    EXPECT_EQ(readAll(file), QByteArray("<P>v2\r\n"));
    EXPECT_EQ(d.status(), kStatusChanged);

    // Yes writes ours; the next save asks nothing.
    prompts.answerMessage(Prompts::Answer::Yes);
    ctrlS();
    EXPECT_EQ(readAll(file), QByteArray("<P>v1\r\nx"));
    EXPECT_EQ(m.statusPanel(1), kStatusUnchanged);
    EXPECT_EQ(d.saveTime, kSavedAt);
    settle(reported);
    type(QStringLiteral("y"));
    ctrlS();
    EXPECT_EQ(readAll(file), QByteArray("<P>v1\r\nxy"));
    settle(reported);
    EXPECT_EQ(prompts.messages().size(), 3);

    // Save as under its own name: the replace question, then this one.
    type(QStringLiteral("z"));
    ASSERT_TRUE(writeAll(file, "<P>v3"));
    prompts.answerSave(file);
    prompts.answerMessage(Prompts::Answer::Yes);
    prompts.answerMessage(Prompts::Answer::No);
    run("MSaveAs");
    ASSERT_EQ(prompts.messages().size(), 5);
    EXPECT_TRUE(prompts.messages()[4].contains(QStringLiteral("他のプログラムによって変更されています")));
    EXPECT_EQ(readAll(file), QByteArray("<P>v3"));
    EXPECT_EQ(d.status(), kStatusChanged);
    settle(reported);

    // A file removed meanwhile is simply written again.
    ASSERT_TRUE(QFile::remove(file));
    prompts.answerMessage(Prompts::Answer::Ok);   // told that it went
    ASSERT_TRUE(messageCountBecomes(6));
    ctrlS();
    EXPECT_EQ(readAll(file), QByteArray("<P>v1\r\nxyz"));
    EXPECT_EQ(prompts.messages().size(), 6);
}

TEST_F(FileSafetyTest, AChangeWhileOpenIsToldOnceAndNeverForOurOwnSaves)
{
    TFmMain& m = activeWindow();
    const QString file = path(QStringLiteral("page.htm"));
    ASSERT_TRUE(writeAll(file, "<P>v1\r\n"));
    opened(file);
    ASSERT_NE(watcher(), nullptr);
    QSignalSpy reported(watcher(), &QFileSystemWatcher::fileChanged);

    // Our own saves, atomic or not, bring no word.
    ctrlS();
    settle(reported);
    ctrlS();
    settle(reported);
    EXPECT_TRUE(prompts.messages().isEmpty());

    // Another program's change: told once, naming the file.
    prompts.answerMessage(Prompts::Answer::Ok);
    ASSERT_TRUE(writeAll(file, "<P>v2\r\n"));
    ASSERT_TRUE(messageCountBecomes(1));
    EXPECT_EQ(prompts.messages()[0],
              file + QStringLiteral(" は他のプログラムによって変更されました。\n"
                                    "上書き保存するときは、上書きしてよいかお尋ねします。"));
    EXPECT_EQ(prompts.shown.back().icon, Prompts::Icon::Information);
    settle(reported);
    EXPECT_EQ(prompts.messages().size(), 1);

    // While the user is in another window, a change waits for the return.
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    ASSERT_TRUE(writeAll(file, "<P>v3 longer\r\n"));
    settle(reported);
    ASSERT_TRUE(writeAll(file, "<P>v4 longer\r\n"));
    settle(reported);
    EXPECT_EQ(prompts.messages().size(), 1);
    prompts.answerMessage(Prompts::Answer::Ok);
    m.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    ASSERT_TRUE(messageCountBecomes(2));   // one word for both changes

    // Removed.
    prompts.answerMessage(Prompts::Answer::Ok);
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(messageCountBecomes(3));
    EXPECT_EQ(prompts.messages()[2],
              file + QStringLiteral(" は他のプログラムによって削除されたか、移動されました。"));
}

TEST_F(FileSafetyTest, APipeGivenAsAFileIsRefusedAtOnce)
{
    const QString site = path(QStringLiteral("site"));
    ASSERT_TRUE(QDir().mkpath(site));
    const QString late = site + QStringLiteral("/late.htm");
    ASSERT_TRUE(writeAll(late, "x"));
    ASSERT_TRUE(writeAll(iniPath(), "[File]\r\nDrive=0\r\nDirectory=" + site.toUtf8() + "\r\n"));
    TFmMain& m = activeWindow();
    const QString fifo = path(QStringLiteral("pipe.htm"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);

    {   // F8
        PipeRescue rescue(fifo);
        prompts.answerOpen(fifo);
        prompts.answerMessage(Prompts::Answer::Ok);
        run("FOpen");
    }
    EXPECT_FALSE(m.hasDocument());
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].contains(fifo));
    EXPECT_TRUE(prompts.messages()[0].contains(QStringLiteral("名前付きパイプ")));

    {   // a recent file that has become a pipe
        PipeRescue rescue(fifo);
        m.action("MR1")->setText(fifo);
        emit m.menu("File1")->aboutToShow();
        prompts.answerMessage(Prompts::Answer::Ok);
        run("MR1");
    }
    EXPECT_FALSE(m.hasDocument());
    EXPECT_EQ(prompts.messages().size(), 2);

    // The file panel listed a page that has become a pipe since.
    QListWidget* list = unitsOf(m)->filePanel->FileListBox();
    const QList<QListWidgetItem*> found = list->findItems(QStringLiteral("late.htm"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    ASSERT_TRUE(QFile::remove(late));
    ASSERT_EQ(::mkfifo(QFile::encodeName(late).constData(), 0644), 0);
    {
        PipeRescue rescue(late);
        const QPoint at = list->visualItemRect(found.front()).center();
        prompts.answerMessage(Prompts::Answer::Ok);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    EXPECT_FALSE(m.hasDocument());
    ASSERT_EQ(prompts.messages().size(), 3);
    EXPECT_TRUE(prompts.messages()[2].contains(late));

    // Duplicating it (an HTML name) reads nothing either.
    {
        PipeRescue rescue(late);
        prompts.answerMessage(Prompts::Answer::Ok);
        unitsOf(m)->filePanel->MFileCopyClick();
    }
    ASSERT_EQ(prompts.messages().size(), 4);
    EXPECT_TRUE(prompts.messages()[3].contains(QStringLiteral("名前付きパイプ")));
}
