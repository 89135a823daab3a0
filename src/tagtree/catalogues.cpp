#include "tagtree/catalogues.h"

#include <initializer_list>

namespace {

using List = std::initializer_list<const char16_t*>;

TagNode* add(TagTree& tree, TagNode* parent, const char16_t* text, int image)
{
    return tree.append(parent, QString::fromUtf16(text), image);
}

void addAll(TagTree& tree, TagNode* parent, List texts, int image)
{
    for (const char16_t* t : texts)
        add(tree, parent, t, image);
}

void buildTopic(TagTree& tree, const char16_t* title, List children)
{
    TagNode* top = add(tree, nullptr, title, 2);
    addAll(tree, top, children, 2);
}

} // namespace

void buildStartupTree(TagTree& tree)
{
    tree.clear();
    TagNode* html = add(tree, nullptr, u"<HTML></HTML>", 2);
    TagNode* head = add(tree, html, u"<HEAD></HEAD>", 2);
    add(tree, head, u"<TITLE></TITLE>", 0);
    TagNode* body = add(tree, html, u"<BODY></BODY>", 2);
    addAll(tree, body,
           {u"<A></A>", u"<BR>", u"<HR>", u"<H1></H1>", u"<H2></H2>", u"<H3></H3>", u"<H4></H4>",
            u"<H5></H5>", u"<H6></H6>", u"<P>", u"<P></P>", u"<BR>", u"<HR>", u"<FONT></FONT>",
            u"<B></B>", u"<I></I>"},
           0);
    add(tree, add(tree, body, u"<UL></UL>", 0), u"<LI>", 0);
    add(tree, add(tree, body, u"<OL></OL>", 0), u"<LI>", 0);
    add(tree, body, u"<IMG>", 0);
    add(tree, body, u"<PRE></PRE>", 0);
    TagNode* table = add(tree, body, u"<TABLE></TABLE>", 0);
    add(tree, add(tree, table, u"<TR></TR>", 0), u"<TD></TD>", 0);
}

void buildNewTree(TagTree& tree)
{
    tree.clear();
    TagNode* html = add(tree, nullptr, u"<HTML></HTML>", 2);
    add(tree, html, u"<HEAD></HEAD>", 2);
    add(tree, html, u"<BODY></BODY>", 2);
}

void buildCatalogue(TagCatalogue which, TagTree& tree)
{
    tree.clear();
    switch (which) {
    case TagCatalogue::Standard: {
        TagNode* html = add(tree, nullptr, u"<HTML></HTML>", 2);
        TagNode* head = add(tree, html, u"<HEAD></HEAD>", 2);
        add(tree, head, u"<TITLE></TITLE>", 2);
        TagNode* body = add(tree, html, u"<BODY></BODY>", 2);
        addAll(tree, body,
               {u"<A></A>", u"<BR>", u"<HR>", u"<H1></H1>", u"<H2></H2>", u"<H3></H3>",
                u"<H4></H4>", u"<H5></H5>", u"<H6></H6>", u"<P>", u"<P></P>", u"<FONT></FONT>",
                u"<B>", u"<I></I>"},
               2);
        add(tree, add(tree, body, u"<UL></UL>", 2), u"<LI>", 2);
        add(tree, add(tree, body, u"<OL></OL>", 2), u"<LI>", 2);
        add(tree, body, u"<IMG>", 2);
        add(tree, body, u"<PRE></PRE>", 2);
        TagNode* table = add(tree, body, u"<TABLE>", 2);
        add(tree, add(tree, table, u"<TR></TR>", 2), u"<TD></TD>", 2);
        break;
    }
    case TagCatalogue::Links:
        buildTopic(tree, u"<ﾘﾝｸ>", {u"<A></A>", u"<BASE></BASE>"});
        break;
    case TagCatalogue::Headings:
        buildTopic(tree, u"<見出し段落>",
                   {u"<H1></H1>", u"<H2></H2>", u"<H3></H3>", u"<H4></H4>", u"<H5></H5>",
                    u"<H6></H6>", u"<P></P>", u"<P>", u"<BR>", u"<HR>"});
        break;
    case TagCatalogue::Fonts:
        buildTopic(tree, u"<ﾌｫﾝﾄ>",
                   {u"<FONT></FONT>", u"<BIG></BIG>", u"<SMALL></SMALL>", u"<B></B>", u"<I></I>",
                    u"<U></U>", u"<TT></TT>", u"<S></S>", u"<SUP></SUP>", u"<SUB></SUB>"});
        break;
    case TagCatalogue::Lists:
        buildTopic(tree, u"<ﾘｽﾄ・箇条書き>",
                   {u"<UL></UL>", u"<OL></OL>", u"<DIR></DIR>", u"<MENU></MENU>", u"<LI>",
                    u"<DL></DL>", u"<DT>", u"<DD>"});
        break;
    case TagCatalogue::Images:
        buildTopic(tree, u"<ｲﾝﾗｲﾝ画像>", {u"<IMG>", u"<MAP></MAP>", u"<AREA>"});
        break;
    case TagCatalogue::BlockText:
        buildTopic(tree, u"<定型ﾃｷｽﾄ>",
                   {u"<PRE></PRE>", u"<BLOCKQUOTE></BLOCKQUOTE>", u"<CENTER></CENTER>",
                    u"<DIV></DIV>", u"<NOBR></NOBR>", u"<WBR>"});
        break;
    case TagCatalogue::Tables:
        buildTopic(tree, u"<表>",
                   {u"<TABLE></TABLE>", u"<CAPTION></CAPTION>", u"<TR></TR>", u"<TD></TD>",
                    u"<TH></TH>", u"<COLGROUP>"});
        break;
    case TagCatalogue::Forms:
        buildTopic(tree, u"<記入欄・ﾌｫｰﾑ>",
                   {u"<FORM></FORM>", u"<INPUT>", u"<TEXTAREA></TEXTAREA>", u"<SELECT></SELECT>",
                    u"<OPTION>"});
        break;
    }
}
