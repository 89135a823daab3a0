#include "tagtree/lotfile.h"
#include "tagtree/tagtreemodel.h"
#include "tagtree/tagtreepanel.h"
#include "tagtree/tfmedit.h"
#include "tagtree/treeutil.h"
#include "app/editorport.h"
#include "support/scriptedprompts.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A plain editor standing in for the current document.
struct EditPort final : EditorPort {
    QPlainTextEdit edit;
    bool documentOpen = true;

    bool hasDocument() const override { return documentOpen; }
    void InsertAtCaret(const QString& text) override { insertText(text); }
    // Inserts as the main window does: one edit at the caret.
    bool insertText(const QString& text) override
    {
        if (!documentOpen)
            return false;
        QTextCursor c = edit.textCursor();
        c.beginEditBlock();
        c.insertText(text);
        c.endEditBlock();
        edit.setTextCursor(c);
        return true;
    }
    void InsertTag(const QString&) override {}
    void focusEditor() override { edit.setFocus(); }
    QString CaretTagText() const override { return {}; }
};

class PanelTest : public ::testing::Test {
protected:
    ScriptedPrompts prompts;
    EditPort port;
    QPlainTextEdit& edit = port.edit;
    bool& documentOpen = port.documentOpen;
    QStringList savedPaths;
    TagTreePanel panel{prompts, port,
                       TagTreeHost{[] { return QPoint(100, 50); }, [this](const QString& p) { savedPaths << p; }}};

    TagTree& tree() { return panel.model()->tree(); }
    void setTree(const QString& spec)
    {
        panel.model()->replace([&](TagTree& t) { buildOutline(t, spec); });
    }
    void select(const QString& text) { panel.selectNode(findNode(tree(), text)); }
    // Answers the next edit dialog by typing `text` and pressing a button.
    void answerEdit(const QString& text, bool ok = true)
    {
        prompts.answerDialog([=](QDialog& d) {
            auto& dlg = static_cast<TFmEdit&>(d);
            dlg.Edit->setEditText(text);
            (ok ? dlg.BOK : dlg.BitBtn1)->click();
            return dlg.result();
        });
    }
    void TearDown() override { EXPECT_TRUE(prompts.exhausted()); }
};

} // namespace

TEST_F(PanelTest, StartsWithTheStartupTree)
{
    EXPECT_TRUE(outline(tree()).startsWith("<HTML></HTML>|.<HEAD></HEAD>|..<TITLE></TITLE>|.<BODY></BODY>"));
    EXPECT_EQ(panel.TagTree->objectName(), "TagTree");
    EXPECT_FALSE(panel.MLayPaste->isEnabled());
    EXPECT_FALSE(panel.MtUser->isEnabled());
    EXPECT_EQ(panel.MtUser->text(), "ﾕｰｻﾞ設定");
    EXPECT_EQ(panel.selectedNode(), nullptr);
}

TEST_F(PanelTest, PasteIsOneEditAtTheCaret)
{
    edit.setPlainText("ab");
    QTextCursor c = edit.textCursor();
    c.setPosition(1);
    edit.setTextCursor(c);
    setTree("<UL></UL>|.<LI>");
    select("<UL></UL>");
    panel.PasteTagSubtree();
    EXPECT_EQ(edit.toPlainText(), "a<UL><LI></UL>b");
    EXPECT_EQ(edit.textCursor().position(), 14);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "</UL>");

    // Five lines: separated by LF; the selection is replaced; one undo step.
    setTree("<A>|.<B></B>|.<C></C>|.<D></D>|.<E></E>");
    select("<A>");
    c = edit.textCursor();
    c.setPosition(1);
    c.setPosition(14, QTextCursor::KeepAnchor);
    edit.setTextCursor(c);
    panel.MLayPasteClick();
    EXPECT_EQ(edit.toPlainText(), "a<A>\n<B></B>\n<C></C>\n<D></D>\n<E></E>b");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "<E></E>");
    edit.undo();
    EXPECT_EQ(edit.toPlainText(), "a<UL><LI></UL>b");
}

TEST_F(PanelTest, PasteNeedsADocumentAndASelection)
{
    edit.setPlainText("x");
    QGuiApplication::clipboard()->setText("before");
    panel.PasteTagSubtree();   // nothing selected
    select("<BR>");
    documentOpen = false;
    panel.PasteTagSubtree();
    EXPECT_EQ(edit.toPlainText(), "x");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
}

