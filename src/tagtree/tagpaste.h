#pragma once
// The text that a node and its subtree put into a document.

#include "tagtree/tagnode.h"

#include <QString>

struct TagPasteText {
    QString text;       // the whole insertion
    QString lastLine;   // what the clipboard holds afterwards
    qsizetype lines = 0;
};

// A leaf gives its text as one line; a parent gives its opening part, the
// lines of its descendants, then its closing part when that is not empty.
// Five lines or more are separated by LF (none after the last); fewer run
// together.  Linear in the size of the subtree.
TagPasteText tagPasteText(const TagNode* node);
