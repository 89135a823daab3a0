#pragma once
// Builds the main window's controls: menus, pop-up menus, tool bar,
// function-key bar, side panel, search bar, document tabs and status bar,
// each with its name.  Commands are connected by their own units.

class QAction;
class TFmMain;

namespace MainLayout {
void build(TFmMain& window);
// The key-control item of slot 0-16 (CT1 ... CT8, CT10 ... CT18).
QAction* keyControlAction(const TFmMain& window, int slot);
extern const char* const kKeyControlNames[17];
} // namespace MainLayout
