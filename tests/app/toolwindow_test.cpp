// The tool-window base: placed once, launchers off while shown and on again
// after closing, the placed flag readable by anyone holding the launcher.
#include "app/toolwindow.h"
#include "support/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QSignalSpy>
#include <vector>

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

// A launcher's step runs while the window is still hidden; a launch from a
// hand-over skips it.
TEST_F(MainWindowTest, ToolWindowRunsItsBeforeLaunchStepOnlyForItsLaunchers)
{
    TFmMain& m = makeWindow(true);
    QWidget tool(&m, Qt::Tool);
    QAction menuItem(QStringLiteral("menu"));
    ToolWindow launcher(tool, m, QPoint(290, 100), {&menuItem});
    std::vector<bool> shownAtStep;
    launcher.setBeforeLaunch([&] { shownAtStep.push_back(tool.isVisible()); });

    menuItem.trigger();
    EXPECT_EQ(shownAtStep, std::vector<bool>{false});
    EXPECT_TRUE(tool.isVisible());
    tool.close();
    launcher.launch();
    EXPECT_TRUE(tool.isVisible());
    EXPECT_EQ(shownAtStep.size(), 1u);
}

// Every builder and tool window goes with the main window (Qt's quit gives up
// at the first window that only hides itself), and none when the user
// cancels the close at a save question.
TEST_F(MainWindowTest, ClosingTheMainWindowClosesEveryToolWindowUnlessCancelled)
{
    TFmMain& m = makeWindow(true);
    m.action("MWhite")->trigger();
    type(QStringLiteral("x"));
    for (const char* launcher : {"MTable", "MList", "MCg", "MSound", "MTo2", "MColor"})
        m.action(launcher)->trigger();
    QList<QWidget*> tools;
    for (QWidget* t : QApplication::topLevelWidgets())
        if (t != &m && t->isVisible())
            tools << t;
    ASSERT_EQ(tools.size(), 6);

    prompts.answerMessage(Prompts::Answer::Cancel);
    EXPECT_FALSE(m.close());
    EXPECT_TRUE(m.isVisible());
    for (QWidget* t : tools)
        EXPECT_TRUE(t->isVisible()) << t->objectName().toStdString();

    prompts.answerMessage(Prompts::Answer::No);
    EXPECT_TRUE(m.close());
    EXPECT_FALSE(m.isVisible());
    for (QWidget* t : tools)
        EXPECT_FALSE(t->isVisible()) << t->objectName().toStdString();
}