TEST_F(PanelTest, DragDropMoves)
{
    setTree("P|.a|.b|.c|Q");
    QAbstractItemModelTester check(panel.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    select("c");
    panel.TagTreeDragDrop(panel.model()->indexOf(findNode(tree(), "a")));
    EXPECT_EQ(outline(tree()), "P|.c|.a|.b|Q");
    EXPECT_EQ(panel.selectedNode()->text, "c");
    EXPECT_TRUE(panel.TagTree->isExpanded(panel.model()->indexOf(findNode(tree(), "P"))));

    select("b");
    panel.TagTreeDragDrop(panel.model()->indexOf(findNode(tree(), "P")));
    EXPECT_EQ(outline(tree()), "b|P|.c|.a|Q");

    // On itself, into its own subtree, on empty space: nothing changes.
    select("P");
    panel.TagTreeDragDrop(panel.model()->indexOf(findNode(tree(), "P")));
    panel.TagTreeDragDrop(panel.model()->indexOf(findNode(tree(), "a")));
    panel.TagTreeDragDrop(QModelIndex());
    EXPECT_EQ(outline(tree()), "b|P|.c|.a|Q");
}

TEST_F(PanelTest, DeleteAndDuplicateFollowTheSelection)
{
    setTree("<HTML></HTML>|.<BODY></BODY>|..<P>|...<B></B>");
    QAbstractItemModelTester check(panel.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    select("<HTML></HTML>");
    EXPECT_FALSE(panel.MTagCopy->isEnabled());
    EXPECT_FALSE(panel.MTagDelete->isEnabled());
    select("<BODY></BODY>");
    EXPECT_TRUE(panel.MTagCopy->isEnabled());
    EXPECT_TRUE(panel.MTagDelete->isEnabled());

    panel.MTagCopyClick();
    EXPECT_EQ(outline(tree()), "<HTML></HTML>|.<BODY></BODY>|..<P>|...<B></B>|.<BODY></BODY>|..<P>|...<B></B>");
    EXPECT_EQ(panel.selectedNode(), tree().topLevel()[0]->children[1]);
    EXPECT_EQ(tree().topLevel()[0]->children[0]->imageIndex, 0);

    panel.MTagDeleteClick();
    EXPECT_EQ(outline(tree()), "<HTML></HTML>|.<BODY></BODY>|..<P>|...<B></B>");
}

TEST_F(PanelTest, NewAndEditThroughTheDialog)
{
    setTree("A|.B");
    // A new node with nothing selected is the last top-level node; the
    // dialog opens below the last mouse press.
    panel.TagTreeMouseDown(QPoint(7, 9));
    answerEdit("<B></B>");
    panel.N31Click();
    EXPECT_EQ(outline(tree()), "A|.B|<B></B>");
    EXPECT_EQ(panel.FmEdit->pos(), QPoint(107, 239));

    select("A");
    answerEdit("<B></B>");
    panel.N31Click();
    EXPECT_EQ(outline(tree()), "A|.B|.<B></B>|<B></B>");
    EXPECT_EQ(panel.FmEdit->history(), QStringList{"<B></B>"});

    // Edit: cancel changes nothing; an empty text is set but not remembered.
    select("B");
    answerEdit("zzz", false);
    panel.Edit1Click();
    answerEdit("<I></I>");
    panel.Edit1Click();
    select("<I></I>");
    answerEdit("");
    panel.Edit1Click();
    EXPECT_EQ(outline(tree()), "A|.|.<B></B>|<B></B>");
    EXPECT_EQ(panel.FmEdit->history(), (QStringList{"<I></I>", "<B></B>"}));

    // The dialog shows the node's text; closing it is a cancel.
    select("A");
    prompts.answerDialog([](QDialog& d) {
        EXPECT_EQ(static_cast<TFmEdit&>(d).Edit->currentText(), "A");
        d.reject();
        return 0;
    });
    panel.Edit1Click();
    EXPECT_EQ(tree().topLevel()[0]->text, "A");
}

TEST_F(PanelTest, RightClickKeepsTheSelection)
{
    setTree("A|B|C");
    panel.resize(200, 200);
    panel.show();
    select("A");
    const QRect r = panel.TagTree->visualRect(panel.model()->indexOf(findNode(tree(), "C")));
    QMouseEvent press(QEvent::MouseButtonPress, r.center(), panel.TagTree->viewport()->mapToGlobal(r.center()),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(panel.TagTree->viewport(), &press);
    EXPECT_EQ(panel.selectedNode()->text, "A");
    EXPECT_EQ(panel.lastTreeMousePos(), r.center());
}

TEST_F(PanelTest, SaveOpenAndUserTree)
{
    QTemporaryDir dir;
    setTree("X|.Y");
    prompts.answerSave(dir.filePath("mine"));
    panel.S1Click();
    const QString saved = dir.filePath("mine.lot");
    EXPECT_EQ(readAll(saved), QByteArray("X\r\n\tY\r\n"));
    EXPECT_EQ(savedPaths, QStringList{saved});
    EXPECT_EQ(panel.MtUser->text(), saved);
    EXPECT_TRUE(panel.MtUser->isEnabled());
    EXPECT_EQ(prompts.shown.back().file.filter, "ﾚｲｱｳﾄﾀｸﾞﾌｧｲﾙ(*.lot)|*.lot");

    // Another file opened: the user tree stays.
    ASSERT_TRUE(writeAll(dir.filePath("other.txt"), "O\n P\n"));
    prompts.answerOpen(dir.filePath("other.txt"));
    panel.N21Click();
    EXPECT_EQ(outline(tree()), "O|.P");
    EXPECT_EQ(panel.MtUser->text(), saved);
    panel.MtUserClick();
    EXPECT_EQ(outline(tree()), "X|.Y");

    // Cancelled dialogs change nothing.
    prompts.cancelOpen();
    panel.N21Click();
    prompts.cancelSave();
    panel.S1Click();
    EXPECT_EQ(outline(tree()), "X|.Y");
    EXPECT_EQ(savedPaths.size(), 1);

    // A name with another extension is used as it stands.
    prompts.answerSave(dir.filePath("t.txt"));
    panel.S1Click();
    EXPECT_TRUE(QFile::exists(dir.filePath("t.txt")));
    EXPECT_EQ(panel.MtUser->text(), dir.filePath("t.txt"));
}

TEST_F(PanelTest, FileFailures)
{
    QTemporaryDir dir;
    setTree("K");
    // Unwritable: message, the user tree is unchanged.
    const QString bad = dir.filePath("none/x.lot");
    prompts.answerSave(bad);
    prompts.answerMessage(Prompts::Answer::Ok);
    panel.S1Click();
    EXPECT_EQ(prompts.messages().back(), QStringLiteral("ファイル %1 を作成できません").arg(bad));
    EXPECT_TRUE(savedPaths.isEmpty());
    EXPECT_FALSE(panel.MtUser->isEnabled());

    // A folder, or a file gone: message, the tree is unchanged.
    prompts.answerOpen(dir.path());
    prompts.answerMessage(Prompts::Answer::Ok);
    panel.N21Click();
    EXPECT_EQ(prompts.messages().back(), QStringLiteral("ファイル %1 は開けません").arg(dir.path()));
    EXPECT_EQ(outline(tree()), "K");

    // Level error on line 2: message, the first node stays.
    ASSERT_TRUE(writeAll(dir.filePath("deep.lot"), "A\r\n\t\tB\r\nC\r\n"));
    prompts.answerOpen(dir.filePath("deep.lot"));
    prompts.answerMessage(Prompts::Answer::Ok);
    panel.N21Click();
    EXPECT_EQ(prompts.messages().back(), QStringLiteral("アイテム \"B\" の階層 (2) が不正です"));
    EXPECT_EQ(outline(tree()), "A");

    // Binary garbage loads without a crash (the NUL-free part up to its
    // first bad indentation).
    QByteArray junk;
    for (int i = 1; i < 4096; ++i)
        junk.append(char(((i * 7919) & 0xFF) | 1));
    junk.append("\n\t\t\tend");
    ASSERT_TRUE(writeAll(dir.filePath("junk.lot"), junk));
    prompts.answerOpen(dir.filePath("junk.lot"));
    prompts.answerMessage(Prompts::Answer::Ok);
    panel.N21Click();
    EXPECT_EQ(prompts.messages().size(), 4);
}

TEST_F(PanelTest, CataloguesReplaceTheTree)
{
    panel.N29Click();
    const QString links = outline(tree());
    EXPECT_EQ(links, "<ﾘﾝｸ>|.<A></A>|.<BASE></BASE>");
    select("<A></A>");
    panel.MTagDeleteClick();
    panel.N29Click();
    EXPECT_EQ(outline(tree()), links);
    panel.N20Click();
    EXPECT_EQ(outline(tree()), "<HTML></HTML>|.<HEAD></HEAD>|.<BODY></BODY>");
    panel.N23Click();
    EXPECT_EQ(tree().nodeCount(), 27);
    EXPECT_EQ(panel.C3->actions().size(), 11);
    EXPECT_EQ(panel.PopTag2->actions().size(), 11);
    panel.setUserTreePath("/a&b.lot");
    EXPECT_EQ(panel.MtUser->text(), "/a&&b.lot");
    EXPECT_EQ(panel.userTreePath(), "/a&b.lot");
}

TEST_F(PanelTest, ClickingTheProtectedNodeAfterFocusDisablesDeleteAndDuplicate)
{
    // The start-up tree; the view, on getting the focus, makes its first row
    // current without selecting it, and the click then only selects it.
    panel.resize(200, 300);
    panel.show();
    panel.activateWindow();
    panel.TagTree->setFocus();
    QApplication::processEvents();
    const QModelIndex html = panel.model()->index(0, 0);
    ASSERT_EQ(panel.model()->nodeAt(html)->text, "<HTML></HTML>");
    QTest::mouseClick(panel.TagTree->viewport(), Qt::LeftButton, {},
                      panel.TagTree->visualRect(html).center());
    ASSERT_EQ(panel.selectedNode()->text, "<HTML></HTML>");
    EXPECT_FALSE(panel.MTagDelete->isEnabled());
    EXPECT_FALSE(panel.MTagCopy->isEnabled());
    panel.MTagDeleteClick();
    EXPECT_TRUE(outline(tree()).startsWith("<HTML></HTML>|.<HEAD></HEAD>"));
}

TEST_F(PanelTest, SavingATreeAsksBeforeReplacingAFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("mine.lot"));
    ASSERT_TRUE(writeAll(file, "old\r\n"));
    prompts.answerSave(dir.filePath(QStringLiteral("mine")));
    prompts.answerMessage(Prompts::Answer::No);
    prompts.cancelSave();
    panel.S1Click();
    EXPECT_EQ(readAll(file), "old\r\n");
    EXPECT_TRUE(savedPaths.isEmpty());
}
