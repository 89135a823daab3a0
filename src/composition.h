#pragma once
// The composition root: the one place that knows every unit.  It creates
// the command units of every area in their turn, hands them to the main
// window, and connects units that listen to each other.

#include <QObject>

class ColorPickerUnit;
class BrowserCommands;
class EditCommands;
class EncodingCommands;
class FileCommands;
class FilePanel;
class FontUnit;
class HtmlColouringUnit;
class ImageBuilderUnit;
class KeyControlUnit;
class ListBuilderUnit;
class PageBuilderUnit;
class PreviewUnit;
class RecoveryUnit;
class SjisCommandUnit;
class SoundBuilderUnit;
class TFmMain;
class TableBuilderUnit;
class TagMenuUnit;
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
    EncodingCommands* encoding = nullptr;
    TagTreeUnit* tagTree = nullptr;
    ColorPickerUnit* color = nullptr;
    TagMenuUnit* tagMenu = nullptr;
    KeyControlUnit* keyControl = nullptr;
    FontUnit* font = nullptr;
    TableBuilderUnit* table = nullptr;
    ListBuilderUnit* list = nullptr;
    RecoveryUnit* recovery = nullptr;
    ImageBuilderUnit* image = nullptr;
    SoundBuilderUnit* sound = nullptr;
    FilePanel* filePanel = nullptr;
    BrowserCommands* browser = nullptr;
    HtmlColouringUnit* coloring = nullptr;
    PreviewUnit* preview = nullptr;
};

// Creates every unit for `main` (TFmMain::Options::compose).
void composeUnits(TFmMain& main);
// The units made for `main`, nullptr before composeUnits ran.
Units* unitsOf(const TFmMain& main);
