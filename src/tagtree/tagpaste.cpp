#include "tagtree/tagpaste.h"

TagPasteText tagPasteText(const TagNode* node)
{
    TagPasteText out;
    if (!node)
        return out;
    // Record the lines as views into the node texts first: the separator
    // depends on how many there are.
    std::vector<QStringView> lines;
    TagTree::walk(
        node,
        [&](const TagNode* n, int) {
            lines.push_back(n->isLeaf() ? QStringView(n->text) : splitTagText(n->text).opening);
        },
        [&](const TagNode* n, int) {
            if (n->isLeaf())
                return;
            const QStringView closing = splitTagText(n->text).closing;
            if (!closing.isEmpty())
                lines.push_back(closing);
        });
    const bool separate = lines.size() >= 5;
    qsizetype total = 0;
    for (QStringView l : lines)
        total += l.size() + 1;
    out.text.reserve(total);
    for (size_t i = 0; i < lines.size(); ++i) {
        out.text.append(lines[i]);
        if (separate && i + 1 < lines.size())
            out.text.append(QLatin1Char('\n'));
    }
    out.lastLine = lines.back().toString();
    out.lines = qsizetype(lines.size());
    return out;
}
