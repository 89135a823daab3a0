#pragma once
// Builds the main window's controls: menus, pop-up menus, tool bar,
// function-key bar, side panel, search bar, document tabs and status bar,
// each with its name.  Commands are connected by their own units, which take
// the controls they use from MainControls.

class QAction;
class QLabel;
class QProgressBar;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPushButton;
class QSplitter;
class QTabWidget;
class QToolBar;
class QWidget;

struct MainControls {
    // File menu
    QMenu* File1 = nullptr;
    QAction *MNew = nullptr, *MWhite = nullptr, *MFrame = nullptr, *MOpen = nullptr;
    QMenu* N13 = nullptr;                 // the recent files
    QAction* MR[5] = {};                  // MR1 ... MR5
    QAction *MSave = nullptr, *MSaveAs = nullptr, *MAllSave = nullptr;
    QAction *MOneClose = nullptr, *MAllDelete = nullptr;
    QMenu* MPrint = nullptr;
    QAction *PrintSet = nullptr, *MPrintStart = nullptr, *MExit = nullptr;
    // 文字コード, under the File menu: reopen in / save a copy in an
    // encoding (one item each, in the order of charset::Encoding), and the
    // encoding of new documents.
    QMenu *MCharset = nullptr, *MReopenAs = nullptr, *MSaveCopyAs = nullptr;
    QAction* MReopenIn[5] = {};
    QAction* MSaveCopyIn[5] = {};
    QAction* MNewUtf8 = nullptr;
    // Edit menu
    QMenu* MEdition = nullptr;
    QAction *MUndo = nullptr, *MCut = nullptr, *MCopy = nullptr, *MPaste = nullptr;
    QAction *MDelete = nullptr, *MOne = nullptr, *MAllSelect = nullptr;
    QMenu* MDate = nullptr;
    QAction* MDateItems[5] = {};          // MDate1, MDate2, MDate3, MHour1, MHour2
    QAction* MSjis = nullptr;
    // View menu
    QMenu* Show1 = nullptr;
    QAction *MToolbar = nullptr, *MBuild = nullptr, *MSearch = nullptr, *MFK = nullptr;
    QAction* MPreview = nullptr;          // the preview pane beside the editor
    // Tools menu
    QMenu* N2 = nullptr;
    QAction* MColor = nullptr;
    QMenu* MEasy = nullptr;
    QAction *MCg = nullptr, *MSound = nullptr, *MTable = nullptr, *MList = nullptr;
    QAction *MSuper = nullptr, *MTo2 = nullptr;
    // Browser menu
    QMenu* B1 = nullptr;
    QAction *IE1 = nullptr, *MNN4 = nullptr, *InterNeteXPLOLOR1 = nullptr;
    // Key control (never shown)
    QMenu* N7 = nullptr;
    // Settings menu
    QMenu* C1 = nullptr;
    QAction *MFont = nullptr, *MTagMenu1 = nullptr, *N30 = nullptr;
    QAction *MInput = nullptr, *MWordWrap = nullptr;
    // Help menu
    QMenu* Help1 = nullptr;
    QAction *Help2 = nullptr, *BrightfernHomePage1 = nullptr, *About1 = nullptr;
    // Hidden settings menu
    QMenu* N27 = nullptr;
    QAction* MFindFocus = nullptr;
    // Editor pop-ups
    QMenu* EditMenu1 = nullptr;
    QAction *N3 = nullptr, *MCut2 = nullptr, *MCopy2 = nullptr, *MPaste2 = nullptr;
    QAction *NOne2 = nullptr, *MTo = nullptr, *MBr = nullptr, *MHr = nullptr, *MClose2 = nullptr;
    QMenu* EditMenu2 = nullptr;
    QAction* MENU1 = nullptr;
    QAction* MTag[10] = {};               // MTag0 ... MTag9
    QAction* MTagMenu2 = nullptr;
    // Tool bar
    QToolBar* ToolBar = nullptr;
    QAction *ToolNew = nullptr, *ToolWhite = nullptr, *ToolFrame = nullptr, *ToolOpen = nullptr;
    QAction *ToolAllDelete = nullptr, *ToolSave = nullptr, *ToolAllSave = nullptr;
    QAction *ToolPrint = nullptr, *ToolUndo = nullptr, *ToolCut = nullptr, *ToolCopy = nullptr;
    QAction *ToolPaste = nullptr, *ToolMenu1 = nullptr, *ToolMenu2 = nullptr;
    QAction *ToolColor = nullptr, *ToolCg = nullptr, *ToolSound = nullptr, *ToolTable = nullptr;
    QAction *ToolList = nullptr, *ToolTo = nullptr;
    // Function-key bar
    QToolBar* FKBar = nullptr;
    QAction *FHelp = nullptr, *FBlank = nullptr, *FSearch = nullptr, *FTO = nullptr;
    QAction *FWhite = nullptr, *FNew = nullptr, *FFrame = nullptr, *FOpen = nullptr;
    QAction *Fclose = nullptr, *FSaveAs = nullptr;
    // Body
    QWidget* ToolPanel = nullptr;
    QPushButton* BtnBrowse = nullptr;
    QTabWidget* ToolControl = nullptr;
    QWidget *ToolTag1 = nullptr, *ToolTag2 = nullptr;   // "ﾌｧｲﾙ" and "ﾀｸﾞﾋﾞﾙﾀﾞｰ" pages
    QWidget* SearchPanel = nullptr;
    QPushButton* BtnSearch = nullptr;
    QLineEdit* SearchEdit = nullptr;
    QTabWidget* EditControl = nullptr;
    QSplitter* PreviewSplitter = nullptr;   // EditControl, then the preview pane when shown
    // 0 caret, 1 changed, 2 save time, 3, 4 super mode, 5, 6 encoding.
    static constexpr int kStatusPanels = 7;
    QLabel* StatusPanel[kStatusPanels] = {};
    QProgressBar* LoadProgress = nullptr;
};

namespace MainLayout {
MainControls build(QMainWindow& window);
extern const char* const kDateNames[5];
} // namespace MainLayout
