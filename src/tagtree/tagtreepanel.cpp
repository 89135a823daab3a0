#include "tagtree/tagtreepanel.h"

#include "app/icons.h"
#include "app/editorport.h"
#include "platform/busy.h"
#include "platform/product.h"
#include "platform/prompts.h"
#include "tagtree/lotfile.h"
#include "tagtree/tagpaste.h"
#include "tagtree/tagtreemodel.h"
#include "tagtree/tfmedit.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace {

const QString kLotFilter = QStringLiteral("ﾚｲｱｳﾄﾀｸﾞﾌｧｲﾙ(*.lot)|*.lot");
const QString kUserTreeCaption = QStringLiteral("ﾕｰｻﾞ設定");
const QString kProtectedText = QStringLiteral("<HTML></HTML>");

// The tree's two node icons: 0 a plain tag, 2 a tag with a fold (the
// nodes the user and the catalogues make).
QIcon nodeIcon(int image)
{
    return bundledIcon(image == 2 ? QStringLiteral("tree-tag") : QStringLiteral("tree-leaf"));
}

} // namespace

// ------------------------------------------------------------------ view

TagTreeView::TagTreeView(QWidget* parent) : QTreeView(parent)
{
    setObjectName(QStringLiteral("TagTree"));
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(19);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setToolTip(QStringLiteral("ﾄﾞﾗｯｸﾞ&ﾄﾞﾛｯﾌﾟで、ｴﾃﾞｨﾀ部に挿入および階層内移動が出来ます。"));
}

void TagTreeView::mousePressEvent(QMouseEvent* e)
{
    emit mousePressed(e->position().toPoint());
    if (e->button() == Qt::RightButton) {
        e->accept();   // a right click leaves the selection alone
        return;
    }
    QTreeView::mousePressEvent(e);
}

void TagTreeView::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::RightButton) {
        e->accept();
        return;
    }
    QTreeView::mouseReleaseEvent(e);
}

