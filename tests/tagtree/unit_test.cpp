// The tag tree panel inside the main window.
#include "app/settings.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"
#include "tagtree/tagtreemodel.h"
#include "tagtree/tagtreepanel.h"
#include "tagtree/treeutil.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>

using TagTreeInWindow = MainWindowTest;

namespace {
TagTreePanel* panelOf(TFmMain& m)
{
    QWidget* page = m.findChild<QWidget*>("ToolTag2");
    return page ? page->findChild<TagTreePanel*>() : nullptr;
}
} // namespace

TEST_F(TagTreeInWindow, SitsInItsTabAndFollowsTheDocuments)
{
    TFmMain& m = makeWindow();
    TagTreePanel* p = panelOf(m);
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(p->MLayPaste->isEnabled());
    EXPECT_FALSE(p->MtUser->isEnabled());

    Document& first = m.NewDocument();
    EXPECT_TRUE(p->MLayPaste->isEnabled());
    p->selectNode(findNode(p->model()->tree(), "<UL></UL>"));
    emit first.edit->tagTreeDropped();
    EXPECT_EQ(editorText(*first.edit), "<UL><LI></UL>");

    // Every new editor takes drops; the text goes to the current one.
    Document& second = m.NewDocument();
    emit second.edit->tagTreeDropped();
    emit second.edit->tagTreeDropped();
    EXPECT_EQ(editorText(*second.edit), "<UL><LI></UL><UL><LI></UL>");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "</UL>");

    m.closeDocument(first.number);
    m.closeDocument(second.number);
    EXPECT_FALSE(p->MLayPaste->isEnabled());
}

TEST_F(TagTreeInWindow, UserTreeComesFromAndGoesToTheSettingsFile)
{
    Settings s;
    s.tree = path("old.lot");
    ASSERT_TRUE(saveSettingsFile(iniPath(), s));
    ASSERT_TRUE(writeAll(path("old.lot"), "OLD\r\n"));
    TFmMain& m = makeWindow();
    TagTreePanel* p = panelOf(m);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->MtUser->isEnabled());
    EXPECT_EQ(p->MtUser->text(), path("old.lot"));
    // The tree itself is not loaded at start-up.
    EXPECT_EQ(p->model()->tree().topLevel().front()->text, "<HTML></HTML>");
    p->MtUser->trigger();
    EXPECT_EQ(outline(p->model()->tree()), "OLD");

    prompts.answerSave(path("new"));
    p->S1->trigger();
    EXPECT_EQ(m.settings().tree, path("new.lot"));
    EXPECT_EQ(parseSettings(readAll(iniPath())).tree, path("new.lot"));
    EXPECT_EQ(readAll(path("new.lot")), QByteArray("OLD\r\n"));
}
