// File commands: new, blank and frame pages, open and reopen, save, save as,
// save all, close, close all, closing the window, and printing.
#include "app/filecommands.h"
#include "app/settings.h"
#include "builders/frame/framelayouts.h"
#include "builders/frame/tfmframe.h"
#include "builders/newpage/newpageskeleton.h"
#include "builders/newpage/tfmnew.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>

#include <random>

// Readable failure messages for texts.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

const QString kChanged = QStringLiteral("変更あり");
const QString kUnchanged = QStringLiteral("変更なし");
const QString kUnsaved = QStringLiteral("保存時間：(未保存)");
const QString kSavedAt = QStringLiteral("保存時間：21:05:03");

class FileCommandsTest : public MainWindowTest {
protected:
    void run(const char* name) { w->action(name)->trigger(); }
    QString tabCaption() const
    {
        return w->editControl()->tabText(w->editControl()->currentIndex());
    }
    QString recent(int k) const
    {
        return w->action(QStringLiteral("MR%1").arg(k).toLatin1().constData())->text();
    }
    void edit(const QString& more)
    {
        w->CurrentEdit()->moveCursor(QTextCursor::End);
        w->CurrentEdit()->insertPlainText(more);
    }
    // A new document saved under `name` (filter entry 1).
    Document& savedNew(const QString& file, const QString& text = QStringLiteral("x"))
    {
        run("MWhite");
        edit(text);
        prompts.answerSave(file);
        run("MSave");
        return *w->currentDocument();
    }
    Document& opened(const QString& file)
    {
        prompts.answerOpen(file);
        run("MOpen");
        return *w->currentDocument();
    }
};

} // namespace

TEST_F(FileCommandsTest, NewPageOutcomesAndPlacement)
{
    TFmMain& m = makeWindow();
    m.move(100, 50);
    QPoint placedAt;
    prompts.answerDialog([&](QDialog& d) {
        placedAt = d.pos();
        d.findChild<QPushButton*>(QStringLiteral("BtnCancel"))->click();
        return d.result();
    });
    run("MNew");
    EXPECT_EQ(m.DocumentCount(), 0);
    EXPECT_FALSE(m.hasDocument());
    EXPECT_EQ(placedAt, m.pos() + QPoint(30, 70));

    prompts.answerDialog([](QDialog& d) {
        d.findChild<QLineEdit*>(QStringLiteral("Editc"))->setText(QStringLiteral("題名"));
        d.findChild<QPushButton*>(QStringLiteral("BtnOk"))->click();
        return d.result();
    });
    run("FNew");
    ASSERT_EQ(m.DocumentCount(), 1);
    NewPageSettings s;
    s.title = QStringLiteral("題名");
    QString expected = composeNewPage(s);
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_EQ(currentText(), expected);
    Document& d = *m.currentDocument();
    EXPECT_FALSE(d.hasFile);
    EXPECT_FALSE(d.edit->document()->isModified());
    EXPECT_EQ(m.statusPanel(1), kUnchanged);
    EXPECT_EQ(m.statusPanel(2), kUnsaved);

    // Blank page from the dialog: empty text, clipboard untouched; entries
    // were cleared by the new showing.
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    prompts.answerDialog([](QDialog& d) {
        EXPECT_TRUE(d.findChild<QLineEdit*>(QStringLiteral("Editc"))->text().isEmpty());
        d.findChild<QPushButton*>(QStringLiteral("BtnWhite"))->click();
        return d.result();
    });
    run("ToolNew");
    EXPECT_EQ(m.DocumentCount(), 2);
    EXPECT_TRUE(currentText().isEmpty());
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("clip"));

    run("MWhite");
    EXPECT_EQ(m.DocumentCount(), 3);
    EXPECT_EQ(tabCaption(), QStringLiteral("Page3"));
}

TEST_F(FileCommandsTest, FramePageOrNothing)
{
    TFmMain& m = makeWindow();
    prompts.answerDialog([](QDialog& d) {
        d.reject();   // closed by the title bar
        return d.result();
    });
    run("MFrame");
    EXPECT_EQ(m.DocumentCount(), 0);

    prompts.answerDialog([](QDialog& d) {
        d.findChild<QToolButton*>(QStringLiteral("Frame3"))->click();
        return d.result();
    });
    run("ToolFrame");
    ASSERT_TRUE(m.hasDocument());
    QString expected = composeFramePage(3);
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_EQ(currentText(), expected);
    EXPECT_FALSE(m.currentDocument()->hasFile);
}

