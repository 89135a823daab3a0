// With no icon theme installed, every item of the main window's menus, tool
// bars and pop-ups, and of the tag tree's and optioner's pop-ups, still
// shows a picture of its own.
#include "support/mainwindow.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>

TEST_F(MainWindowTest, EveryItemHasAnIconWithoutAnyTheme)
{
    const QString theme = QIcon::themeName();
    const QStringList paths = QIcon::themeSearchPaths();
    QIcon::setThemeSearchPaths({});
    QIcon::setThemeName(QString());
    TFmMain& m = makeWindow(true);

    QStringList bare;
    int seen = 0;
    const QList<QAction*> topMenus = m.menuBar()->actions();
    for (QAction* a : m.findChildren<QAction*>()) {
        if (a->isSeparator() || topMenus.contains(a) || a->objectName().isEmpty())
            continue;
        ++seen;
        if (a->icon().isNull() || a->icon().pixmap(16, 16).isNull())
            bare << a->objectName();
    }
    QIcon::setThemeSearchPaths(paths);
    QIcon::setThemeName(theme);
    EXPECT_GT(seen, 150);
    EXPECT_TRUE(bare.isEmpty()) << bare.join(u' ').toStdString();
}
