#include "tagtree/catalogues.h"
#include "tagtree/tagpaste.h"
#include "tagtree/treeutil.h"

#include <gtest/gtest.h>

TEST(TagText, SplitAfterFirstGreaterThan)
{
    auto parts = [](const QString& t) {
        const TagParts p = splitTagText(t);
        return p.opening.toString() + u'|' + p.closing.toString();
    };
    EXPECT_EQ(parts("<FONT></FONT>"), "<FONT>|</FONT>");
    EXPECT_EQ(parts("<LI>"), "<LI>|");
    EXPECT_EQ(parts("plain"), "plain|");
    EXPECT_EQ(parts(""), "|");
    EXPECT_EQ(parts("a>b>c"), "a>|b>c");
}

TEST(TagTreeMove, LandsBeforeTheTarget)
{
    TagTree tree;
    buildOutline(tree, "P|.a|.b|.c|Q");
    EXPECT_TRUE(tree.moveBefore(findNode(tree, "c"), findNode(tree, "a")));
    EXPECT_EQ(outline(tree), "P|.c|.a|.b|Q");
    // Onto a top-level node: becomes top-level before it.
    EXPECT_TRUE(tree.moveBefore(findNode(tree, "b"), findNode(tree, "Q")));
    EXPECT_EQ(outline(tree), "P|.c|.a|b|Q");
    // A subtree moves whole, across levels.
    EXPECT_TRUE(tree.moveBefore(findNode(tree, "P"), findNode(tree, "Q")));
    EXPECT_EQ(outline(tree), "b|P|.c|.a|Q");
    EXPECT_TRUE(tree.moveBefore(findNode(tree, "Q"), findNode(tree, "a")));
    EXPECT_EQ(outline(tree), "b|P|.c|.Q|.a");
    // Rows stay consistent after the moves.
    for (const TagNode* n = TagTree::nextPreorder(tree.root(), tree.root()); n;
         n = TagTree::nextPreorder(n, tree.root()))
        ASSERT_EQ(n->parent->children[size_t(n->row)], n);
}

TEST(TagTreeMove, RefusedMovesChangeNothing)
{
    TagTree tree;
    buildOutline(tree, "A|.B|..C|D");
    TagNode* a = findNode(tree, "A");
    EXPECT_FALSE(tree.moveBefore(a, a));
    EXPECT_FALSE(tree.moveBefore(a, findNode(tree, "B")));
    EXPECT_FALSE(tree.moveBefore(a, findNode(tree, "C")));
    EXPECT_FALSE(tree.moveBefore(a, nullptr));
    EXPECT_FALSE(tree.moveBefore(nullptr, a));
    EXPECT_FALSE(tree.moveBefore(a, tree.root()));
    EXPECT_EQ(outline(tree), "A|.B|..C|D");
}

TEST(TagTreeDuplicate, CopiesTheSubtreeJustBefore)
{
    TagTree tree;
    buildOutline(tree, "R|.S|..T|...U|...V|..W|.X");
    TagNode* s = findNode(tree, "S");
    TagNode* copy = tree.duplicate(s);
    EXPECT_EQ(outline(tree), "R|.S|..T|...U|...V|..W|.S|..T|...U|...V|..W|.X");
    EXPECT_EQ(copy->row, 0);
    EXPECT_EQ(s->row, 1);
    TagTree::walk(copy, [](const TagNode* n, int) { EXPECT_EQ(n->imageIndex, 0); },
                  [](const TagNode*, int) {});
    EXPECT_EQ(s->imageIndex, 2);
}

TEST(TagTreeDeep, HundredThousandLevels)
{
    // Build, walk, copy, paste and destroy a chain far deeper than any stack.
    constexpr int kDepth = 100000;
    auto tree = std::make_unique<TagTree>();
    TagNode* n = nullptr;
    TagNode* top = nullptr;
    for (int i = 0; i < kDepth; ++i) {
        n = tree->append(n, "<D></D>");
        if (!top)
            top = n;
    }
    EXPECT_EQ(TagTree::level(n), kDepth - 1);
    tree->append(nullptr, "tail");
    TagNode* copy = tree->duplicate(top);
    EXPECT_EQ(tree->nodeCount(), 2 * kDepth + 1);
    const TagPasteText p = tagPasteText(copy);
    EXPECT_EQ(p.lines, 2 * kDepth - 1);
    EXPECT_EQ(p.lastLine, "</D>");
    EXPECT_FALSE(tree->moveBefore(top, n));
    EXPECT_TRUE(tree->moveBefore(n, top));
    tree->remove(copy);
    EXPECT_EQ(tree->nodeCount(), kDepth + 1);
    tree.reset();
}

TEST(TagPaste, LineRule)
{
    TagTree tree;
    auto paste = [&](const QString& spec) {
        buildOutline(tree, spec);
        return tagPasteText(tree.topLevel().front());
    };
    EXPECT_EQ(paste("<FONT></FONT>").text, "<FONT></FONT>");
    EXPECT_EQ(paste("<UL></UL>|.<LI>").text, "<UL><LI></UL>");
    // Four lines run together.
    EXPECT_EQ(paste("<HTML></HTML>|.<HEAD></HEAD>|.<BODY></BODY>").text,
              "<HTML><HEAD></HEAD><BODY></BODY></HTML>");
    EXPECT_EQ(paste("<TABLE>|.<TR></TR>|..<TD></TD>").text, "<TABLE><TR><TD></TD></TR>");
    // Five lines or more: LF between, none after the last.
    EXPECT_EQ(paste("<A>|.<B></B>|.<C></C>|.<D></D>|.<E></E>").text,
              "<A>\n<B></B>\n<C></C>\n<D></D>\n<E></E>");
    const TagPasteText six = paste("<TABLE></TABLE>|.<TR></TR>|..<TD></TD>|..<TD></TD>");
    EXPECT_EQ(six.text, "<TABLE>\n<TR>\n<TD></TD>\n<TD></TD>\n</TR>\n</TABLE>");
    EXPECT_EQ(six.lastLine, "</TABLE>");
    EXPECT_EQ(six.lines, 6);
    // Texts without ">" and empty texts.
    EXPECT_EQ(paste("plain").text, "plain");
    EXPECT_EQ(paste("x|.|.y").text, "xy");
    EXPECT_EQ(paste("|.a|.b|.c|.d").text, "\na\nb\nc\nd");
}

