#pragma once
// The trees built into the program: the start-up tree, the new-tree
// skeleton, the standard tree and the eight topic catalogues.

#include "tagtree/tagnode.h"

enum class TagCatalogue {
    Standard,   // N23 標準ﾀｸﾞﾂﾘｰ
    Links,      // N29
    Headings,   // N22
    Fonts,      // N26
    Lists,      // N28
    Images,     // N33
    BlockText,  // N36
    Tables,     // N37
    Forms,      // N38
};

// Each of these empties the tree first.
void buildStartupTree(TagTree& tree);
void buildNewTree(TagTree& tree);
void buildCatalogue(TagCatalogue which, TagTree& tree);
