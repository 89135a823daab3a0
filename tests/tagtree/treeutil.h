#pragma once
// Helpers shared by the tag tree tests.
#include "tagtree/tagnode.h"

#include <QString>
#include <QStringList>

// The tree as one line per node, a '.' per level: "A|.B|..C|D".
inline QString outline(const TagTree& tree)
{
    QStringList out;
    for (const TagNode* n = TagTree::nextPreorder(tree.root(), tree.root()); n;
         n = TagTree::nextPreorder(n, tree.root()))
        out << QString(TagTree::level(n), u'.') + n->text;
    return out.join(u'|');
}

// Builds a tree from the same notation.
inline void buildOutline(TagTree& tree, const QString& spec, int image = 2)
{
    tree.clear();
    std::vector<TagNode*> path;
    if (spec.isEmpty())
        return;
    for (const QString& item : spec.split(u'|')) {
        qsizetype level = 0;
        while (level < item.size() && item.at(level) == u'.')
            ++level;
        TagNode* parent = level > 0 ? path[size_t(level) - 1] : nullptr;
        TagNode* n = tree.append(parent, item.mid(level), image);
        path.resize(size_t(level));
        path.push_back(n);
    }
}

inline TagNode* findNode(TagTree& tree, const QString& text)
{
    for (const TagNode* n = TagTree::nextPreorder(tree.root(), tree.root()); n;
         n = TagTree::nextPreorder(n, tree.root()))
        if (n->text == text)
            return const_cast<TagNode*>(n);
    return nullptr;
}