TEST_F(FileCommandsTest, SaveAsksForANameOnceAndFillsTheRecentList)
{
    TFmMain& m = makeWindow();
    run("MWhite");
    edit(QStringLiteral("<P>こんにちは"));
    EXPECT_EQ(m.statusPanel(1), kChanged);
    prompts.answerSave(path(QStringLiteral("a")), 2);
    run("ToolSave");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].file.proposedName, QStringLiteral("Page1"));
    EXPECT_EQ(prompts.shown[0].file.filterIndex, 1);
    EXPECT_EQ(prompts.shown[0].file.filter,
              QStringLiteral("HTMLﾌｧｲﾙ(*htm)|*.htm|HTMLﾌｧｲﾙ(*.html)|*.html|ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt"));

    const QString file = path(QStringLiteral("a.html"));
    EXPECT_EQ(readAll(file), QByteArray("<P>\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd"));
    Document& d = *m.currentDocument();
    EXPECT_EQ(d.path, file);
    EXPECT_TRUE(d.hasFile);
    EXPECT_EQ(tabCaption(), QStringLiteral("a.html"));
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Quillnest4 - ") + file);
    EXPECT_EQ(m.statusPanel(1), kUnchanged);
    EXPECT_EQ(m.statusPanel(2), kSavedAt);
    EXPECT_EQ(recent(1), file);
    EXPECT_EQ(loadSettingsFile(iniPath()).mr[0], file);

    // Saved again: no dialog, the list keeps it once.
    edit(QStringLiteral("!"));
    run("MSave");
    EXPECT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(recent(2), QStringLiteral("(なし)"));

    // Extensions: given ones stay, entries 1 and 3 add theirs.
    EXPECT_EQ(pathWithFilterExtension(QStringLiteral("/w/b.txt"), 1), QStringLiteral("/w/b.txt"));
    EXPECT_EQ(pathWithFilterExtension(QStringLiteral("/w/b"), 1), QStringLiteral("/w/b.htm"));
    EXPECT_EQ(pathWithFilterExtension(QStringLiteral("/w.d/b"), 3), QStringLiteral("/w.d/b.txt"));
}

TEST_F(FileCommandsTest, RecentItemsTakeTurnsAndEveryRunStartsAtTheFirst)
{
    makeWindow();
    for (int i = 1; i <= 6; ++i)
        savedNew(path(QStringLiteral("p%1.htm").arg(i)));
    EXPECT_EQ(recent(1), path(QStringLiteral("p6.htm")));
    EXPECT_EQ(recent(2), path(QStringLiteral("p2.htm")));
    EXPECT_EQ(recent(5), path(QStringLiteral("p5.htm")));

    w.reset();   // restart: the items come back, the turn starts at 1
    makeWindow();
    EXPECT_EQ(recent(3), path(QStringLiteral("p3.htm")));
    savedNew(path(QStringLiteral("q.htm")));
    EXPECT_EQ(recent(1), path(QStringLiteral("q.htm")));
    EXPECT_EQ(recent(2), path(QStringLiteral("p2.htm")));

    // Reopen: a listed file opens; the list stays as it is.
    run("MR3");
    EXPECT_EQ(w->currentDocument()->path, path(QStringLiteral("p3.htm")));
    EXPECT_TRUE(w->currentDocument()->hasFile);
    EXPECT_EQ(recent(3), path(QStringLiteral("p3.htm")));
}

TEST_F(FileCommandsTest, FileMenuEnablesOnlyFilledRecentItems)
{
    makeWindow();
    savedNew(path(QStringLiteral("one.htm")));
    emit w->menu("File1")->aboutToShow();
    EXPECT_TRUE(w->action("MR1")->isEnabled());
    for (int k = 2; k <= 5; ++k)
        EXPECT_FALSE(w->action(QStringLiteral("MR%1").arg(k).toLatin1().constData())->isEnabled());
    EXPECT_TRUE(w->action("N13")->isEnabled());
}

