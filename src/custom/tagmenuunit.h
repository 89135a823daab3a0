#pragma once
// The tag menu: the editor's second right-click menu (EditMenu2) with up to
// ten favourite tags MTag0 ... MTag9, each wrapping the selection; the switch
// between the two right-click menus (N3, MENU1, ToolMenu1, ToolMenu2); and
// "ﾀｸﾞﾒﾆｭｰの設定(&T)", which chooses the ten tags in TFmTag.  Keeps the
// settings file's [MTag] section.

#include "app/settingsclient.h"
#include "custom/tagmenu.h"
#include "custom/tfmtag.h"

#include <QObject>
#include <QPointer>

class EditorHost;
class QAction;
class QMenu;

// The controls of the tag menu and of the switch between the right-click
// menus.
struct TagMenuControls {
    QMenu* EditMenu1 = nullptr;
    QMenu* EditMenu2 = nullptr;
    QAction* N3 = nullptr;          // in EditMenu1: use EditMenu2
    QAction* MENU1 = nullptr;       // in EditMenu2: use EditMenu1
    QAction* ToolMenu1 = nullptr;
    QAction* ToolMenu2 = nullptr;
    QAction* MTag[kTagSlotCount] = {};   // MTag0 ... MTag9
    QAction* MTagMenu1 = nullptr;   // Settings menu
    QAction* MTagMenu2 = nullptr;   // EditMenu2
};

class TagMenuUnit : public QObject, public SettingsClient {
    Q_OBJECT
public:
    TagMenuUnit(EditorHost& host, const TagMenuControls& controls);
    ~TagMenuUnit() override;

    void load(const Settings& s) override;
    void store(Settings& s) const override;

    const TagSlots& tagSlots() const { return m_slots; }
    TFmTag* dialog() const { return m_dialog; }

    void MTagMenu1Click();

private:
    void useMenu(bool second);
    void showSlots();

    EditorHost& m_host;
    TagMenuControls m_c;
    TagSlots m_slots;
    QPointer<TFmTag> m_dialog;
};
