#include "app/icons.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace {

struct IconName {
    const char* theme;   // freedesktop name, or nullptr when none fits
    const char* own;     // our drawing
};

// Menu items and the buttons that do the same share a row.
const QHash<QString, IconName>& itemIcons()
{
    static const QHash<QString, IconName> table = [] {
        QHash<QString, IconName> t;
        auto add = [&t](std::initializer_list<const char*> names, const char* theme, const char* own) {
            for (const char* n : names)
                t.insert(QLatin1String(n), IconName{theme, own});
        };
        add({"MNew", "ToolNew", "FNew"}, "document-new", "new");
        add({"MWhite", "ToolWhite", "FWhite"}, nullptr, "blank");
        add({"MFrame", "ToolFrame", "FFrame"}, nullptr, "frame");
        add({"MOpen", "ToolOpen", "FOpen"}, "document-open", "open");
        add({"N13", "MR1", "MR2", "MR3", "MR4", "MR5"}, "document-open-recent", "recent");
        add({"MSave", "ToolSave"}, "document-save", "save");
        add({"MSaveAs", "FSaveAs"}, "document-save-as", "save-as");
        add({"MAllSave", "ToolAllSave"}, nullptr, "save-all");
        add({"MOneClose", "Fclose", "MClose2"}, "document-close", "close");
        add({"MAllDelete", "ToolAllDelete"}, nullptr, "close-all");
        add({"MPrint", "MPrintStart", "ToolPrint"}, "document-print", "print");
        add({"PrintSet"}, "document-page-setup", "print");
        add({"MExit"}, "application-exit", "exit");
        add({"MUndo", "ToolUndo"}, "edit-undo", "undo");
        add({"MCut", "MCut2", "ToolCut"}, "edit-cut", "cut");
        add({"MCopy", "MCopy2", "ToolCopy"}, "edit-copy", "copy");
        add({"MPaste", "MPaste2", "ToolPaste"}, "edit-paste", "paste");
        add({"MDelete"}, "edit-delete", "delete");
        add({"MOne", "NOne2"}, nullptr, "select-line");
        add({"MAllSelect"}, "edit-select-all", "select-all");
        add({"MDate", "MDate1", "MDate2", "MDate3"}, nullptr, "date");
        add({"MHour1", "MHour2"}, nullptr, "clock");
        add({"MSjis"}, nullptr, "convert");
        add({"MToolbar", "MBuild", "MSearch", "MFK", "MColoring"}, nullptr, "view");
        add({"MColor", "ToolColor", "MEasy"}, nullptr, "color");
        add({"MCg", "ToolCg"}, nullptr, "image");
        add({"MSound", "ToolSound"}, nullptr, "sound");
        add({"MTable", "ToolTable"}, nullptr, "table");
        add({"MList", "ToolList"}, nullptr, "list");
        add({"MSuper"}, nullptr, "super");
        add({"MTo", "MTo2", "ToolTo", "FTO"}, nullptr, "optioner");
        add({"IE1", "MNN4", "InterNeteXPLOLOR1"}, "internet-web-browser", "browser");
        add({"MFont"}, "preferences-desktop-font", "font");
        add({"MTagMenu1", "MTagMenu2"}, nullptr, "settings");
        add({"N30"}, "input-keyboard", "keyboard");
        add({"MInput"}, nullptr, "assist");
        add({"MWordWrap"}, nullptr, "wrap");
        add({"Help2", "FHelp"}, "help-contents", "help");
        add({"BrightfernHomePage1"}, "go-home", "home");
        add({"About1"}, "help-about", "about");
        add({"MFindFocus", "FSearch"}, "edit-find", "search");
        add({"ToolMenu1", "MENU1"}, nullptr, "menu1");
        add({"ToolMenu2", "N3"}, nullptr, "menu2");
        add({"FBlank"}, nullptr, "function-key");
        return t;
    }();
    return table;
}

} // namespace

QIcon bundledIcon(const QString& name)
{
    // The drawings are compiled into a static library: register them before
    // the first use.
    static const bool registered = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    Q_UNUSED(registered);
    const QString path = QStringLiteral(":/icons/%1.svg").arg(name);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

QIcon colorSwatch(const QColor& color)
{
    QPixmap pm(16, 16);
    pm.fill(color);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 15, 15);
    return QIcon(pm);
}

QIcon themedIcon(const QString& themeName, const QString& name)
{
    if (!themeName.isEmpty() && QIcon::hasThemeIcon(themeName))
        return QIcon::fromTheme(themeName);
    return bundledIcon(name);
}

QIcon itemIcon(const QString& objectName)
{
    const auto it = itemIcons().constFind(objectName);
    if (it == itemIcons().constEnd())
        return bundledIcon(QStringLiteral("tag"));   // the tag menu, key control, <BR>, <HR>
    return themedIcon(it->theme ? QLatin1String(it->theme) : QString(), QLatin1String(it->own));
}
