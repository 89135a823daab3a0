// Crash recovery inside one process: what is written when, what goes when
// a document is saved or closed, and what a later run offers back.
#include "app/linemap.h"
#include "app/recovery.h"
#include "app/tfmrecover.h"
#include "composition.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSemaphore>
#include <QTest>
#include <QTextBlock>
#include <QThread>

#include <atomic>
#include <sys/stat.h>

namespace {

class Recovery : public MainWindowTest {
protected:
    void SetUp() override { recoveryDir = dir.filePath(QStringLiteral("recovery")); }
    RecoveryUnit& unit() { return *unitsOf(*w)->recovery; }
    QString fileNamed(const QString& name) const { return QDir(recoveryDir).filePath(name); }
    QStringList files() const
    {
        return QDir(recoveryDir).entryList({QStringLiteral("*.qn4r")}, QDir::Files);
    }
    // A recovery file as a run that died would have left it (no lock).
    void leaveBehind(const QString& run, int n, const QString& path, bool hasFile,
                     const QString& text)
    {
        QDir().mkpath(recoveryDir);
        ASSERT_TRUE(writeAll(QDir(recoveryDir).filePath(QStringLiteral("%1-%2.qn4r").arg(run).arg(n)),
                             RecoveryStore::format(path, hasFile, sjis::LineBreak::Lf, text)));
    }
};

} // namespace

TEST_F(Recovery, ChangedDocumentsAreKeptUntilSavedOrClosed)
{
    TFmMain& m = makeWindow(true);
    const QString file = path(QStringLiteral("a.htm"));
    ASSERT_TRUE(writeAll(file, "<P>\r\n"));
    prompts.answerOpen(file);
    m.action("MOpen")->trigger();
    unit().flush();
    EXPECT_TRUE(files().isEmpty()) << "an opened file is not a change";

    QTest::keyClicks(m.CurrentEdit(), "ab");
    EXPECT_TRUE(files().isEmpty()) << "written a few seconds after the last change";
    unit().flush();
    ASSERT_EQ(files().size(), 1);
    auto kept = RecoveryStore::parse(readAll(QDir(recoveryDir).filePath(files()[0])));
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->text, QStringLiteral("ab<P>\n"));
    EXPECT_EQ(kept->path, file);
    EXPECT_TRUE(kept->hasFile);

    m.action("MSave")->trigger();
    EXPECT_TRUE(files().isEmpty()) << "saved: the file on disk is the document";

    // A new page that is never saved: closed with No, its file goes too.
    m.action("MWhite")->trigger();
    QTest::keyClicks(m.CurrentEdit(), "x");
    unit().flush();
    EXPECT_EQ(files().size(), 1);
    prompts.answerMessage(Prompts::Answer::No);
    m.action("MOneClose")->trigger();
    EXPECT_TRUE(files().isEmpty());
    // A live run's files are never offered, not even to itself.
    EXPECT_TRUE(unit().store().leftBehind().empty());
}

