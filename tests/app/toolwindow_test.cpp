// The tool-window base: placed once, launchers off while shown and on again
// after closing, the placed flag readable by anyone holding the launcher.
#include "app/toolwindow.h"
#include "support/mainwindow.h"

#include <QAction>
#include <QSignalSpy>

TEST_F(MainWindowTest, ToolWindowIsPlacedOnceAndSwitchesItsLaunchers)
{
    TFmMain& m = makeWindow(true);
    m.move(40, 30);
    QWidget tool(&m, Qt::Tool);
    tool.resize(200, 100);
    QAction menuItem(QStringLiteral("menu")), toolButton(QStringLiteral("button"));
    menuItem.setEnabled(false);   // the launcher makes them usable
    ToolWindow launcher(tool, m, QPoint(290, 100), {&menuItem, &toolButton, nullptr});
    EXPECT_TRUE(menuItem.isEnabled());
    EXPECT_FALSE(launcher.placed());
    QSignalSpy closed(&launcher, &ToolWindow::closed);

    menuItem.trigger();
    EXPECT_TRUE(tool.isVisible());
    EXPECT_TRUE(launcher.placed());
    EXPECT_EQ(tool.pos(), m.pos() + QPoint(290, 100));
    EXPECT_FALSE(menuItem.isEnabled());
    EXPECT_FALSE(toolButton.isEnabled());

    tool.move(500, 400);   // the user moves it
    tool.close();
    EXPECT_FALSE(tool.isVisible());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(menuItem.isEnabled());
    EXPECT_TRUE(toolButton.isEnabled());

    // Later openings keep wherever the window last was.
    m.move(10, 10);
    toolButton.trigger();
    EXPECT_EQ(tool.pos(), QPoint(500, 400));
    EXPECT_FALSE(menuItem.isEnabled());
}
