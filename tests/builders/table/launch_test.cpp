// The table and list builders as a user reaches them: from the Tools menu
// and the tool bar of the main window, placed once, their launchers off
// while they are open, their insert controls following the documents.
#include "builders/list/tfmlist.h"
#include "builders/table/tfmtablebody.h"
#include "support/mainwindow.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

TEST_F(MainWindowTest, TableAndListBuildersOpenFromTheMainWindow)
{
    TFmMain& m = makeWindow(true);
    m.move(50, 40);
    const MainControls& c = m.controls();

    // The tool bar button, clicked.
    QTest::mouseClick(c.ToolBar->widgetForAction(c.ToolTable), Qt::LeftButton);
    auto* table = m.findChild<TFmTableBody*>();
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->isVisible());
    EXPECT_EQ(table->pos(), m.pos() + QPoint(290, 100));
    EXPECT_FALSE(c.MTable->isEnabled());
    EXPECT_FALSE(c.ToolTable->isEnabled());
    EXPECT_FALSE(table->MTd()->isEnabled()) << "no document yet";
    m.action("MWhite")->trigger();
    EXPECT_TRUE(table->MTd()->isEnabled());
    table->close();
    EXPECT_TRUE(c.MTable->isEnabled());

    // The menu item.
    c.MList->trigger();
    auto* list = m.findChild<TFmList*>();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    EXPECT_FALSE(c.ToolList->isEnabled());
    EXPECT_TRUE(list->ListPaste()->isEnabled());
    m.action("MOneClose")->trigger();
    EXPECT_FALSE(list->ListPaste()->isEnabled()) << "the last document closed";
    EXPECT_FALSE(list->MPopList()->isEnabled());
}