void TagTreeView::startDrag(Qt::DropActions)
{
    if (!currentIndex().isValid() || !selectionModel()->isSelected(currentIndex()))
        return;
    auto* mime = new QMimeData;
    mime->setData(QLatin1String(kTagTreeMimeType), QByteArray("node"));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    const QPixmap cursor = bundledIcon(QStringLiteral("tag")).pixmap(24, 24);
    drag->setDragCursor(cursor, Qt::CopyAction);
    drag->setDragCursor(cursor, Qt::MoveAction);
    // Nothing is removed from the source whatever the target reports: moves
    // inside the tree are made by the drop handler.
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

void TagTreeView::dragEnterEvent(QDragEnterEvent* e)
{
    if (e->source() == this && e->mimeData()->hasFormat(QLatin1String(kTagTreeMimeType))) {
        e->setDropAction(Qt::MoveAction);
        e->accept();
        return;
    }
    e->ignore();
}

void TagTreeView::dragMoveEvent(QDragMoveEvent* e)
{
    if (e->source() == this && e->mimeData()->hasFormat(QLatin1String(kTagTreeMimeType))) {
        QTreeView::dragMoveEvent(e);   // auto-scroll
        e->setDropAction(Qt::MoveAction);
        e->accept();
        return;
    }
    e->ignore();
}

void TagTreeView::dropEvent(QDropEvent* e)
{
    if (e->source() != this || !e->mimeData()->hasFormat(QLatin1String(kTagTreeMimeType))) {
        e->ignore();
        return;
    }
    const QModelIndex target = indexAt(e->position().toPoint());
    e->setDropAction(Qt::CopyAction);
    e->accept();
    emit nodeDropped(target);
}

// ------------------------------------------------------------------ panel

TagTreePanel::TagTreePanel(Prompts& prompts, EditorPort& editor, TagTreeHost host, QWidget* parent)
    : QWidget(parent), m_prompts(prompts), m_editor(editor), m_host(std::move(host))
{
    setObjectName(QStringLiteral("TagTreePanel"));
    m_model = new TagTreeModel(this);
    m_model->setImages({{0, nodeIcon(0)}, {2, nodeIcon(2)}});
    m_model->replace(buildStartupTree);

    TagTree = new TagTreeView(this);
    TagTree->setModel(m_model);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(TagTree);

    FmEdit = new TFmEdit(this);

    PopTag2 = new QMenu(this);
    PopTag2->setObjectName(QStringLiteral("PopTag2"));
    MLayPaste = addItem(PopTag2, "MLayPaste", QStringLiteral("貼り付け"), &TagTreePanel::MLayPasteClick);
    MLayPaste->setIcon(themedIcon(QStringLiteral("edit-paste"), QStringLiteral("paste")));
    MLayPaste->setEnabled(false);
    PopTag2->addSeparator()->setObjectName(QStringLiteral("N25"));
    N31 = addItem(PopTag2, "N31", QStringLiteral("新規"), &TagTreePanel::N31Click);
    N31->setIcon(themedIcon(QStringLiteral("document-new"), QStringLiteral("new")));
    Edit1 = addItem(PopTag2, "Edit1", QStringLiteral("編集"), &TagTreePanel::Edit1Click);
    Edit1->setIcon(bundledIcon(QStringLiteral("tree-tag")));
    MTagDelete = addItem(PopTag2, "MTagDelete", QStringLiteral("削除"), &TagTreePanel::MTagDeleteClick);
    MTagDelete->setIcon(themedIcon(QStringLiteral("edit-delete"), QStringLiteral("delete")));
    MTagCopy = addItem(PopTag2, "MTagCopy", QStringLiteral("複製"), &TagTreePanel::MTagCopyClick);
    MTagCopy->setIcon(themedIcon(QStringLiteral("edit-copy"), QStringLiteral("copy")));
    PopTag2->addSeparator()->setObjectName(QStringLiteral("N15"));
    N20 = addItem(PopTag2, "N20", QStringLiteral("新規ﾀｸﾞﾂﾘｰ(&N)"), &TagTreePanel::N20Click);
    N20->setIcon(bundledIcon(QStringLiteral("tree-folder")));
    N21 = addItem(PopTag2, "N21", QStringLiteral("ﾂﾘｰを開く(&O)"), &TagTreePanel::N21Click);
    N21->setIcon(themedIcon(QStringLiteral("document-open"), QStringLiteral("open")));
    S1 = addItem(PopTag2, "S1", QStringLiteral("ﾀｸﾞﾂﾘｰを保存(&S)"), &TagTreePanel::S1Click);
    S1->setIcon(themedIcon(QStringLiteral("document-save"), QStringLiteral("save")));

    C3 = PopTag2->addMenu(QStringLiteral("ｶﾀﾛｸﾞ(&C)"));
    C3->setObjectName(QStringLiteral("C3"));
    C3->menuAction()->setObjectName(QStringLiteral("C3"));
    C3->setIcon(bundledIcon(QStringLiteral("catalogue")));
    N23 = addItem(C3, "N23", QStringLiteral("標準ﾀｸﾞﾂﾘｰ"), &TagTreePanel::N23Click);
    MtUser = addItem(C3, "MtUser", kUserTreeCaption, &TagTreePanel::MtUserClick);
    MtUser->setEnabled(false);
    C3->addSeparator()->setObjectName(QStringLiteral("N39"));
    N29 = addItem(C3, "N29", QStringLiteral("<ﾘﾝｸ>"), &TagTreePanel::N29Click);
    N22 = addItem(C3, "N22", QStringLiteral("<見出し・段落>"), &TagTreePanel::N22Click);
    N26 = addItem(C3, "N26", QStringLiteral("<ﾌｫﾝﾄ>"), &TagTreePanel::N26Click);
    N28 = addItem(C3, "N28", QStringLiteral("<ﾘｽﾄ・箇条書き>"), &TagTreePanel::N28Click);
    N33 = addItem(C3, "N33", QStringLiteral("<ｲﾝﾗｲﾝ画像>"), &TagTreePanel::N33Click);
    N36 = addItem(C3, "N36", QStringLiteral("<定型ﾃｷｽﾄ>"), &TagTreePanel::N36Click);
    N37 = addItem(C3, "N37", QStringLiteral("<表>"), &TagTreePanel::N37Click);
    N38 = addItem(C3, "N38", QStringLiteral("<記入欄・ﾌｫｰﾑ>"), &TagTreePanel::N38Click);
    const QIcon catalogueIcon = bundledIcon(QStringLiteral("catalogue"));
    for (QAction* a : {N23, MtUser, N29, N22, N26, N28, N33, N36, N37, N38})
        a->setIcon(catalogueIcon);

    connect(PopTag2, &QMenu::aboutToShow, this, &TagTreePanel::PopTag2Popup);
    connect(TagTree, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopTag2->popup(TagTree->viewport()->mapToGlobal(pos)); });
    connect(TagTree, &TagTreeView::mousePressed, this, &TagTreePanel::TagTreeMouseDown);
    connect(TagTree, &TagTreeView::nodeDropped, this, &TagTreePanel::TagTreeDragDrop);
    // Both signals: a click on the row the view made current (without
    // selecting it) when it got the focus changes only the selection.
    connect(TagTree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!m_moving)
            TagTreeChange();
    });
    connect(TagTree->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_moving)
            TagTreeChange();
    });
}