TEST_F(FileCommandsTest, OpenAndSaveKeepTheBytes)
{
    makeWindow();
    // NUL and other controls, invalid Shift_JIS, half-width katakana, a cut
    // pair at the end.
    const QByteArray crlf("<HTML>\r\n\x00\x81\x7f\xff\x80\xa0\r\n\xb1\xb2\x82\xa0\t\x0b\x0c\x1f"
                          "\x1b\r\n\x83", 28);
    const QByteArray lf("a\nb\n\n\x82\xa0\n");
    const QByteArray cr("a\rb\r");
    int i = 0;
    for (const QByteArray& bytes : {crlf, lf, cr, QByteArray()}) {
        const QString file = path(QStringLiteral("rt%1.htm").arg(++i));
        ASSERT_TRUE(writeAll(file, bytes));
        Document& d = opened(file);
        EXPECT_EQ(d.path, file);
        EXPECT_TRUE(d.hasFile);
        EXPECT_EQ(tabCaption(), QStringLiteral("rt%1.htm").arg(i));
        EXPECT_EQ(w->statusPanel(1), kUnchanged);
        // Written over by another program: the save asks, Yes writes ours.
        ASSERT_TRUE(writeAll(file, "overwritten"));
        prompts.answerMessage(Prompts::Answer::Yes);
        run("MSave");
        EXPECT_EQ(readAll(file), bytes) << i;
        EXPECT_EQ(prompts.messages().value(i - 1), changedOnDiskQuestion(file));
    }
    EXPECT_EQ(prompts.messages().size(), 4);
    // The same file can be opened twice; opening leaves the recent list alone.
    opened(path(QStringLiteral("rt1.htm")));
    EXPECT_EQ(w->DocumentCount(), 5);
    EXPECT_EQ(recent(5), QStringLiteral("(なし)"));
}

TEST_F(FileCommandsTest, UnreadableFilesLeaveNoTab)
{
    TFmMain& m = makeWindow();
    const QString missing = path(QStringLiteral("gone.htm"));
    prompts.answerOpen(missing);
    prompts.answerMessage(Prompts::Answer::Ok);
    run("MOpen");
    prompts.answerOpen(dir.path());
    prompts.answerMessage(Prompts::Answer::Ok);
    run("FOpen");
    EXPECT_EQ(m.DocumentCount(), 0);
    EXPECT_FALSE(m.hasDocument());
    ASSERT_EQ(prompts.messages().size(), 2);
    EXPECT_TRUE(prompts.messages()[0].contains(missing));
    EXPECT_TRUE(prompts.messages()[1].contains(dir.path()));

    // Reopen: a vanished file gets the old warning and keeps its item; a
    // folder under the name gets the open failure.
    const QString file = path(QStringLiteral("r.htm"));
    savedNew(file);
    savedNew(path(QStringLiteral("sub")));   // "sub.htm"
    m.closeDocument(m.currentDocument()->number);
    m.closeDocument(m.currentDocument()->number);
    QFile::remove(file);
    ASSERT_TRUE(QDir().mkdir(path(QStringLiteral("sub.htm.d"))));
    m.action("MR2")->setText(path(QStringLiteral("sub.htm.d")));
    const int before = m.DocumentCount();
    emit m.menu("File1")->aboutToShow();
    prompts.answerMessage(Prompts::Answer::Ok);
    run("MR1");
    prompts.answerMessage(Prompts::Answer::Ok);
    run("MR2");
    EXPECT_EQ(m.DocumentCount(), before);
    EXPECT_FALSE(m.hasDocument());
    EXPECT_EQ(prompts.messages()[2], QStringLiteral("ファイルが見つかりせん"));
    EXPECT_TRUE(prompts.messages()[3].contains(path(QStringLiteral("sub.htm.d"))));
    EXPECT_EQ(recent(1), file);
}