TEST_F(Recovery, ALaterRunOffersWhatADeadRunLeftBehind)
{
    leaveBehind(QStringLiteral("99999_1"), 1, path(QStringLiteral("page.htm")), true,
                QStringLiteral("<HTML>\n変更\n"));
    leaveBehind(QStringLiteral("99999_1"), 3, QStringLiteral("Page3"), false, QStringLiteral("scratch"));
    TFmMain& m = makeWindow(true);

    // Closed without a choice: nothing restored, nothing lost.
    prompts.answerDialog([](QDialog& d) { return d.reject(), int(QDialog::Rejected); });
    EXPECT_EQ(unit().offer(), 0);
    EXPECT_EQ(files().size(), 2);

    // Enter restores every ticked one; the second is unticked by a click.
    prompts.answerDialog([](QDialog& d) {
        auto& dlg = static_cast<TFmRecover&>(d);
        dlg.show();
        QListWidget* list = dlg.DocList;
        EXPECT_EQ(list->count(), 2);
        const QRect row = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          QPoint(row.left() + list->style()->pixelMetric(QStyle::PM_IndicatorWidth) / 2 + 2,
                                 row.center().y()));
        EXPECT_EQ(list->item(1)->checkState(), Qt::Unchecked);
        QTest::keyClick(&dlg, Qt::Key_Return);
        return dlg.result();
    });
    EXPECT_EQ(unit().offer(), 1);
    ASSERT_EQ(m.DocumentCount(), 1);
    Document* d = m.currentDocument();
    EXPECT_EQ(d->path, path(QStringLiteral("page.htm")));
    EXPECT_TRUE(d->hasFile);
    EXPECT_TRUE(d->modified());
    EXPECT_EQ(m.statusPanel(1), QStringLiteral("変更あり"));
    EXPECT_EQ(currentText(), QStringLiteral("<HTML>\n変更\n"));
    // The dead run's files are gone; the restored document is kept under
    // this run's name at once.
    ASSERT_EQ(files().size(), 1);
    EXPECT_FALSE(files()[0].startsWith(QStringLiteral("99999_1-")));

    // Saving writes the restored text with the file's own line break.
    m.action("MSave")->trigger();
    EXPECT_EQ(readAll(path(QStringLiteral("page.htm"))), QByteArray("<HTML>\n\x95\xcf\x8d\x58\n"));
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(Recovery, AFileWithMixedBreaksComesBackWithEachLinesOwnBreak)
{
    TFmMain& m = makeWindow(true);
    const QString file = path(QStringLiteral("mixed.htm"));
    // Mixed breaks, and a long line held in pieces.
    const QByteArray bytes = "a\r\nb\nc\rd\r\n" + QByteArray(5000, 'x') + "\ne";
    ASSERT_TRUE(writeAll(file, bytes));
    prompts.answerOpen(file);
    m.action("MOpen")->trigger();
    QTest::keyClicks(m.CurrentEdit(), "z");
    unit().flush();
    ASSERT_EQ(files().size(), 1);
    const QString kept = QDir(recoveryDir).filePath(files()[0]);
    const QString left = QDir(recoveryDir).filePath(QStringLiteral("99999_1-1.qn4r"));
    ASSERT_TRUE(QFile::copy(kept, left));   // as if the run had died
    prompts.answerMessage(Prompts::Answer::No);
    m.action("MOneClose")->trigger();

    prompts.answerDialog([](QDialog& d) {
        d.show();
        QTest::keyClick(&d, Qt::Key_Return);
        return d.result();
    });
    ASSERT_EQ(unit().offer(), 1);
    m.action("MSave")->trigger();
    EXPECT_EQ(readAll(file), "z" + bytes);
}

namespace {

unsigned modeOf(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return ~0u;
    return unsigned(st.st_mode) & 07777;
}

} // namespace

TEST_F(Recovery, FilesAndTheirFolderAreTheOwnersAlone)
{
    // A folder an earlier version left open to everyone is tightened.
    ASSERT_TRUE(QDir().mkpath(recoveryDir));
    ASSERT_EQ(::chmod(QFile::encodeName(recoveryDir).constData(), 0755), 0);
    TFmMain& m = makeWindow(true);
    EXPECT_EQ(modeOf(recoveryDir), 0700u);
    m.action("MWhite")->trigger();
    QTest::keyClicks(m.CurrentEdit(), "password=hunter2");
    unit().flush();
    ASSERT_EQ(files().size(), 1);
    EXPECT_EQ(modeOf(fileNamed(files()[0])), 0600u);
    // Written again over the first one: still its owner's alone.
    QTest::keyClicks(m.CurrentEdit(), "!");
    unit().flush();
    EXPECT_EQ(modeOf(fileNamed(files()[0])), 0600u);
    prompts.answerMessage(Prompts::Answer::No);
    m.action("MOneClose")->trigger();

    // A folder made afresh is private from the start.
    recoveryDir = dir.filePath(QStringLiteral("state/fresh/recovery"));
    makeWindow(true);
    EXPECT_EQ(modeOf(recoveryDir), 0700u);
}