TagTreePanel::~TagTreePanel() = default;

QAction* TagTreePanel::addItem(QMenu* menu, const char* name, const QString& caption,
                               void (TagTreePanel::*slot)())
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    connect(a, &QAction::triggered, this, slot);
    return a;
}

TagNode* TagTreePanel::selectedNode() const
{
    const QModelIndex current = TagTree->selectionModel()->currentIndex();
    if (!current.isValid() || !TagTree->selectionModel()->isSelected(current))
        return nullptr;
    return m_model->nodeAt(current);
}

void TagTreePanel::selectNode(const TagNode* node)
{
    const QModelIndex i = m_model->indexOf(node);
    if (!i.isValid()) {
        TagTree->selectionModel()->clear();
        return;
    }
    TagTree->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
}

void TagTreePanel::setUserTreePath(const QString& path)
{
    m_userTreePath = path;
    if (path.isEmpty()) {
        MtUser->setText(kUserTreeCaption);
        MtUser->setEnabled(false);
    } else {
        QString caption = path;
        MtUser->setText(caption.replace(u'&', QLatin1String("&&")));
        MtUser->setEnabled(true);
    }
}

void TagTreePanel::showMessage(const QString& text)
{
    m_prompts.message(window(), kProduct, text, Prompts::Icon::Warning, Prompts::Buttons::Ok);
}

QPoint TagTreePanel::editDialogPos() const
{
    const QPoint main = m_host.mainTopLeft ? m_host.mainTopLeft() : QPoint();
    return main + m_lastMouse + QPoint(0, 180);
}

// ------------------------------------------------------------------ commands

void TagTreePanel::PasteTagSubtree()
{
    const TagNode* s = selectedNode();
    if (!s)
        return;
    const TagPasteText paste = tagPasteText(s);
    // The same text and caret as pasting the lines one by one, as one edit;
    // the clipboard holds the last line, as it would then.
    if (m_editor.insertText(paste.text))
        QGuiApplication::clipboard()->setText(paste.lastLine);
}

void TagTreePanel::N31Click()
{
    // Asked before the dialog, so that no typing is lost to a refusal.
    if (!TagTreeModel::canAppendUnder(selectedNode())) {
        showMessage(QStringLiteral("ツリーは %1 段までです。これより深い段には追加できません")
                        .arg(kMaxTagTreeLevels));
        return;
    }
    const std::optional<QString> text = FmEdit->ask(m_prompts, QStringLiteral("<TAG></TAG>"), editDialogPos());
    if (!text)
        return;
    TagNode* parent = selectedNode();
    m_model->appendNode(parent, *text, 2);
    if (parent)
        TagTree->expand(m_model->indexOf(parent));
}