TEST_F(FileCommandsTest, AFailedSaveKeepsEverythingAsItWas)
{
    TFmMain& m = makeWindow();
    const QString sub = path(QStringLiteral("sub"));
    ASSERT_TRUE(QDir().mkdir(sub));
    const QString file = sub + QStringLiteral("/a.htm");
    ASSERT_TRUE(writeAll(file, "old"));
    Document& d = opened(file);
    edit(QStringLiteral("new"));
    ASSERT_TRUE(QDir(sub).removeRecursively());

    prompts.answerMessage(Prompts::Answer::Ok);
    run("MSave");
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].contains(file));
    EXPECT_EQ(d.status(), kChanged);
    EXPECT_EQ(m.statusPanel(1), kChanged);
    EXPECT_EQ(d.path, file);
    EXPECT_TRUE(d.hasFile);
    EXPECT_EQ(d.saveTime, kUnsaved);
    EXPECT_EQ(recent(1), QStringLiteral("(なし)"));

    // A character Shift_JIS cannot hold: nothing is written.
    run("MWhite");
    edit(QStringLiteral("ok \U0001F600"));
    prompts.answerSave(path(QStringLiteral("emoji.htm")));
    prompts.answerMessage(Prompts::Answer::Ok);
    run("MSaveAs");
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("emoji.htm"))));
    EXPECT_TRUE(prompts.messages()[1].contains(path(QStringLiteral("emoji.htm"))));
    Document& n = *m.currentDocument();
    EXPECT_EQ(n.path, QStringLiteral("Page2"));
    EXPECT_FALSE(n.hasFile);
    EXPECT_EQ(n.status(), kChanged);
    EXPECT_EQ(tabCaption(), QStringLiteral("Page2"));
    EXPECT_EQ(recent(1), QStringLiteral("(なし)"));
}

TEST_F(FileCommandsTest, CloseAsksAndKeepsWhatWasNotSaved)
{
    TFmMain& m = makeWindow();
    run("MWhite");
    edit(QStringLiteral("text"));

    prompts.answerMessage(Prompts::Answer::Cancel);
    run("MOneClose");
    EXPECT_EQ(prompts.messages().value(0), QStringLiteral("Page1を保存しますか?"));
    EXPECT_EQ(prompts.shown[0].buttons, Prompts::Buttons::YesNoCancel);
    ASSERT_TRUE(m.hasDocument());

    // Yes, then the save dialog is cancelled: still open, still changed.
    prompts.answerMessage(Prompts::Answer::Yes);
    prompts.cancelSave();
    run("Fclose");
    ASSERT_TRUE(m.hasDocument());
    EXPECT_EQ(m.currentDocument()->status(), kChanged);
    EXPECT_EQ(currentText(), QStringLiteral("text"));

    // Yes, and the save fails: still open.
    prompts.answerMessage(Prompts::Answer::Yes);
    prompts.answerSave(path(QStringLiteral("nodir/a.htm")));
    prompts.answerMessage(Prompts::Answer::Ok);
    run("MOneClose");
    ASSERT_TRUE(m.hasDocument());

    // Yes with a file that has a name already: the dialog proposes it.
    prompts.answerMessage(Prompts::Answer::Yes);
    prompts.answerSave(path(QStringLiteral("kept.htm")));
    run("MOneClose");
    EXPECT_FALSE(m.hasDocument());
    EXPECT_EQ(readAll(path(QStringLiteral("kept.htm"))), QByteArray("text"));
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Quillnest4 "));

    // No: closed without saving; unchanged documents close without a question.
    run("MWhite");
    edit(QStringLiteral("drop"));
    run("MWhite");
    prompts.answerMessage(Prompts::Answer::No);
    run("MOneClose");
    run("MOneClose");
    EXPECT_FALSE(m.hasDocument());
    EXPECT_EQ(prompts.messages().size(), 6);   // the last question was for "drop" only
}

TEST_F(FileCommandsTest, CloseAllStopsAtCancel)
{
    TFmMain& m = makeWindow();
    for (int i = 0; i < 3; ++i) {
        run("MWhite");
        edit(QStringLiteral("doc"));
    }
    prompts.answerMessage(Prompts::Answer::Cancel);
    run("MAllDelete");
    EXPECT_EQ(prompts.messages(), QStringList{QStringLiteral("Page1を保存しますか?")});
    EXPECT_EQ(m.editControl()->count(), 3);
    EXPECT_EQ(m.currentDocument()->number, 1);

    // No on the first, Yes with a cancelled dialog on the second: 2 and 3 stay.
    prompts.answerMessage(Prompts::Answer::No);
    prompts.answerMessage(Prompts::Answer::Yes);
    prompts.cancelSave();
    run("ToolAllDelete");
    EXPECT_EQ(m.editControl()->count(), 2);
    EXPECT_EQ(m.documentByNumber(1), nullptr);
    EXPECT_NE(m.documentByNumber(2), nullptr);

    prompts.answerMessage(Prompts::Answer::No);
    prompts.answerMessage(Prompts::Answer::No);
    run("MAllDelete");
    EXPECT_FALSE(m.hasDocument());
}

