// The documents object: what a failed open or save leaves behind, and the
// status that follows each editor's modified flag.
#include "app/documents.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

TEST_F(MainWindowTest, DocumentsLoseNothingOnFailureAndShowTheirOwnStatus)
{
    TFmMain& m = makeWindow(true);
    Documents& docs = m.documents();

    // A failed open makes no tab and says why, naming the file.
    const Result<Document*> missing = docs.open(path(QStringLiteral("missing.htm")));
    EXPECT_EQ(missing.value(), nullptr);
    EXPECT_TRUE(missing.isFailed());
    EXPECT_TRUE(missing.message().contains(QStringLiteral("missing.htm")));
    EXPECT_EQ(m.editControl()->count(), 0);
    EXPECT_EQ(docs.count(), 0);

    const QString file = path(QStringLiteral("a.htm"));
    ASSERT_TRUE(writeAll(file, "abc\r\n"));
    Document* a = docs.open(file).value();
    ASSERT_NE(a, nullptr);
    QString error;
    Document& b = docs.createBlank(false);
    QTest::keyClicks(b.edit, "typed");
    EXPECT_EQ(m.statusPanel(1), kStatusChanged);

    // A failed save as keeps the old name, the file flag and the change.
    QSignalSpy state(&docs, &Documents::stateChanged);
    EXPECT_FALSE(docs.saveAs(b, path(QStringLiteral("no/such/folder/b.htm")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("b.htm")));
    EXPECT_EQ(b.path, QStringLiteral("Page2"));
    EXPECT_FALSE(b.hasFile);
    EXPECT_TRUE(b.modified());
    EXPECT_EQ(state.count(), 0);

    // The status panel follows the document a click on its tab brings up.
    QTabBar* tabs = m.editControl()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    ASSERT_EQ(m.currentDocument(), a);
    EXPECT_EQ(m.statusPanel(1), kStatusUnchanged);
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Quillnest4 - ") + file);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    EXPECT_EQ(m.statusPanel(1), kStatusChanged);

    // A save that works is announced once and clears the status.
    const QString saved = path(QStringLiteral("b.htm"));
    EXPECT_TRUE(docs.saveAs(b, saved, &error));
    EXPECT_EQ(state.count(), 1);
    EXPECT_EQ(b.status(), kStatusUnchanged);
    EXPECT_EQ(m.statusPanel(1), kStatusUnchanged);
    EXPECT_EQ(m.statusPanel(2), QStringLiteral("保存時間：21:05:03"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("b.htm"));
    EXPECT_EQ(readAll(saved), "typed");
}

TEST_F(MainWindowTest, AnOpenStoppedHalfWayLeavesNoTabAndNoMessage)
{
    TFmMain& m = makeWindow(true);
    const QString file = path(QStringLiteral("big.htm"));
    QByteArray bytes;
    while (bytes.size() < 3 * kFillPieceBytes)
        bytes += "<TD>cell</TD>\r\n";
    ASSERT_TRUE(writeAll(file, bytes));
    int calls = 0;
    const Result<Document*> stopped = m.documents().open(file, [&](qsizetype done, qsizetype total) {
        ++calls;
        EXPECT_LT(done, total);
        return false;   // the user pressed "中止"
    });
    EXPECT_EQ(stopped.value(), nullptr);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(stopped.isCancelled());
    EXPECT_TRUE(stopped.message().isEmpty());
    EXPECT_EQ(m.editControl()->count(), 0);
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Quillnest4 "));
    EXPECT_EQ(readAll(file), bytes);
    // Let through, the same file opens whole.
    ASSERT_NE(m.documents().open(file, [](qsizetype, qsizetype) { return true; }).value(), nullptr);
    EXPECT_EQ(m.CurrentEdit()->document()->blockCount(), bytes.count('\n') + 1);
}