void TagTreePanel::Edit1Click()
{
    TagNode* s = selectedNode();
    if (!s)
        return;
    const std::optional<QString> text = FmEdit->ask(m_prompts, s->text, editDialogPos());
    if (text)
        m_model->setText(s, *text);
}

void TagTreePanel::MTagDeleteClick()
{
    // The protected node never goes, whatever state the menu was left in.
    if (TagNode* s = selectedNode(); s && s->text != kProtectedText)
        m_model->removeNode(s);
}

void TagTreePanel::MTagCopyClick()
{
    if (TagNode* s = selectedNode(); s && s->text != kProtectedText)
        m_model->duplicate(s);
}

void TagTreePanel::afterReplace()
{
    TagTree->setFocus();
}

void TagTreePanel::N20Click()
{
    m_model->replace(buildNewTree);
    afterReplace();
}

void TagTreePanel::loadTreeFile(const QString& path)
{
    const BusyCursor busy;
    QString message;
    const std::optional<QByteArray> bytes = readLotFile(path, &message);
    if (!bytes) {
        showMessage(message);
        return;
    }
    const LotReadResult result = m_model->load(*bytes);
    if (result.tooDeep) {
        showMessage(lotTooDeepMessage(path, result.tooDeep->depth));
        return;
    }
    afterReplace();
    if (result.levelError)
        showMessage(lotLevelErrorMessage(*result.levelError));
}

void TagTreePanel::N21Click()
{
    Prompts::FileRequest request;
    request.filter = kLotFilter;
    const Prompts::FileAnswer answer = m_prompts.openFile(window(), request);
    if (!answer.accepted || answer.path.isEmpty())
        return;
    loadTreeFile(answer.path);
}

void TagTreePanel::S1Click()
{
    Prompts::FileRequest request;
    request.filter = kLotFilter;
    const Prompts::FileAnswer answer = askSavePath(
        m_prompts, window(), request, [](const QString& p, int) { return withLotExtension(p); });
    if (!answer.accepted)
        return;
    const QString path = answer.path;
    QString message;
    if (!writeLotFile(path, m_model->tree(), &message)) {
        showMessage(message);
        return;
    }
    setUserTreePath(path);
    if (m_host.userTreeSaved)
        m_host.userTreeSaved(path);
}

void TagTreePanel::MtUserClick()
{
    if (m_userTreePath.isEmpty())
        return;
    loadTreeFile(m_userTreePath);
}

void TagTreePanel::showCatalogue(TagCatalogue which)
{
    m_model->replace([which](::TagTree& t) { buildCatalogue(which, t); });
    afterReplace();
}

// ------------------------------------------------------------------ events

void TagTreePanel::PopTag2Popup()
{
    m_editor.focusEditor();
}

void TagTreePanel::TagTreeChange()
{
    MTagCopy->setEnabled(true);
    MTagDelete->setEnabled(true);
    const TagNode* s = selectedNode();
    if (s && s->text == kProtectedText) {
        MTagCopy->setEnabled(false);
        MTagDelete->setEnabled(false);
    }
}

void TagTreePanel::TagTreeMouseDown(QPoint pos)
{
    m_lastMouse = pos;
}

void TagTreePanel::TagTreeDragDrop(const QModelIndex& target)
{
    TagNode* s = selectedNode();
    TagNode* t = m_model->nodeAt(target);
    if (!s || !t || s == t || ::TagTree::isWithin(t, s))
        return;
    const int levels = TagTreeModel::levelsAfterMove(s, t);
    if (levels > kMaxTagTreeLevels) {
        showMessage(QStringLiteral("ツリーは %1 段までです。ここへ移すと %2 段になるため移せません")
                        .arg(kMaxTagTreeLevels)
                        .arg(levels));
        return;
    }
    m_moving = true;
    const bool moved = m_model->moveBefore(s, t);
    m_moving = false;
    if (moved && s->parent && s->parent != m_model->tree().root())
        TagTree->expand(m_model->indexOf(s->parent));
}