TEST(TagPaste, FromAnInnerNodeStopsAtItsSubtree)
{
    TagTree tree;
    buildOutline(tree, "A|.<UL></UL>|..<LI>|.<P></P>|B");
    EXPECT_EQ(tagPasteText(findNode(tree, "<UL></UL>")).text, "<UL><LI></UL>");
}

TEST(Catalogues, Contents)
{
    TagTree tree;
    buildCatalogue(TagCatalogue::Links, tree);
    EXPECT_EQ(outline(tree), "<ﾘﾝｸ>|.<A></A>|.<BASE></BASE>");
    EXPECT_EQ(tagPasteText(tree.topLevel().front()).text, "<ﾘﾝｸ><A></A><BASE></BASE>");

    buildCatalogue(TagCatalogue::Headings, tree);
    EXPECT_EQ(tree.topLevel().front()->text, "<見出し段落>");
    EXPECT_EQ(tree.topLevel().front()->children.size(), 10u);

    buildCatalogue(TagCatalogue::Tables, tree);
    const TagPasteText t = tagPasteText(tree.topLevel().front());
    EXPECT_EQ(t.lines, 7);
    EXPECT_EQ(t.text.count(u'\n'), 6);
    EXPECT_EQ(outline(tree), "<表>|.<TABLE></TABLE>|.<CAPTION></CAPTION>|.<TR></TR>|.<TD></TD>|"
                             ".<TH></TH>|.<COLGROUP>");

    const std::pair<TagCatalogue, const char*> titles[] = {
        {TagCatalogue::Fonts, "<ﾌｫﾝﾄ>"},      {TagCatalogue::Lists, "<ﾘｽﾄ・箇条書き>"},
        {TagCatalogue::Images, "<ｲﾝﾗｲﾝ画像>"}, {TagCatalogue::BlockText, "<定型ﾃｷｽﾄ>"},
        {TagCatalogue::Forms, "<記入欄・ﾌｫｰﾑ>"}};
    const size_t counts[] = {10, 8, 3, 6, 5};
    for (size_t i = 0; i < std::size(titles); ++i) {
        buildCatalogue(titles[i].first, tree);
        ASSERT_EQ(tree.topLevel().size(), 1u);
        EXPECT_EQ(tree.topLevel().front()->text, QString::fromUtf8(titles[i].second));
        EXPECT_EQ(tree.topLevel().front()->children.size(), counts[i]);
    }
}

TEST(Catalogues, StandardAndStartupTreesDiffer)
{
    TagTree standard, startup;
    buildCatalogue(TagCatalogue::Standard, standard);
    buildStartupTree(startup);
    const QString body = "<A></A>|<BR>|<HR>|<H1></H1>|<H2></H2>|<H3></H3>|<H4></H4>|<H5></H5>|"
                         "<H6></H6>|<P>|<P></P>|";
    auto children = [](TagTree& t) {
        QStringList out;
        for (TagNode* c : findNode(t, "<BODY></BODY>")->children)
            out << c->text;
        return out.join(u'|');
    };
    EXPECT_EQ(children(standard), body + "<FONT></FONT>|<B>|<I></I>|<UL></UL>|<OL></OL>|<IMG>|"
                                         "<PRE></PRE>|<TABLE>");
    EXPECT_EQ(children(startup), body + "<BR>|<HR>|<FONT></FONT>|<B></B>|<I></I>|<UL></UL>|"
                                        "<OL></OL>|<IMG>|<PRE></PRE>|<TABLE></TABLE>");
    EXPECT_TRUE(outline(standard).startsWith("<HTML></HTML>|.<HEAD></HEAD>|..<TITLE></TITLE>|."));
    EXPECT_TRUE(outline(standard).endsWith("..<TABLE>|...<TR></TR>|....<TD></TD>"));
    EXPECT_TRUE(outline(startup).endsWith("..<TABLE></TABLE>|...<TR></TR>|....<TD></TD>"));

    // Images: all 2 in the standard tree; only the skeleton's three in the start-up tree.
    TagTree::walk(standard.root()->children.front(),
                  [](const TagNode* n, int) { EXPECT_EQ(n->imageIndex, 2); }, [](const TagNode*, int) {});
    int twos = 0;
    TagTree::walk(startup.root()->children.front(),
                  [&](const TagNode* n, int) { twos += n->imageIndex == 2; }, [](const TagNode*, int) {});
    EXPECT_EQ(twos, 3);
    EXPECT_EQ(findNode(startup, "<HEAD></HEAD>")->imageIndex, 2);

    TagTree fresh;
    buildNewTree(fresh);
    EXPECT_EQ(outline(fresh), "<HTML></HTML>|.<HEAD></HEAD>|.<BODY></BODY>");
}
