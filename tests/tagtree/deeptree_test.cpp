// Trees deeper than the tree view can lay out (it recurses once per expanded
// level) are never built: a file that deep is refused by name and depth, and
// new nodes and moves stop at the limit.  Expand-all ('*' on a node, as the
// user presses it) must stay safe on whatever the panel holds.
#include "tagtree/lotfile.h"
#include "tagtree/tagtreemodel.h"
#include "tagtree/tagtreepanel.h"
#include "tagtree/treeutil.h"
#include "support/fakeeditorport.h"
#include "support/scriptedprompts.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A chain of `levels` nested "<B></B>" nodes, then `extra` (already
// indented) lines.  The indentation makes the file grow with the square of
// the depth: 32,000 levels are about 512 MB.
bool writeChain(const QString& path, int levels, const QByteArray& extra = {})
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const QByteArray tabs(levels, '\t');
    QByteArray chunk;
    chunk.reserve(9 << 20);
    for (int i = 0; i < levels; ++i) {
        chunk.append(tabs.constData(), i);
        chunk.append("<B></B>\r\n");
        if (chunk.size() > (8 << 20)) {
            if (f.write(chunk) != chunk.size())
                return false;
            chunk.resize(0);
        }
    }
    chunk.append(extra);
    return f.write(chunk) == chunk.size() && f.flush();
}

class DeepTreeTest : public ::testing::Test {
protected:
    ScriptedPrompts prompts;
    FakeEditorPort editor;
    TagTreePanel panel{prompts, editor, TagTreeHost{[] { return QPoint(); }, [](const QString&) {}}};
    // In memory where there is a memory file system: the big file is
    // written and read once.
    QTemporaryDir dir{(QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                           : QDir::tempPath())
                      + QStringLiteral("/qn4-deeptree-XXXXXX")};

    void SetUp() override
    {
        panel.resize(240, 320);
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    }
    void TearDown() override { EXPECT_TRUE(prompts.exhausted()); }

    TagTree& tree() { return panel.model()->tree(); }
    void open(const QString& path)
    {
        prompts.answerOpen(path);
        panel.N21->trigger();
    }
    // Selects the first top-level node and presses '*' in the view.
    void expandAllFromTop()
    {
        const QModelIndex top = panel.model()->index(0, 0);
        panel.TagTree->setFocus();
        panel.TagTree->selectionModel()->setCurrentIndex(top, QItemSelectionModel::ClearAndSelect);
        QTest::keyClick(panel.TagTree, Qt::Key_Asterisk);
        panel.TagTree->viewport()->repaint();
        QApplication::processEvents();
    }
    TagNode* deepest()
    {
        TagNode* n = tree().topLevel().front();
        while (!n->children.empty())
            n = n->children.front();
        return n;
    }
};

} // namespace

TEST_F(DeepTreeTest, AFileTooDeepToShowIsRefusedByNameAndDepth)
{
    const QString path = dir.filePath(QStringLiteral("deep.lot"));
    ASSERT_TRUE(writeChain(path, 32000));
    const QString before = outline(tree());

    prompts.answerMessage(Prompts::Answer::Ok);
    open(path);
    // Expand-all on what the panel then holds lays it out without a crash.
    expandAllFromTop();

    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages().back(),
              QStringLiteral("ファイル %1 は開けません\nツリーの階層が 32000 段あり、深すぎます（1000 段まで開けます）")
                  .arg(path));
    EXPECT_EQ(outline(tree()), before) << "the tree shown stays";
    EXPECT_TRUE(panel.TagTree->isExpanded(panel.model()->indexOf(findNode(tree(), "<TABLE></TABLE>"))));
}

