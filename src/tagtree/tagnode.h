#pragma once
// The tag tree: an ordered forest of snippet nodes.  Plain data and tree
// operations, no widgets.  Every walk is iterative (parent pointers and row
// numbers), so a tree of any depth can be built, walked, copied and
// destroyed without recursion.

#include <QString>
#include <QStringView>
#include <utility>
#include <vector>

// The deepest tree that may be built or loaded, in levels.  The tree view
// lays out expanded nodes recursively, about 0.3 KB of stack a level: an
// 8 MB stack ends near 27,000 levels, a 256 KB one below 1,000.  This keeps
// a fully expanded tree within a few hundred KB.
inline constexpr int kMaxTagTreeLevels = 1000;

struct TagNode {
    QString text;                 // caption and inserted text
    int imageIndex = 2;           // icon while not selected
    int selectedIndex = 0;        // icon while selected
    TagNode* parent = nullptr;    // the tree's root for top-level nodes
    int row = 0;                  // position among the parent's children
    std::vector<TagNode*> children;

    bool isLeaf() const { return children.empty(); }
};

// A node's text split after its first ">" (the whole text is the opening
// part when there is no ">").
struct TagParts {
    QStringView opening;
    QStringView closing;
};
TagParts splitTagText(QStringView text);

class TagTree {
public:
    TagTree();
    ~TagTree();
    TagTree(const TagTree&) = delete;
    TagTree& operator=(const TagTree&) = delete;
    // Exchanges the whole trees.
    void swap(TagTree& other) noexcept { std::swap(m_root, other.m_root); }

    // The invisible root; its children are the top-level nodes.
    TagNode* root() { return m_root; }
    const TagNode* root() const { return m_root; }
    const std::vector<TagNode*>& topLevel() const { return m_root->children; }
    bool isEmpty() const { return m_root->children.empty(); }

    void clear();
    qsizetype nodeCount() const;

    // `parent` nullptr means the root.  Rows are clamped to the valid range.
    TagNode* append(TagNode* parent, const QString& text, int image = 2);
    TagNode* insert(TagNode* parent, int row, const QString& text, int image = 2);
    // Removes the node with its whole subtree.
    void remove(TagNode* node);

    // 0 for a top-level node; -1 for the root.
    static int level(const TagNode* node);
    // Levels beneath `node`: 0 for a leaf.
    static int height(const TagNode* node);
    // True when `node` is `ancestor` or lies beneath it.
    static bool isWithin(const TagNode* node, const TagNode* ancestor);

    // Moves `node` with its subtree to just before `target`, under the
    // target's parent.  Refused (false, nothing changes) when either is null
    // or the root, they are the same node, or the target lies inside the
    // node's subtree.
    static bool canMoveBefore(const TagNode* node, const TagNode* target);
    bool moveBefore(TagNode* node, TagNode* target);

    // Inserts a copy of `node` and its whole subtree just before it; every
    // copy gets image 0 and selected image 0.  Returns the copy.
    TagNode* duplicate(TagNode* node);

    void setAllImages(int image, int selectedImage = 0);

    // Next node in pre-order within the subtree of `top` (nullptr at the end).
    static const TagNode* nextPreorder(const TagNode* node, const TagNode* top);

    // Visits `top` and its descendants in pre-order.  enter(node, depth) is
    // called on the way down, leave(node, depth) once the node's subtree is
    // done; depth counts from 0 at `top`.
    template <class Enter, class Leave>
    static void walk(const TagNode* top, Enter&& enter, Leave&& leave)
    {
        const TagNode* n = top;
        int depth = 0;
        for (;;) {
            enter(n, depth);
            if (!n->children.empty()) {
                n = n->children.front();
                ++depth;
                continue;
            }
            for (;;) {
                leave(n, depth);
                if (n == top)
                    return;
                const TagNode* p = n->parent;
                if (size_t(n->row) + 1 < p->children.size()) {
                    n = p->children[size_t(n->row) + 1];
                    break;
                }
                n = p;
                --depth;
            }
        }
    }

private:
    static void renumber(TagNode* parent, size_t from);
    static void destroy(TagNode* node);
    void detach(TagNode* node);

    TagNode* m_root;
};
