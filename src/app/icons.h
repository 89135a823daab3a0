#pragma once
// The program's icons: the desktop theme's icon where a standard one fits,
// our own drawing (bundled with the program) where the theme has none or
// no standard name fits.

#include <QIcon>
#include <QString>

// One of our own drawings by name ("save", "table", "tree-leaf", ...); a
// null icon for an unknown name.
QIcon bundledIcon(const QString& name);
// The theme's icon `themeName`, else our drawing `name`.
QIcon themedIcon(const QString& themeName, const QString& name);
// A small square of one colour, framed (colour menus).
QIcon colorSwatch(const QColor& color);
// The icon of a main-window item (menu item, tool or function-key button)
// by its object name; a plain tag icon for names it does not know.
QIcon itemIcon(const QString& objectName);
