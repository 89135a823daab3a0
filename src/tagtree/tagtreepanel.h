#pragma once
// The "ﾀｸﾞﾋﾞﾙﾀﾞｰ" tab: the tree view TagTree, its popup PopTag2 with the
// node and file commands and the catalogues, and the edit dialog.  The
// panel reaches the editor only through EditorPort and the rest of the
// window only through TagTreeHost.

#include "tagtree/catalogues.h"

#include <QPoint>
#include <QTreeView>
#include <QWidget>
#include <functional>

class EditorPort;
class Prompts;
class QAction;
class QMenu;
class TFmEdit;
struct TagNode;
class TagTreeModel;

struct TagTreeHost {
    // The main window's top-left corner (places the edit dialog).
    std::function<QPoint()> mainTopLeft;
    // A tree was saved: remember its path as the user tree and write the
    // settings file.
    std::function<void(const QString& path)> userTreeSaved;
};

// The tree view: drags carry the tag tree's MIME type; drops inside the
// view are reported as moves; a right click does not change the selection.
class TagTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit TagTreeView(QWidget* parent = nullptr);

signals:
    void mousePressed(QPoint pos);
    void nodeDropped(const QModelIndex& target);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
};

class TagTreePanel : public QWidget {
    Q_OBJECT
public:
    TagTreePanel(Prompts& prompts, EditorPort& editor, TagTreeHost host, QWidget* parent = nullptr);
    ~TagTreePanel() override;

    TagTreeView* TagTree = nullptr;
    TagTreeModel* model() const { return m_model; }
    TFmEdit* FmEdit = nullptr;

    QMenu* PopTag2 = nullptr;
    QMenu* C3 = nullptr;
    QAction* MLayPaste = nullptr;
    QAction* N31 = nullptr;
    QAction* Edit1 = nullptr;
    QAction* MTagDelete = nullptr;
    QAction* MTagCopy = nullptr;
    QAction* N20 = nullptr;
    QAction* N21 = nullptr;
    QAction* S1 = nullptr;
    QAction* N23 = nullptr;
    QAction* MtUser = nullptr;
    QAction* N29 = nullptr;
    QAction* N22 = nullptr;
    QAction* N26 = nullptr;
    QAction* N28 = nullptr;
    QAction* N33 = nullptr;
    QAction* N36 = nullptr;
    QAction* N37 = nullptr;
    QAction* N38 = nullptr;

    // The selected node, nullptr when none.
    TagNode* selectedNode() const;
    void selectNode(const TagNode* node);

    // Start-up: the path of the settings file's MTree/Tree key.
    void setUserTreePath(const QString& path);
    QString userTreePath() const { return m_userTreePath; }
    QPoint lastTreeMousePos() const { return m_lastMouse; }

    // Loads a .lot file the way the open-tree command does.
    void loadTreeFile(const QString& path);

public slots:
    void PasteTagSubtree();
    void MLayPasteClick() { PasteTagSubtree(); }
    void N31Click();
    void Edit1Click();
    void MTagDeleteClick();
    void MTagCopyClick();
    void N20Click();
    void N21Click();
    void S1Click();
    void MtUserClick();
    void N23Click() { showCatalogue(TagCatalogue::Standard); }
    void N29Click() { showCatalogue(TagCatalogue::Links); }
    void N22Click() { showCatalogue(TagCatalogue::Headings); }
    void N26Click() { showCatalogue(TagCatalogue::Fonts); }
    void N28Click() { showCatalogue(TagCatalogue::Lists); }
    void N33Click() { showCatalogue(TagCatalogue::Images); }
    void N36Click() { showCatalogue(TagCatalogue::BlockText); }
    void N37Click() { showCatalogue(TagCatalogue::Tables); }
    void N38Click() { showCatalogue(TagCatalogue::Forms); }
    void PopTag2Popup();
    void TagTreeChange();
    void TagTreeMouseDown(QPoint pos);
    void TagTreeDragDrop(const QModelIndex& target);

private:
    void showCatalogue(TagCatalogue which);
    void afterReplace();
    QPoint editDialogPos() const;
    void showMessage(const QString& text);
    QAction* addItem(QMenu* menu, const char* name, const QString& caption, void (TagTreePanel::*slot)());

    Prompts& m_prompts;
    EditorPort& m_editor;
    TagTreeHost m_host;
    TagTreeModel* m_model = nullptr;
    QPoint m_lastMouse;
    QString m_userTreePath;
    bool m_moving = false;
};
