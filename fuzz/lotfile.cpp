// Fuzzes the layout tag file reader: any bytes must load without a crash,
// and a tree that loaded must write out and load back as the same tree.
#include "tagtree/lotfile.h"
#include "tagtree/tagpaste.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool sameTree(const TagTree& a, const TagTree& b)
{
    const TagNode* x = TagTree::nextPreorder(a.root(), a.root());
    const TagNode* y = TagTree::nextPreorder(b.root(), b.root());
    while (x && y) {
        if (x->text != y->text || TagTree::level(x) != TagTree::level(y))
            return false;
        x = TagTree::nextPreorder(x, a.root());
        y = TagTree::nextPreorder(y, b.root());
    }
    return !x && !y;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TagTree tree;
    const LotReadResult r = readLot(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)), tree);
    if (r.nodes != tree.nodeCount())
        abort();
    if (r.levelError)
        (void)lotLevelErrorMessage(*r.levelError);
    for (const TagNode* top : tree.topLevel())
        (void)tagPasteText(top);
    if (!tree.isEmpty())
        tree.duplicate(tree.topLevel().back());

    // Node texts never start with a blank (those were read as levels), so a
    // save and a load give the same tree back.
    const std::optional<QByteArray> bytes = formatLot(tree);
    if (!bytes)
        abort();   // decoding is lossless, so every loaded text encodes again
    TagTree again;
    const LotReadResult r2 = readLot(*bytes, again);
    if (r2.levelError || !sameTree(tree, again))
        abort();
    return 0;
}