TEST_F(Recovery, AFolderThatCannotBeWrittenIsSaidOnce)
{
    // Its parent is a file: not even root can make it.
    ASSERT_TRUE(writeAll(path(QStringLiteral("blocker")), "x"));
    recoveryDir = dir.filePath(QStringLiteral("blocker/recovery"));
    prompts.answerMessage(Prompts::Answer::Ok);
    TFmMain& m = makeWindow(true);
    QApplication::processEvents();
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].contains(QDir::toNativeSeparators(recoveryDir)));
    EXPECT_TRUE(prompts.messages()[0].contains(QStringLiteral("保存していない変更")));
    m.action("MWhite")->trigger();
    QTest::keyClicks(m.CurrentEdit(), "abc");
    unit().flush();
    QApplication::processEvents();
    EXPECT_EQ(prompts.messages().size(), 1) << "said once";
}

TEST_F(Recovery, AWriteThatFailsLaterIsSaidOnce)
{
    TFmMain& m = makeWindow(true);
    m.action("MWhite")->trigger();
    QTest::keyClicks(m.CurrentEdit(), "abc");
    unit().flush();
    ASSERT_EQ(files().size(), 1);
    // The folder goes and a file takes its place.
    ASSERT_TRUE(QDir(recoveryDir).removeRecursively());
    ASSERT_TRUE(writeAll(recoveryDir, "x"));
    QTest::keyClicks(m.CurrentEdit(), "d");
    prompts.answerMessage(Prompts::Answer::Ok);
    unit().flush();
    QApplication::processEvents();
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].contains(QStringLiteral("復元用のファイル")));
    EXPECT_TRUE(prompts.messages()[0].contains(QStringLiteral("保存していない変更")));
    QTest::keyClicks(m.CurrentEdit(), "e");
    unit().flush();
    QApplication::processEvents();
    EXPECT_EQ(prompts.messages().size(), 1) << "said once";
}

TEST_F(Recovery, WritingNeverHoldsUpTheWindowAndARemovalWins)
{
    TFmMain& m = makeWindow(true);
    m.action("MWhite")->trigger();
    QTest::keyClicks(m.CurrentEdit(), "abc");

    // The write is held on its way; the window goes on meanwhile.
    QSemaphore entered, release;
    std::atomic<QThread*> writingThread = nullptr;
    unit().store().writer().setBeforeWrite([&](const QString&) {
        writingThread = QThread::currentThread();
        entered.release();
        release.tryAcquire(1, 20000);
    });
    unit().writeChanged();
    ASSERT_TRUE(entered.tryAcquire(1, 20000)) << "the write never started";
    EXPECT_NE(writingThread.load(), QThread::currentThread());
    QTest::keyClicks(m.CurrentEdit(), "def");
    EXPECT_EQ(currentText(), QStringLiteral("abcdef"));

    // Closed while its write is under way: no file is left behind.
    prompts.answerMessage(Prompts::Answer::No);
    m.action("MOneClose")->trigger();
    release.release();
    unit().store().writer().waitForIdle();
    EXPECT_TRUE(files().isEmpty()) << files().join(u' ').toStdString();

    // Saved while one waits behind a held write: neither stays.
    unit().store().writer().setBeforeWrite([&](const QString&) {
        entered.release();
        release.tryAcquire(1, 20000);
    });
    const QString file = path(QStringLiteral("a.htm"));
    ASSERT_TRUE(writeAll(file, "<P>\r\n"));
    prompts.answerOpen(file);
    m.action("MOpen")->trigger();
    QTest::keyClicks(m.CurrentEdit(), "x");
    unit().writeChanged();
    ASSERT_TRUE(entered.tryAcquire(1, 20000));
    QTest::keyClicks(m.CurrentEdit(), "y");
    unit().writeChanged();   // queued behind the held one
    m.action("MSave")->trigger();
    release.release(2);
    unit().store().writer().setBeforeWrite({});
    unit().store().writer().waitForIdle();
    EXPECT_TRUE(files().isEmpty()) << files().join(u' ').toStdString();
    EXPECT_EQ(readAll(file), "xy<P>\r\n");
}

