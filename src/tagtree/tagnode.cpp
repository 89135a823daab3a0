#include "tagtree/tagnode.h"

#include <algorithm>

TagParts splitTagText(QStringView text)
{
    const qsizetype gt = text.indexOf(u'>');
    if (gt < 0)
        return {text, {}};
    return {text.left(gt + 1), text.mid(gt + 1)};
}

TagTree::TagTree() : m_root(new TagNode) {}

TagTree::~TagTree()
{
    destroy(m_root);
}

void TagTree::destroy(TagNode* node)
{
    // Iterative: a tree a hundred thousand levels deep must not recurse.
    std::vector<TagNode*> pending{node};
    while (!pending.empty()) {
        TagNode* n = pending.back();
        pending.pop_back();
        pending.insert(pending.end(), n->children.begin(), n->children.end());
        delete n;
    }
}

void TagTree::clear()
{
    std::vector<TagNode*> top;
    top.swap(m_root->children);
    for (TagNode* n : top)
        destroy(n);
}

qsizetype TagTree::nodeCount() const
{
    qsizetype count = 0;
    for (const TagNode* n = nextPreorder(m_root, m_root); n; n = nextPreorder(n, m_root))
        ++count;
    return count;
}

void TagTree::renumber(TagNode* parent, size_t from)
{
    for (size_t i = from; i < parent->children.size(); ++i)
        parent->children[i]->row = int(i);
}

TagNode* TagTree::append(TagNode* parent, const QString& text, int image)
{
    if (!parent)
        parent = m_root;
    auto* n = new TagNode;
    n->text = text;
    n->imageIndex = image;
    n->parent = parent;
    n->row = int(parent->children.size());
    parent->children.push_back(n);
    return n;
}

TagNode* TagTree::insert(TagNode* parent, int row, const QString& text, int image)
{
    if (!parent)
        parent = m_root;
    const size_t at = size_t(std::clamp<qsizetype>(row, 0, qsizetype(parent->children.size())));
    auto* n = new TagNode;
    n->text = text;
    n->imageIndex = image;
    n->parent = parent;
    parent->children.insert(parent->children.begin() + qsizetype(at), n);
    renumber(parent, at);
    return n;
}

void TagTree::detach(TagNode* node)
{
    TagNode* p = node->parent;
    const size_t at = size_t(node->row);
    p->children.erase(p->children.begin() + qsizetype(at));
    renumber(p, at);
    node->parent = nullptr;
}

void TagTree::remove(TagNode* node)
{
    if (!node || node == m_root || !node->parent)
        return;
    detach(node);
    destroy(node);
}

int TagTree::level(const TagNode* node)
{
    int l = -1;
    for (const TagNode* p = node ? node->parent : nullptr; p; p = p->parent)
        ++l;
    return node ? l : -1;
}

int TagTree::height(const TagNode* node)
{
    int most = 0;
    if (node)
        walk(node, [&](const TagNode*, int depth) { most = std::max(most, depth); },
             [](const TagNode*, int) {});
    return most;
}

bool TagTree::isWithin(const TagNode* node, const TagNode* ancestor)
{
    for (const TagNode* p = node; p; p = p->parent)
        if (p == ancestor)
            return true;
    return false;
}

bool TagTree::canMoveBefore(const TagNode* node, const TagNode* target)
{
    if (!node || !target || node == target || !node->parent || !target->parent)
        return false;
    return !isWithin(target, node);
}

bool TagTree::moveBefore(TagNode* node, TagNode* target)
{
    if (!canMoveBefore(node, target))
        return false;
    detach(node);
    TagNode* p = target->parent;
    const size_t at = size_t(target->row);   // renumbered by detach
    p->children.insert(p->children.begin() + qsizetype(at), node);
    node->parent = p;
    renumber(p, at);
    return true;
}

TagNode* TagTree::duplicate(TagNode* node)
{
    if (!node || !node->parent)
        return nullptr;
    TagNode* copy = insert(node->parent, node->row, node->text, 0);
    // The latest copy made at each depth below the duplicated node; grows
    // with the subtree, so there is no depth limit.
    std::vector<TagNode*> latest{copy};
    walk(
        node,
        [&](const TagNode* n, int depth) {
            if (depth == 0)
                return;
            TagNode* c = append(latest[size_t(depth) - 1], n->text, 0);
            if (latest.size() <= size_t(depth))
                latest.push_back(c);
            else
                latest[size_t(depth)] = c;
        },
        [](const TagNode*, int) {});
    return copy;
}

void TagTree::setAllImages(int image, int selectedImage)
{
    for (TagNode* n = const_cast<TagNode*>(nextPreorder(m_root, m_root)); n;
         n = const_cast<TagNode*>(nextPreorder(n, m_root))) {
        n->imageIndex = image;
        n->selectedIndex = selectedImage;
    }
}

const TagNode* TagTree::nextPreorder(const TagNode* node, const TagNode* top)
{
    if (!node->children.empty())
        return node->children.front();
    const TagNode* n = node;
    while (n != top) {
        const TagNode* p = n->parent;
        if (!p)
            return nullptr;
        if (size_t(n->row) + 1 < p->children.size())
            return p->children[size_t(n->row) + 1];
        n = p;
    }
    return nullptr;
}
