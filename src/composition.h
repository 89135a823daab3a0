#pragma once
// The composition root: the one place that knows every unit.  It creates
// the command units of every area in their turn, hands them to the main
// window, and connects units that listen to each other.

#include <QObject>

class EditCommands;
class FileCommands;
class ListBuilderUnit;
class PageBuilderUnit;
class SjisCommandUnit;
class TFmMain;
class TableBuilderUnit;
class TagOptionerUnit;
class TagTreeUnit;

// The units of one main window, by kind.  Owned by the main window.
class Units : public QObject {
    Q_OBJECT
public:
    FileCommands* file = nullptr;
    EditCommands* edit = nullptr;
    PageBuilderUnit* pages = nullptr;
    TagOptionerUnit* optioner = nullptr;
    SjisCommandUnit* sjis = nullptr;
    TagTreeUnit* tagTree = nullptr;
    TableBuilderUnit* table = nullptr;
    ListBuilderUnit* list = nullptr;
};

// Creates every unit for `main` (TFmMain::Options::compose).
void composeUnits(TFmMain& main);
// The units made for `main`, nullptr before composeUnits ran.
Units* unitsOf(const TFmMain& main);