TEST_F(Recovery, TheFileHoldsTheTextAsSavingReadsIt)
{
    // Mixed breaks, a long line in pieces and a line separator in a block:
    // the text taken for the writing thread is the file's text.
    TFmMain& m = makeWindow(true);
    const QString file = path(QStringLiteral("mixed.htm"));
    ASSERT_TRUE(writeAll(file, "a\r\nb\nc\r" + QByteArray(5000, 'x') + "\r\nlast"));
    prompts.answerOpen(file);
    m.action("MOpen")->trigger();
    Document* d = m.currentDocument();
    QTextCursor c(d->edit->document()->findBlockByNumber(1));
    c.movePosition(QTextCursor::EndOfBlock);
    c.insertText(QStringLiteral("1") + QChar(0x2028) + QStringLiteral("2"));
    ASSERT_TRUE(LineMap::of(d->edit->document()).hasPieces());

    RecoverySnapshot s = RecoverySnapshot::of(*d);
    EXPECT_EQ(s.breaks, editorLineBreaks(*d->edit, d->lineBreak));
    const QString text = s.takeText();
    EXPECT_EQ(text, editorText(*d->edit));
    EXPECT_TRUE(text.startsWith(QStringLiteral("a\nb1\n2\nc\nxxx")));
    unit().flush();
    ASSERT_EQ(files().size(), 1);
    const auto kept = RecoveryStore::parse(readAll(fileNamed(files()[0])));
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->text, text);
    EXPECT_EQ(kept->breaks, editorLineBreaks(*d->edit, d->lineBreak));
}

TEST_F(Recovery, AFileThatCannotBeReadIsOfferedAsSuchAndGoesWithAChoice)
{
    leaveBehind(QStringLiteral("99999_1"), 1, path(QStringLiteral("page.htm")), true,
                QStringLiteral("good"));
    ASSERT_TRUE(writeAll(fileNamed(QStringLiteral("99999_1-2.qn4r")), "edited by hand"));
    ASSERT_TRUE(writeAll(fileNamed(QStringLiteral("99998_1-1.qn4r")), "QN4RECOVERY 1\npath="));
    makeWindow(true);

    // Closed without a choice: everything stays, the damaged ones listed.
    prompts.answerDialog([&](QDialog& d) {
        auto& dlg = static_cast<TFmRecover&>(d);
        EXPECT_EQ(dlg.DocList->count(), 3);
        int damaged = 0;
        for (int i = 0; i < dlg.DocList->count(); ++i) {
            QListWidgetItem* item = dlg.DocList->item(i);
            if (!item->text().contains(QStringLiteral("壊れていて読めません")))
                continue;
            ++damaged;
            EXPECT_TRUE(item->text().contains(QStringLiteral(".qn4r")));
            EXPECT_FALSE(item->flags() & Qt::ItemIsUserCheckable);
        }
        EXPECT_EQ(damaged, 2);
        EXPECT_NE(dlg.findChild<QLabel*>(QStringLiteral("LabelDamaged")), nullptr);
        return d.reject(), int(QDialog::Rejected);
    });
    EXPECT_EQ(unit().offer(), 0);
    EXPECT_EQ(files().size(), 3);

    // Restoring brings the good one back and clears the damaged ones away.
    prompts.answerDialog([](QDialog& d) {
        d.show();
        QTest::keyClick(&d, Qt::Key_Return);
        return d.result();
    });
    EXPECT_EQ(unit().offer(), 1);
    EXPECT_EQ(currentText(), QStringLiteral("good"));
    ASSERT_EQ(files().size(), 1);
    EXPECT_FALSE(files()[0].startsWith(QStringLiteral("9999")));
}