TEST_F(FileCommandsTest, ClosingTheWindowCanBeCancelledAndAlwaysWritesTheSettings)
{
    TFmMain& m = makeWindow(true);
    run("MWhite");
    edit(QStringLiteral("unsaved"));
    QFile::remove(iniPath());
    prompts.answerMessage(Prompts::Answer::Cancel);
    EXPECT_FALSE(m.close());
    EXPECT_TRUE(m.isVisible());
    EXPECT_TRUE(m.hasDocument());
    EXPECT_TRUE(QFile::exists(iniPath()));

    QFile::remove(iniPath());
    prompts.answerMessage(Prompts::Answer::No);
    EXPECT_TRUE(m.close());
    EXPECT_FALSE(m.hasDocument());
    EXPECT_TRUE(QFile::exists(iniPath()));
}

TEST_F(FileCommandsTest, SaveAllWritesEachDocumentInNumberOrder)
{
    TFmMain& m = makeWindow();
    Document& a = savedNew(path(QStringLiteral("a.htm")), QStringLiteral("A"));
    edit(QStringLiteral("2"));
    run("MWhite");                 // no file, changed
    edit(QStringLiteral("B"));
    run("MWhite");                 // no file, current, changed
    edit(QStringLiteral("C"));
    EXPECT_EQ(a.status(), kChanged);

    prompts.answerSave(path(QStringLiteral("b")), 3);
    prompts.cancelSave();
    run("MAllSave");
    ASSERT_EQ(prompts.shown.size(), 3u);   // a.htm's first save, then Page2 and Page3
    EXPECT_EQ(prompts.shown[1].file.proposedName, QStringLiteral("Page2"));
    EXPECT_EQ(readAll(path(QStringLiteral("a.htm"))), QByteArray("A2"));
    EXPECT_EQ(readAll(path(QStringLiteral("b.txt"))), QByteArray("B"));
    EXPECT_EQ(a.status(), kUnchanged);
    EXPECT_EQ(a.saveTime, kSavedAt);
    Document& b = *m.documentByNumber(2);
    EXPECT_EQ(b.path, path(QStringLiteral("b.txt")));
    EXPECT_TRUE(b.hasFile);
    EXPECT_EQ(m.editControl()->tabText(m.editControl()->indexOf(b.tab)), QStringLiteral("b.txt"));
    // The cancelled one, which is current, is shown as it is.
    EXPECT_EQ(m.currentDocument()->status(), kChanged);
    EXPECT_EQ(m.statusPanel(1), kChanged);
    EXPECT_EQ(m.statusPanel(2), kUnsaved);
    // Save all leaves the recent list alone.
    EXPECT_EQ(recent(1), path(QStringLiteral("a.htm")));
    EXPECT_EQ(recent(2), QStringLiteral("(なし)"));
}

TEST_F(FileCommandsTest, APathWithALineBreakStaysOutOfTheSettingsFile)
{
    makeWindow();
    const QString odd = path(QStringLiteral("two\nlines.htm"));
    savedNew(odd);
    EXPECT_EQ(readAll(odd), QByteArray("x"));
    EXPECT_EQ(recent(1), odd);
    const QByteArray ini = readAll(iniPath());
    EXPECT_FALSE(ini.contains("lines.htm"));
    EXPECT_TRUE(loadSettingsFile(iniPath()).mr[0].isEmpty());
    savedNew(path(QStringLiteral("next.htm")));
    EXPECT_EQ(loadSettingsFile(iniPath()).mr[1], path(QStringLiteral("next.htm")));
}

