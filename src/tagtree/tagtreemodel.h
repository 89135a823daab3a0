#pragma once
// Item model over the tag tree.  Every structural change goes through here
// so that the view hears of it; whole-tree replacements reset the model
// (the view's updates are held back until the new tree is complete).

#include "tagtree/lotfile.h"
#include "tagtree/tagnode.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <functional>
#include <map>

class TagTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit TagTreeModel(QObject* parent = nullptr);

    TagTree& tree() { return m_tree; }
    const TagTree& tree() const { return m_tree; }

    TagNode* nodeAt(const QModelIndex& index) const;
    QModelIndex indexOf(const TagNode* node) const;

    // Empties the tree and lets `fill` build a new one, as one reset.
    void replace(const std::function<void(TagTree&)>& fill);
    // Empties the tree and reads a file's bytes into it (the nodes read
    // before a level error stay); a file deeper than kMaxTagTreeLevels
    // changes nothing.
    LotReadResult load(QByteArrayView bytes);

    // No node is made or moved deeper than kMaxTagTreeLevels: appendNode
    // then returns nullptr and moveBefore false.
    static bool canAppendUnder(const TagNode* parent);
    // How many levels deep, counted from the top, the subtree of `node`
    // reaches once it stands before `target`.
    static int levelsAfterMove(const TagNode* node, const TagNode* target);
    TagNode* appendNode(TagNode* parent, const QString& text, int image);
    void removeNode(TagNode* node);
    bool moveBefore(TagNode* node, TagNode* target);
    TagNode* duplicate(TagNode* node);
    void setText(TagNode* node, const QString& text);

    // Icons by image index (0 and 2 are used).
    void setImages(std::map<int, QIcon> images);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Longest text the view shows of a node (the node keeps all of it).
    static constexpr qsizetype kShownTextLimit = 1000;

private:
    QIcon iconFor(int image, int selectedImage) const;

    TagTree m_tree;
    std::map<int, QIcon> m_images;
    mutable std::map<std::pair<int, int>, QIcon> m_iconCache;
};
