#include "app/mainlayout.h"

#include "app/icons.h"


#include <QAction>
#include <QActionGroup>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

class Builder {
public:
    explicit Builder(QMainWindow& w) : w(w) {}

    QAction* item(QMenu* menu, const char* name, const QString& caption,
                  const QKeySequence& key = {})
    {
        auto* a = new QAction(itemIcon(QLatin1String(name)), caption,
                              menu ? static_cast<QObject*>(menu) : &w);
        a->setObjectName(QLatin1String(name));
        a->setEnabled(false);
        if (!key.isEmpty()) {
            a->setShortcut(key);
            // The window carries every shortcut, so keys work whether the
            // menu holding the item is ever shown or not.
            w.addAction(a);
        }
        if (menu)
            menu->addAction(a);
        return a;
    }

    QAction* check(QMenu* menu, const char* name, const QString& caption, bool on)
    {
        QAction* a = item(menu, name, caption);
        a->setCheckable(true);
        a->setChecked(on);
        return a;
    }

    QMenu* submenu(QMenu* parent, const char* name, const QString& caption)
    {
        auto* m = new QMenu(caption, parent);
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name));
        m->menuAction()->setEnabled(false);
        m->setIcon(itemIcon(QLatin1String(name)));
        parent->addMenu(m);
        return m;
    }

    QMenu* top(const char* name, const QString& caption)
    {
        auto* m = new QMenu(caption, &w);
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name));
        w.menuBar()->addMenu(m);
        return m;
    }

    QAction* tool(QToolBar* bar, const char* name, const QString& hint)
    {
        auto* a = new QAction(itemIcon(QLatin1String(name)), hint, bar);
        a->setObjectName(QLatin1String(name));
        a->setToolTip(hint);
        a->setStatusTip(hint);
        a->setEnabled(false);
        bar->addAction(a);
        if (auto* b = bar->widgetForAction(a))
            b->setObjectName(QLatin1String(name) + QStringLiteral("Button"));
        return a;
    }

    QAction* fkey(QToolBar* bar, const char* name, const QString& caption, bool enabled = false)
    {
        auto* a = new QAction(itemIcon(QLatin1String(name)), caption, bar);
        a->setObjectName(QLatin1String(name));
        a->setEnabled(enabled);
        bar->addAction(a);
        if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(a))) {
            b->setFixedSize(57, 24);
            b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        }
        return a;
    }

    QMainWindow& w;
};


} // namespace