TEST_F(FileCommandsTest, PrintsTheWholeTextToAPdf)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    makeWindow();
    const QString file = path(QStringLiteral("print.htm"));
    QByteArray bytes;
    for (int i = 1; i <= 120; ++i)
        bytes += "<P>line " + QByteArray::number(i) + " \x82\xb1\x82\xf1\r\n";
    ASSERT_TRUE(writeAll(file, bytes));
    opened(file);

    const QString pdf = path(QStringLiteral("out.pdf"));
    prompts.printerSetupAnswers.push_back([](QPrinter&) { return true; });
    run("PrintSet");
    QPrinter* used = nullptr;
    prompts.printAnswers.push_back([&](QPrinter& p) {
        used = &p;
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        return true;
    });
    run("MPrintStart");
    ASSERT_NE(used, nullptr);
    EXPECT_EQ(used->docName(), file);   // the job title
    EXPECT_TRUE(prompts.messages().isEmpty());

    QProcess proc;
    proc.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(proc.waitForFinished(30000));
    const QString text = QString::fromUtf8(proc.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("<P>line 1 こん")));
    EXPECT_TRUE(text.contains(QStringLiteral("<P>line 120 こん")));
}

TEST_F(FileCommandsTest, MixedLineBreaksSurviveSavesAndNewLinesTakeTheFirstBreak)
{
    TFmMain& m = makeWindow(true);
    m.activateWindow();
    const QString file = path(QStringLiteral("mixed.htm"));
    const QByteArray bytes("a\r\nb\nc\rd\r\n");
    ASSERT_TRUE(writeAll(file, bytes));
    opened(file);
    // Ctrl+S with no edit, as a user presses it (over another program's
    // change, which it asks about first).
    ASSERT_TRUE(writeAll(file, "overwritten"));
    prompts.answerMessage(Prompts::Answer::Yes);
    QTest::keyClick(m.CurrentEdit(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(readAll(file), bytes);

    // A line split by the user: its untouched neighbours keep their breaks,
    // the new break is the file's first one.
    QTextCursor c(m.CurrentEdit()->document()->findBlockByNumber(1));
    c.movePosition(QTextCursor::EndOfBlock);
    m.CurrentEdit()->setTextCursor(c);
    QTest::keyClick(m.CurrentEdit(), Qt::Key_Return);
    QTest::keyClick(m.CurrentEdit(), Qt::Key_X);
    QTest::keyClick(m.CurrentEdit(), Qt::Key_S, Qt::ControlModifier);
    const QByteArray saved = readAll(file);
    EXPECT_TRUE(saved == "a\r\nb\nx\r\nc\rd\r\n" || saved == "a\r\nb\r\nx\nc\rd\r\n") << saved.toHex().toStdString();

    // Any mix of breaks comes back byte for byte when nothing was edited.
    std::mt19937 rng(8);
    const char* parts[] = {"\r\n", "\n", "\r", "x", "\x82\xa0", "\r\r\n", "\n\r"};
    const QString roundFile = path(QStringLiteral("round.htm"));
    for (int round = 0; round < 30; ++round) {
        QByteArray b;
        for (int k = int(rng() % 40); k > 0; --k)
            b += parts[rng() % 7];
        ASSERT_TRUE(writeAll(roundFile, b));
        opened(roundFile);
        ASSERT_TRUE(QFile::remove(roundFile));   // the save must write it again
        run("MSave");
        ASSERT_EQ(readAll(roundFile), b) << b.toHex().toStdString();
        run("MOneClose");
    }
}

TEST_F(FileCommandsTest, SaveAsAsksBeforeReplacingAFile)
{
    makeWindow();
    const QString existing = path(QStringLiteral("keep.htm"));
    ASSERT_TRUE(writeAll(existing, "precious"));
    run("MWhite");
    edit(QStringLiteral("new text"));
    // The name typed without its extension: the filter's extension makes it
    // the existing file.  No: the dialog comes again, and cancelling it
    // leaves the file alone.
    prompts.answerSave(path(QStringLiteral("keep")));
    prompts.answerMessage(Prompts::Answer::No);
    prompts.cancelSave();
    run("MSaveAs");
    EXPECT_EQ(readAll(existing), "precious");
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].contains(QStringLiteral("keep.htm")));
    EXPECT_EQ(w->statusPanel(1), kChanged);
    // Yes replaces it.
    prompts.answerSave(existing);
    prompts.answerMessage(Prompts::Answer::Yes);
    run("MSaveAs");
    EXPECT_EQ(readAll(existing), "new text");
    EXPECT_EQ(w->currentDocument()->path, existing);
}
