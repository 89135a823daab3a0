// Fuzzes the layout tag file reader: any bytes must load without a crash,
// and a tree that loaded must write out and load back as the same tree.
#include "tagtree/lotfile.h"
#include "tagtree/tagpaste.h"
#include "tagtree/treeutil.h"   // the tests' outline()

#include <cstdint>
#include <cstdlib>


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
    if (r2.levelError || outline(tree) != outline(again))
        abort();
    return 0;
}