namespace MainLayout {

const char* const kDateNames[5] = {"MDate1", "MDate2", "MDate3", "MHour1", "MHour2"};

MainControls build(QMainWindow& w)
{
    Builder b(w);
    MainControls c;

    // ---------------------------------------------------------- menus
    QMenu* file = c.File1 = b.top("File1", QStringLiteral("ﾌｧｲﾙ(&F)"));
    c.MNew = b.item(file, "MNew", QStringLiteral("新規作成(&N)"), Qt::Key_F6);
    c.MWhite = b.item(file, "MWhite", QStringLiteral("白紙ﾍﾟｰｼﾞ作成(&H)"), Qt::Key_F5);
    c.MFrame = b.item(file, "MFrame", QStringLiteral("ﾌﾚｰﾑ作成(&T)"), Qt::Key_F7);
    c.MOpen = b.item(file, "MOpen", QStringLiteral("開く(&O)"), Qt::Key_F8);
    QMenu* recent = c.N13 = b.submenu(file, "N13", QStringLiteral("開き直す(&R)"));
    recent->menuAction()->setEnabled(true);
    for (int i = 1; i <= 5; ++i)
        c.MR[i - 1] = b.item(recent, QStringLiteral("MR%1").arg(i).toLatin1().constData(),
                             QStringLiteral("(なし)"));
    QMenu* charset = c.MCharset = b.submenu(file, "MCharset", QStringLiteral("文字コード(&E)"));
    c.MReopenAs = b.submenu(charset, "MReopenAs", QStringLiteral("指定した文字コードで開き直す(&R)"));
    c.MSaveCopyAs = b.submenu(charset, "MSaveCopyAs", QStringLiteral("指定した文字コードでｺﾋﾟｰを保存(&C)"));
    static const char* const kEncodingItems[5] = {"Shift_JIS(&S)", "UTF-8(&U)", "UTF-8 (BOM)(&B)",
                                                   "EUC-JP(&E)", "ISO-2022-JP(&J)"};
    for (int i = 0; i < 5; ++i) {
        const QString caption = QString::fromLatin1(kEncodingItems[i]);
        c.MReopenIn[i] = b.check(c.MReopenAs, QStringLiteral("MReopenIn%1").arg(i).toLatin1().constData(),
                                 caption, false);
        c.MSaveCopyIn[i] = b.item(c.MSaveCopyAs, QStringLiteral("MSaveCopyIn%1").arg(i).toLatin1().constData(),
                                  caption);
    }
    charset->addSeparator();
    c.MNewUtf8 = b.check(charset, "MNewUtf8", QStringLiteral("新規文書をUTF-8で作る(&N)"), false);
    charset->menuAction()->setEnabled(true);
    c.MNewUtf8->setEnabled(true);
    file->addSeparator();
    c.MSave = b.item(file, "MSave", QStringLiteral("上書き保存する(&S)"), QKeySequence(Qt::CTRL | Qt::Key_S));
    c.MSaveAs = b.item(file, "MSaveAs", QStringLiteral("名前をつけて保存する(&A)"), Qt::Key_F10);
    c.MAllSave = b.item(file, "MAllSave", QStringLiteral("全て保存する(&V)"));
    file->addSeparator();
    c.MOneClose = b.item(file, "MOneClose", QStringLiteral("閉じる(&Q)"), Qt::Key_F9);
    c.MAllDelete = b.item(file, "MAllDelete", QStringLiteral("全て閉じる(&D)"));
    file->addSeparator();
    QMenu* print = c.MPrint = b.submenu(file, "MPrint", QStringLiteral("印刷(&P)"));
    c.PrintSet = b.item(print, "PrintSet", QStringLiteral("ﾍﾟｰｼﾞ設定(&Y)"));
    c.MPrintStart = b.item(print, "MPrintStart", QStringLiteral("印刷(&P)"), QKeySequence(Qt::CTRL | Qt::Key_P));
    file->addSeparator();
    c.MExit = b.item(file, "MExit", QStringLiteral("終了(&X)"), Qt::Key_F12);

    QMenu* edit = c.MEdition = b.top("MEdition", QStringLiteral("編集(&F)"));
    c.MUndo = b.item(edit, "MUndo", QStringLiteral("元に戻す(&U)"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    edit->addSeparator();
    c.MCut = b.item(edit, "MCut", QStringLiteral("切り取り(&T)"), QKeySequence(Qt::CTRL | Qt::Key_X));
    c.MCopy = b.item(edit, "MCopy", QStringLiteral("ｺﾋﾟｰ(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C));
    c.MPaste = b.item(edit, "MPaste", QStringLiteral("貼り付け(&P)"), QKeySequence(Qt::CTRL | Qt::Key_V));
    c.MDelete = b.item(edit, "MDelete", QStringLiteral("削除(&D)"), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    edit->addSeparator();
    c.MOne = b.item(edit, "MOne", QStringLiteral("1行選択(&O)"));
    c.MAllSelect = b.item(edit, "MAllSelect", QStringLiteral("全て選択(&L)"));
    edit->addSeparator();
    QMenu* date = c.MDate = b.submenu(edit, "MDate", QStringLiteral("日付け／時刻の挿入(&D)"));
    for (int i = 0; i < 5; ++i) {
        c.MDateItems[i] = b.item(date, kDateNames[i], QStringLiteral("（なし）"));
        c.MDateItems[i]->setEnabled(true);
    }
    edit->addSeparator();
    c.MSjis = b.item(edit, "MSjis", QStringLiteral("S-Jis変換(&S)"));

    QMenu* show = c.Show1 = b.top("Show1", QStringLiteral("表示(&V)"));
    c.MToolbar = b.check(show, "MToolbar", QStringLiteral("ﾂｰﾙﾊﾞｰ表示(&T)"), true);
    c.MBuild = b.check(show, "MBuild", QStringLiteral("ﾋﾞﾙﾄﾞﾏﾈｰｼﾞｬ－表示(&B)"), true);
    c.MSearch = b.check(show, "MSearch", QStringLiteral("検索ﾊﾞｰ表示(&S)"), false);
    c.MFK = b.check(show, "MFK", QStringLiteral("ﾌｧﾝｸｼｮﾝﾊﾞｰ表示(&F)"), false);
    c.MPreview = b.check(show, "MPreview", QStringLiteral("ﾌﾟﾚﾋﾞｭｰ(&P)"), false);

    QMenu* tools = c.N2 = b.top("N2", QStringLiteral("ﾂｰﾙ(&T)"));
    c.MColor = b.item(tools, "MColor", QStringLiteral("ｶﾗｰﾋﾟｯｶｰ(&C)"));
    c.MEasy = b.submenu(tools, "MEasy", QStringLiteral("ｲｰｼﾞｰｶﾗｰﾋﾟｯｶｰ(&I)"));
    tools->addSeparator();
    c.MCg = b.item(tools, "MCg", QStringLiteral("ｲﾒｰｼﾞﾋﾞﾙﾀﾞｰ(&V)"));
    c.MSound = b.item(tools, "MSound", QStringLiteral("ｻｳﾝﾄﾞﾋﾞﾙﾀﾞｰ(&S)"));
    c.MTable = b.item(tools, "MTable", QStringLiteral("ﾃｰﾌﾞﾙﾋﾞﾙﾀﾞｰ(&T)"));
    c.MList = b.item(tools, "MList", QStringLiteral("ﾘｽﾄﾋﾞﾙﾀﾞｰ(&L)"));
    // The super mode item is never shown; only its key works.
    QAction* super = c.MSuper = b.item(nullptr, "MSuper", QStringLiteral("ｽｰﾊﾟｰﾓｰﾄﾞ(&Q)"),
                            QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Q));
    super->setParent(tools);
    tools->addSeparator();
    c.MTo2 = b.item(tools, "MTo2", QStringLiteral("ﾀｸﾞｵﾌﾟｼｮﾅｰ(&O)"), Qt::Key_F4);

    QMenu* browser = c.B1 = b.top("B1", QStringLiteral("ﾌﾞﾗｳｻﾞ(&B)"));
    c.IE1 = b.item(browser, "IE1", QStringLiteral("標準ﾌﾞﾗｳｻﾞ表示"));
    c.MNN4 = b.item(browser, "MNN4", QStringLiteral("NetscapeNavigator表示"));
    c.InterNeteXPLOLOR1 = b.item(browser, "InterNeteXPLOLOR1", QStringLiteral("InternetExpolor表示"));

    // Never shown: the key-control unit puts its shortcuts (CT1 ... CT18) here.
    QMenu* keys = c.N7 = b.top("N7", QStringLiteral("ｷｰｺﾝﾄﾛｰﾙ(&K)"));
    keys->menuAction()->setVisible(false);

    QMenu* settings = c.C1 = b.top("C1", QStringLiteral("環境設定(&C)"));
    c.MFont = b.item(settings, "MFont", QStringLiteral("ﾌｫﾝﾄ設定(&F)"));
    c.MTagMenu1 = b.item(settings, "MTagMenu1", QStringLiteral("ﾀｸﾞﾒﾆｭｰの設定(&T)"));
    c.N30 = b.item(settings, "N30", QStringLiteral("ｷｰｺﾝﾄﾛｰﾙ設定(&K)"));
    settings->addSeparator();
    c.MInput = b.check(settings, "MInput", QStringLiteral("入力支援ﾓｰﾄﾞ(&I)"), true);
    c.MWordWrap = b.check(settings, "MWordWrap", QStringLiteral("右端で折り返す(&W)"), false);

    QMenu* help = c.Help1 = b.top("Help1", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    c.Help2 = b.item(help, "Help2", QStringLiteral("目次(&C)"), Qt::Key_F1);
    c.BrightfernHomePage1 = b.item(help, "BrightfernHomePage1", QStringLiteral("Brightfern ﾎｰﾑﾍﾟｰｼﾞ(&M)"));
    c.About1 = b.item(help, "About1", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&V)"));

    QMenu* hidden = c.N27 = b.top("N27", QStringLiteral("非表示設定"));
    hidden->menuAction()->setVisible(false);
    c.MFindFocus = b.item(hidden, "MFindFocus", QStringLiteral("検索設定"), Qt::Key_F3);

    // ---------------------------------------------------------- editor pop-ups
    auto* menu1 = c.EditMenu1 = new QMenu(&w);
    menu1->setObjectName(QStringLiteral("EditMenu1"));
    c.N3 = b.item(menu1, "N3", QStringLiteral("MENU -Ⅱ "));
    menu1->addSeparator();
    c.MCut2 = b.item(menu1, "MCut2", QStringLiteral("切り取り(&T)"));
    c.MCopy2 = b.item(menu1, "MCopy2", QStringLiteral("ｺﾋﾟｰ(&C)"));
    c.MPaste2 = b.item(menu1, "MPaste2", QStringLiteral("貼り付け(&P)"));
    c.NOne2 = b.item(menu1, "NOne2", QStringLiteral("1行選択(&O)"));
    c.MTo = b.item(menu1, "MTo", QStringLiteral("ﾀｸﾞｵﾌﾟｼｮﾅｰ(&K)\tF4"));
    menu1->addSeparator();
    c.MBr = b.item(menu1, "MBr", QStringLiteral("<BR>"));
    c.MHr = b.item(menu1, "MHr", QStringLiteral("<HR>"));
    menu1->addSeparator();
    c.MClose2 = b.item(menu1, "MClose2", QStringLiteral("閉じる(&Q)"));

    auto* menu2 = c.EditMenu2 = new QMenu(&w);
    menu2->setObjectName(QStringLiteral("EditMenu2"));
    c.MENU1 = b.item(menu2, "MENU1", QStringLiteral("MENU - Ⅰ"));
    menu2->addSeparator();
    for (int i = 0; i < 10; ++i)
        c.MTag[i] = b.item(menu2, QStringLiteral("MTag%1").arg(i).toLatin1().constData(),
                           QStringLiteral("（未登録）"));
    menu2->addSeparator();
    c.MTagMenu2 = b.item(menu2, "MTagMenu2", QStringLiteral("ﾀｸﾞﾒﾆｭ－の設定(&T)"));

    // ---------------------------------------------------------- tool bar
    // The title is what the window's bar menu and screen readers show.
    auto* bar = c.ToolBar = new QToolBar(QStringLiteral("ﾂｰﾙﾊﾞｰ"), &w);
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(20, 20));
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    w.addToolBar(Qt::TopToolBarArea, bar);
    c.ToolNew = b.tool(bar, "ToolNew", QStringLiteral("新規作成"));
    c.ToolWhite = b.tool(bar, "ToolWhite", QStringLiteral("白紙ﾍﾟｰｼﾞ作成"));
    c.ToolFrame = b.tool(bar, "ToolFrame", QStringLiteral("ﾌﾚｰﾑ作成"));
    c.ToolOpen = b.tool(bar, "ToolOpen", QStringLiteral("開く"));
    c.ToolAllDelete = b.tool(bar, "ToolAllDelete", QStringLiteral("全て閉じる"));
    c.ToolSave = b.tool(bar, "ToolSave", QStringLiteral("上書き保存する"));
    c.ToolAllSave = b.tool(bar, "ToolAllSave", QStringLiteral("全て保存する"));
    c.ToolPrint = b.tool(bar, "ToolPrint", QStringLiteral("印刷する"));
    bar->addSeparator();
    c.ToolUndo = b.tool(bar, "ToolUndo", QStringLiteral("元に戻す"));
    c.ToolCut = b.tool(bar, "ToolCut", QStringLiteral("切り取り"));
    c.ToolCopy = b.tool(bar, "ToolCopy", QStringLiteral("ｺﾋﾟｰ"));
    c.ToolPaste = b.tool(bar, "ToolPaste", QStringLiteral("貼り付け"));
    bar->addSeparator();
    QAction* m1 = c.ToolMenu1 = b.tool(bar, "ToolMenu1", QStringLiteral("ﾒﾆｭｰ1"));
    QAction* m2 = c.ToolMenu2 = b.tool(bar, "ToolMenu2", QStringLiteral("ﾒﾆｭｰ2"));
    m1->setCheckable(true);
    m2->setCheckable(true);
    m1->setChecked(true);
    auto* group = new QActionGroup(bar);
    group->setObjectName(QStringLiteral("ToolMenuGroup"));
    group->addAction(m1);
    group->addAction(m2);
    bar->addSeparator();
    c.ToolColor = b.tool(bar, "ToolColor", QStringLiteral("ｶﾗｰﾋﾟｯｶｰ"));
    c.ToolCg = b.tool(bar, "ToolCg", QStringLiteral("ｲﾒｰｼﾞﾋﾞﾙﾀﾞｰ"));
    c.ToolSound = b.tool(bar, "ToolSound", QStringLiteral("ｻｳﾝﾄﾞﾋﾞﾙﾀﾞｰ"));
    c.ToolTable = b.tool(bar, "ToolTable", QStringLiteral("ﾃｰﾌﾞﾙﾋﾞﾙﾀﾞｰ"));
    c.ToolList = b.tool(bar, "ToolList", QStringLiteral("ﾘｽﾄﾋﾞﾙﾀﾞｰ"));
    c.ToolTo = b.tool(bar, "ToolTo", QStringLiteral("ﾀｸﾞｵﾌﾟｼｮﾅｰ"));

    // ---------------------------------------------------------- function keys
    auto* fk = c.FKBar = new QToolBar(QStringLiteral("FKBar"), &w);
    fk->setObjectName(QStringLiteral("FKBar"));
    fk->setMovable(false);
    fk->setFloatable(false);
    fk->setContextMenuPolicy(Qt::PreventContextMenu);
    w.addToolBar(Qt::BottomToolBarArea, fk);
    c.FHelp = b.fkey(fk, "FHelp", QStringLiteral("ﾍﾙﾌ|F1"), true);
    c.FBlank = b.fkey(fk, "FBlank", QString(), true);
    c.FSearch = b.fkey(fk, "FSearch", QStringLiteral("検索|F3"));
    c.FTO = b.fkey(fk, "FTO", QStringLiteral("T.O-F4"));
    fk->addSeparator();
    c.FWhite = b.fkey(fk, "FWhite", QStringLiteral("白紙|F5"));
    c.FNew = b.fkey(fk, "FNew", QStringLiteral("新規|F6"));
    c.FFrame = b.fkey(fk, "FFrame", QStringLiteral("ﾌﾚｰﾑ|F7"));
    c.FOpen = b.fkey(fk, "FOpen", QStringLiteral("開く|F8"));
    fk->addSeparator();
    c.Fclose = b.fkey(fk, "Fclose", QStringLiteral("閉じる|F9"));
    c.FSaveAs = b.fkey(fk, "FSaveAs", QStringLiteral("保存|F10"));
    fk->hide();

    // ---------------------------------------------------------- body
    auto* splitter = new QSplitter(Qt::Horizontal, &w);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->setHandleWidth(1);
    splitter->setChildrenCollapsible(false);

    auto* toolPanel = c.ToolPanel = new QWidget(splitter);
    toolPanel->setObjectName(QStringLiteral("ToolPanel"));
    toolPanel->setAccessibleName(QStringLiteral("ﾋﾞﾙﾄﾞﾏﾈｰｼﾞｬｰ"));
    auto* tpLayout = new QVBoxLayout(toolPanel);
    tpLayout->setContentsMargins(2, 2, 2, 2);
    tpLayout->setSpacing(2);
    auto* caption = new QLabel(QStringLiteral("ﾋﾞﾙﾄﾞﾏﾈｰｼﾞｬｰ"), toolPanel);
    caption->setObjectName(QStringLiteral("ToolPanelCaption"));
    caption->setAlignment(Qt::AlignCenter);
    tpLayout->addWidget(caption);
    auto* browsPanel = new QWidget(toolPanel);
    browsPanel->setObjectName(QStringLiteral("BrowsPanel"));
    auto* bpLayout = new QHBoxLayout(browsPanel);
    bpLayout->setContentsMargins(2, 0, 2, 0);
    auto* btnBrowse = c.BtnBrowse = new QPushButton(QStringLiteral("ﾌﾞﾗｳｻﾞ表示"), browsPanel);
    btnBrowse->setObjectName(QStringLiteral("BtnBrowse"));
    btnBrowse->setEnabled(false);
    bpLayout->addWidget(btnBrowse);
    tpLayout->addWidget(browsPanel);
    auto* toolControl = c.ToolControl = new QTabWidget(toolPanel);
    toolControl->setObjectName(QStringLiteral("ToolControl"));
    for (const auto& [name, title] : {std::pair{"ToolTag1", QStringLiteral("ﾌｧｲﾙ")},
                                      std::pair{"ToolTag2", QStringLiteral("ﾀｸﾞﾋﾞﾙﾀﾞｰ")}}) {
        auto* page = new QWidget;
        (name[7] == '1' ? c.ToolTag1 : c.ToolTag2) = page;
        page->setObjectName(QLatin1String(name));
        auto* l = new QVBoxLayout(page);
        l->setContentsMargins(0, 0, 0, 0);
        toolControl->addTab(page, title);
    }
    tpLayout->addWidget(toolControl, 1);
    toolPanel->setMinimumWidth(120);

    auto* panel2 = new QWidget(splitter);
    panel2->setObjectName(QStringLiteral("Panel2"));
    auto* p2Layout = new QVBoxLayout(panel2);
    p2Layout->setContentsMargins(0, 0, 0, 0);
    p2Layout->setSpacing(0);
    auto* search = c.SearchPanel = new QWidget(panel2);
    search->setObjectName(QStringLiteral("SearchPanel"));
    search->setFixedHeight(36);
    auto* sLayout = new QHBoxLayout(search);
    sLayout->setContentsMargins(4, 4, 4, 4);
    auto* btnSearch = c.BtnSearch = new QPushButton(QStringLiteral("検索"), search);
    btnSearch->setObjectName(QStringLiteral("BtnSearch"));
    btnSearch->setFixedWidth(80);
    btnSearch->setEnabled(false);
    auto* searchEdit = c.SearchEdit = new QLineEdit(search);
    searchEdit->setObjectName(QStringLiteral("SearchEdit"));
    sLayout->addWidget(btnSearch);
    sLayout->addWidget(searchEdit, 1);
    search->hide();
    p2Layout->addWidget(search);
    auto* previewSplitter = c.PreviewSplitter = new QSplitter(Qt::Horizontal, panel2);
    previewSplitter->setObjectName(QStringLiteral("PreviewSplitter"));
    previewSplitter->setChildrenCollapsible(false);
    auto* editControl = c.EditControl = new QTabWidget(previewSplitter);
    editControl->setObjectName(QStringLiteral("EditControl"));
    editControl->setFocusPolicy(Qt::NoFocus);
    editControl->setDocumentMode(true);
    editControl->tabBar()->setFocusPolicy(Qt::NoFocus);
    previewSplitter->addWidget(editControl);
    p2Layout->addWidget(previewSplitter, 1);

    splitter->addWidget(toolPanel);
    splitter->addWidget(panel2);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({175, 465});
    w.setCentralWidget(splitter);

    // ---------------------------------------------------------- status bar
    auto* status = w.statusBar();
    status->setObjectName(QStringLiteral("StatusBar"));
    static const int widths[MainControls::kStatusPanels] = {130, 60, 110, 50, 100, 50, 100};
    for (int i = 0; i < MainControls::kStatusPanels; ++i) {
        auto* l = c.StatusPanel[i] = new QLabel(status);
        l->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        l->setTextFormat(Qt::PlainText);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setMinimumWidth(widths[i]);
        if (i != 5) {
            // A fixed size both ways: a new text (the caret's line and
            // column on every key) repaints the panel alone instead of
            // laying out, and so repainting, the whole window.
            l->setFixedWidth(widths[i]);
            l->setFixedHeight(l->sizeHint().height());
            l->setAutoFillBackground(true);   // opaque: the bar is not repainted under it
        }
        if (i == 1)
            l->setAlignment(Qt::AlignCenter);
        status->addWidget(l, i == 5 ? 1 : 0);
    }
    c.StatusPanel[0]->setText(QStringLiteral("  行 ： 0 列 ： 0"));
    // How far a big file has loaded (shown only while the current one loads).
    c.LoadProgress = new QProgressBar(status);
    c.LoadProgress->setObjectName(QStringLiteral("LoadProgress"));
    c.LoadProgress->setAccessibleName(QStringLiteral("読み込み中"));
    c.LoadProgress->setFormat(QStringLiteral("読み込み中 %p%"));
    c.LoadProgress->setRange(0, 100);
    c.LoadProgress->setMaximumWidth(160);
    c.LoadProgress->hide();
    status->addPermanentWidget(c.LoadProgress);
    return c;
}

} // namespace MainLayout
