#include "tagtree/tagtreemodel.h"

TagTreeModel::TagTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

TagNode* TagTreeModel::nodeAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    return static_cast<TagNode*>(index.internalPointer());
}

QModelIndex TagTreeModel::indexOf(const TagNode* node) const
{
    if (!node || node == m_tree.root() || !node->parent)
        return {};
    return createIndex(node->row, 0, const_cast<TagNode*>(node));
}

void TagTreeModel::replace(const std::function<void(TagTree&)>& fill)
{
    beginResetModel();
    m_tree.clear();
    if (fill)
        fill(m_tree);
    endResetModel();
}

LotReadResult TagTreeModel::load(QByteArrayView bytes)
{
    // Read aside first: a file too deep to show leaves the tree as it was.
    TagTree read;
    const LotReadResult result = readLot(bytes, read);
    if (result.tooDeep)
        return result;
    beginResetModel();
    m_tree.swap(read);
    endResetModel();
    return result;
}

bool TagTreeModel::canAppendUnder(const TagNode* parent)
{
    return TagTree::level(parent) + 2 <= kMaxTagTreeLevels;
}

int TagTreeModel::levelsAfterMove(const TagNode* node, const TagNode* target)
{
    return TagTree::level(target) + TagTree::height(node) + 1;
}

TagNode* TagTreeModel::appendNode(TagNode* parent, const QString& text, int image)
{
    if (parent && !canAppendUnder(parent))
        return nullptr;
    TagNode* p = parent ? parent : m_tree.root();
    const int row = int(p->children.size());
    beginInsertRows(indexOf(parent), row, row);
    TagNode* n = m_tree.append(parent, text, image);
    endInsertRows();
    return n;
}

void TagTreeModel::removeNode(TagNode* node)
{
    if (!node || !node->parent)
        return;
    beginRemoveRows(indexOf(node->parent), node->row, node->row);
    m_tree.remove(node);
    endRemoveRows();
}

bool TagTreeModel::moveBefore(TagNode* node, TagNode* target)
{
    if (!TagTree::canMoveBefore(node, target) || levelsAfterMove(node, target) > kMaxTagTreeLevels)
        return false;
    const QModelIndex from = indexOf(node->parent);
    const QModelIndex to = indexOf(target->parent);
    // Dropping a node on its next sibling leaves it where it is.
    if (node->parent == target->parent && target->row == node->row + 1)
        return true;
    if (!beginMoveRows(from, node->row, node->row, to, target->row))
        return false;
    m_tree.moveBefore(node, target);
    endMoveRows();
    return true;
}

TagNode* TagTreeModel::duplicate(TagNode* node)
{
    if (!node || !node->parent)
        return nullptr;
    beginInsertRows(indexOf(node->parent), node->row, node->row);
    TagNode* copy = m_tree.duplicate(node);
    endInsertRows();
    return copy;
}

void TagTreeModel::setText(TagNode* node, const QString& text)
{
    if (!node || !node->parent)
        return;
    node->text = text;
    const QModelIndex i = indexOf(node);
    emit dataChanged(i, i, {Qt::DisplayRole});
}

void TagTreeModel::setImages(std::map<int, QIcon> images)
{
    m_images = std::move(images);
    m_iconCache.clear();
}

QIcon TagTreeModel::iconFor(int image, int selectedImage) const
{
    const auto key = std::make_pair(image, selectedImage);
    auto it = m_iconCache.find(key);
    if (it != m_iconCache.end())
        return it->second;
    QIcon icon;
    const auto normal = m_images.find(image);
    const auto selected = m_images.find(selectedImage);
    for (const QSize& s : normal != m_images.end() ? normal->second.availableSizes() : QList<QSize>())
        icon.addPixmap(normal->second.pixmap(s), QIcon::Normal);
    for (const QSize& s : selected != m_images.end() ? selected->second.availableSizes() : QList<QSize>())
        icon.addPixmap(selected->second.pixmap(s), QIcon::Selected);
    m_iconCache.emplace(key, icon);
    return icon;
}

int TagTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    const TagNode* p = parent.isValid() ? nodeAt(parent) : m_tree.root();
    return p ? int(p->children.size()) : 0;
}

int TagTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QModelIndex TagTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    const TagNode* p = parent.isValid() ? nodeAt(parent) : m_tree.root();
    if (!p || size_t(row) >= p->children.size())
        return {};
    return createIndex(row, 0, p->children[size_t(row)]);
}

QModelIndex TagTreeModel::parent(const QModelIndex& child) const
{
    const TagNode* n = nodeAt(child);
    if (!n || !n->parent)
        return {};
    return indexOf(n->parent);
}

bool TagTreeModel::hasChildren(const QModelIndex& parent) const
{
    const TagNode* p = parent.isValid() ? nodeAt(parent) : m_tree.root();
    return p && !p->children.empty();
}

QVariant TagTreeModel::data(const QModelIndex& index, int role) const
{
    const TagNode* n = nodeAt(index);
    if (!n)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        if (n->text.size() > kShownTextLimit)
            return QString(n->text.left(kShownTextLimit) + QStringLiteral("…"));
        return n->text;
    case Qt::EditRole:
        return n->text;
    case Qt::DecorationRole:
        if (m_images.empty())
            return {};
        return iconFor(n->imageIndex, n->selectedIndex);
    default:
        return {};
    }
}

Qt::ItemFlags TagTreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled
        | Qt::ItemIsDropEnabled;
}