TEST_F(DeepTreeTest, ATreeAtTheLimitLoadsExpandsScrollsAndSelects)
{
    const QString path = dir.filePath(QStringLiteral("limit.lot"));
    ASSERT_TRUE(writeChain(path, kMaxTagTreeLevels, "top\r\n"));
    open(path);
    EXPECT_TRUE(prompts.messages().isEmpty());
    ASSERT_EQ(tree().nodeCount(), kMaxTagTreeLevels + 1);

    expandAllFromTop();
    TagNode* bottom = deepest();
    EXPECT_EQ(TagTree::level(bottom), kMaxTagTreeLevels - 1);
    const QModelIndex bottomIndex = panel.model()->indexOf(bottom);
    EXPECT_TRUE(panel.TagTree->isExpanded(panel.model()->indexOf(bottom->parent)));

    // A resize lays the whole expanded tree out again; then the deepest node
    // is selected and scrolled to.
    panel.resize(300, 200);
    QApplication::processEvents();
    panel.selectNode(bottom);
    panel.TagTree->scrollTo(bottomIndex);
    panel.TagTree->viewport()->repaint();
    EXPECT_EQ(panel.selectedNode(), bottom);
    EXPECT_EQ(panel.TagTree->indexBelow(panel.model()->indexOf(bottom->parent)), bottomIndex);
    // Its row is on screen (its text stands far to the right of the column).
    bool onScreen = false;
    for (int y = 0; y < panel.TagTree->viewport()->height(); ++y)
        onScreen = onScreen || panel.TagTree->indexAt(QPoint(1, y)) == bottomIndex;
    EXPECT_TRUE(onScreen);

    // A file one level deeper is refused and this tree stays; the user tree
    // entry loads the same way.
    const QString over = dir.filePath(QStringLiteral("over.lot"));
    ASSERT_TRUE(writeChain(over, kMaxTagTreeLevels + 1));
    panel.setUserTreePath(over);
    prompts.answerMessage(Prompts::Answer::Ok);
    panel.MtUser->trigger();
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages().back().contains(QStringLiteral("1001 段")));
    EXPECT_EQ(tree().nodeCount(), kMaxTagTreeLevels + 1);
}

TEST_F(DeepTreeTest, NewNodesAndMovesStopAtTheLimit)
{
    panel.model()->replace([](TagTree& t) {
        TagNode* n = nullptr;
        for (int i = 0; i < kMaxTagTreeLevels; ++i)
            n = t.append(n, QStringLiteral("L%1").arg(i));
        t.append(nullptr, QStringLiteral("leaf"));
        TagNode* pair = t.append(nullptr, QStringLiteral("pair"));
        t.append(pair, QStringLiteral("child"));
    });
    const QString before = outline(tree());
    TagNode* bottom = findNode(tree(), QStringLiteral("L%1").arg(kMaxTagTreeLevels - 1));

    // "New" under the deepest node: a message before any dialog, no node.
    panel.selectNode(bottom);
    prompts.answerMessage(Prompts::Answer::Ok);
    panel.N31->trigger();
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages().back(),
              QStringLiteral("ツリーは 1000 段までです。これより深い段には追加できません"));
    EXPECT_EQ(outline(tree()), before);

    // A node with a child dropped beside the deepest node would reach 1001
    // levels: refused with a message.
    panel.selectNode(findNode(tree(), "pair"));
    prompts.answerMessage(Prompts::Answer::Ok);
    panel.TagTreeDragDrop(panel.model()->indexOf(bottom));
    ASSERT_EQ(prompts.messages().size(), 2);
    EXPECT_EQ(prompts.messages().back(),
              QStringLiteral("ツリーは 1000 段までです。ここへ移すと 1001 段になるため移せません"));
    EXPECT_EQ(outline(tree()), before);

    // A leaf fits there exactly.
    panel.selectNode(findNode(tree(), "leaf"));
    panel.TagTreeDragDrop(panel.model()->indexOf(bottom));
    EXPECT_EQ(TagTree::level(findNode(tree(), "leaf")), kMaxTagTreeLevels - 1);
    EXPECT_EQ(prompts.messages().size(), 2);

    // The model refuses the same on its own.
    EXPECT_EQ(panel.model()->appendNode(bottom, "x", 2), nullptr);
    EXPECT_FALSE(panel.model()->moveBefore(findNode(tree(), "pair"), bottom));
    expandAllFromTop();
}
