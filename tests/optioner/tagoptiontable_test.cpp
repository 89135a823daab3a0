// The tag attribute table and its matching rule.
#include "optioner/tagoptiontable.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <set>

namespace {

QString name(const TagOptionEntry* e) { return e ? QString::fromLatin1(e->name) : QStringLiteral("(none)"); }

QStringList options(const TagOptionEntry& e)
{
    QStringList out;
    for (const TagOptionRow& r : e.rows)
        out << QString::fromLatin1(r.option);
    return out;
}

const TagOptionEntry& entry(const char* n)
{
    const TagOptionEntry* e = FindTagOptions(QStringLiteral("<%1>").arg(QLatin1String(n)));
    EXPECT_TRUE(e) << n;
    static const TagOptionEntry none{"", {}};
    return e ? *e : none;
}

QString description(const char* tag, int row)
{
    return QString::fromUtf8(entry(tag).rows[size_t(row)].description);
}

TEST(TagOptionTable, ShapeOfTheTable)
{
    const auto table = TagOptionTable();
    ASSERT_EQ(table.size(), 46u);
    size_t rows = 0;
    std::set<QString> names;
    for (const TagOptionEntry& e : table) {
        rows += e.rows.size();
        names.insert(QString::fromLatin1(e.name));
        for (const TagOptionRow& r : e.rows) {
            EXPECT_FALSE(QString::fromUtf8(r.description).isEmpty()) << e.name << " " << r.option;
            EXPECT_EQ(QString::fromLatin1(r.option), QString::fromLatin1(r.option).toUpper());
        }
        // Every entry finds itself, and only itself, by its caption.
        EXPECT_EQ(FindTagOptions(e.caption()), &e) << e.name;
        EXPECT_EQ(e.caption(), QStringLiteral("<%1>").arg(QLatin1String(e.name)));
    }
    EXPECT_EQ(rows, 193u);
    EXPECT_EQ(names.size(), 46u);
    EXPECT_EQ(QString::fromLatin1(table.front().name), "APPLET");
    EXPECT_EQ(QString::fromLatin1(table[2].name), "A");
    EXPECT_EQ(QString::fromLatin1(table.back().name), "UL");
}

TEST(TagOptionTable, RowsInOrderWithTheirRepeats)
{
    EXPECT_EQ(options(entry("FRAMESET")),
              QStringList({"BORDER", "BORDERCOLOR", "COLS", "FRAMEBORDER", "COLS", "FRAMSPACING", "ROWS"}));
    EXPECT_EQ(description("FRAMESET", 2), description("FRAMESET", 4));
    EXPECT_EQ(description("FRAMESET", 2),
              QString::fromUtf8("ウィンドウを左右に分割し、その割合を決める。例：COLS=(40%,60%)"));

    EXPECT_EQ(options(entry("INPUT")),
              QStringList({"ALIGN", "BORDER", "HEIGHT", "WIDTH", "MAXLENGTH", "NAME", "SRC", "SIZE", "SRC",
                           "TYPE", "VALUE"}));
    EXPECT_EQ(description("INPUT", 6), QString::fromUtf8("イメージファイルを設定"));
    EXPECT_EQ(description("INPUT", 8),
              QString::fromUtf8("イメージを表示させ、そのイメージ上でクリックした位置の情報(座標の数値)を送信する)"));

    EXPECT_EQ(entry("TABLE").rows.size(), 15u);
    EXPECT_EQ(options(entry("LAYER")).last(), "VISIBLITY");
    EXPECT_EQ(options(entry("FONT")), QStringList({"COLOR", "FACE", "POINT-SIZE", "SIZE"}));

    // TH repeats TD; TR takes TD's descriptions for its rows.
    const TagOptionEntry& td = entry("TD");
    const TagOptionEntry& th = entry("TH");
    ASSERT_EQ(th.rows.size(), 11u);
    for (size_t i = 0; i < td.rows.size(); ++i) {
        EXPECT_STREQ(td.rows[i].option, th.rows[i].option);
        EXPECT_STREQ(td.rows[i].description, th.rows[i].description);
    }
    const TagOptionEntry& tr = entry("TR");
    EXPECT_EQ(options(tr), QStringList({"ALIGN", "BACKGROUND", "BGCOLOR", "BORDERCOLOR", "BORDERCOLORDARK",
                                        "VALIGN", "WIDTH"}));
    for (const TagOptionRow& r : tr.rows) {
        bool found = false;
        for (const TagOptionRow& d : td.rows)
            found |= QByteArray(d.option) == r.option && QByteArray(d.description) == r.description;
        EXPECT_TRUE(found) << r.option;
    }
}

TEST(TagOptionTable, QuotedDescriptionsAreExact)
{
    EXPECT_EQ(description("APPLET", 0), QString::fromUtf8("JavaAppretの配置を決めます"));
    EXPECT_EQ(description("AREA", 2),
              QString::fromUtf8("領域の形を指定[rect(長方形),circle(円),polygon(多角形),Default(領域無し)"));
    EXPECT_EQ(description("A", 2),
              QString::fromUtf8("HTMLﾌｧｲﾙの表示先を指定[_self(ﾘﾝｸｽﾎﾟｯﾄと同じ),_top(ｳｨﾝﾄﾞｳ全体),任意の名前(新ｳｨﾝﾄﾞｳが開く)]"));
    EXPECT_EQ(description("FORM", 2),
              QString::fromUtf8("フォーム機能で情報を送信する時に必要となるオプション。一般的には\"POST\"を指定"));
    EXPECT_EQ(description("H4", 0), QString::fromUtf8("表示位置設定[right(右寄せ),left(左寄せ),center(中央)]"));
    EXPECT_EQ(description("HR", 0), description("H1", 0));
    EXPECT_EQ(description("META", 1), description("META", 2));
    EXPECT_EQ(description("LAYER", 4), QString::fromUtf8("レイヤーの中で指定した範囲だけ表示。例：CLIP=\"x1,x2,y1,y2\")"));
    EXPECT_EQ(description("TABLE", 13), QString::fromUtf8("内部のの罫線を部分的に表示[all,cols,groups,none,rows]"));
    EXPECT_EQ(description("TEXTAREA", 3), QString::fromUtf8("自動改行の設定[hard,physical,soft,virtual,off ]"));
    EXPECT_EQ(description("STYLE", 0), QString::fromUtf8("[text/css]を指定"));
    EXPECT_EQ(description("APPLET", 4), QString::fromUtf8("APPLETの縦幅を指定する"));
    EXPECT_EQ(description("BODY", 1), QString::fromUtf8("背景イメージファイルの指定"));
    EXPECT_EQ(description("FRAME", 3), QString::fromUtf8("フレーム部に名前をつける"));
}

TEST(FindTagOptions, MatchingRule)
{
    struct Case { const char* text; const char* want; };
    const Case cases[] = {
        {"<APPLET CODE=\"x.class\">", "APPLET"},
        {"<A HREF=\"x.htm\">", "A"},
        {"<a href=\"x.htm\">link</a>", "A"},
        {"<A>", "A"},
        {"<BASEFONT SIZE=3>", "BASEFONT"},
        {"<BASE HREF=\"x\">", "BASE"},
        {"<COL>", "COL"},
        {"<COL SPAN=2>", "COL"},
        {"<COLGROUP SPAN=2>", "COLGROUP"},
        {"<FRAMESET>", "FRAMESET"},
        {"<frame src=\"a.htm\">", "FRAME"},
        {"<font size=\"+1\">text</font>", "FONT"},
        {"<Font Color=red>", "FONT"},
        {"<TH>", "TH"},
        {"<TEXTAREA NAME=x>", "TEXTAREA"},
        {"<STYLE>", "STYLE"},
        {"<SPACER>", "SPACER"},
        {"<OPTION VALUE=1>", "OPTION"},
        {"<ISINDEX>", "ISINDEX"},
        {"<LAYER>", "LAYER"},
        {"<OL>", "OL"},
        {"<P>", "P"},
        {"<p align=center>", "P"},
        // no match
        {"<B>", nullptr},
        {"<CENTER>", nullptr},
        {"<TITLE>", nullptr},
        {"</FONT>", nullptr},
        {"<!-- FONT -->", nullptr},
        {"<!--<FONT>-->", nullptr},
        {"<FONT/>", nullptr},
        {"<FONT\tSIZE=3>", nullptr},
        {"< FONT>", nullptr},
        {"<FONT", nullptr},
        {"<FONTS>", nullptr},
        {"<APPLETX>", nullptr},
        {"<", nullptr},
        {"", nullptr},
        {"FONT>", nullptr},
        {"<ＦＯＮＴ>", nullptr},   // full-width letters are not ASCII
    };
    for (const Case& c : cases) {
        const TagOptionEntry* e = FindTagOptions(QString::fromUtf8(c.text));
        EXPECT_EQ(name(e), c.want ? QString::fromLatin1(c.want) : QStringLiteral("(none)")) << c.text;
    }
    for (int i = 1; i <= 6; ++i) {
        for (const QString& t : {QStringLiteral("<H%1>"), QStringLiteral("<h%1>"), QStringLiteral("<H%1 ALIGN=center>")}) {
            const TagOptionEntry* e = FindTagOptions(t.arg(i));
            ASSERT_TRUE(e) << t.arg(i).toStdString();
            EXPECT_EQ(e->caption(), QStringLiteral("<H%1>").arg(i));
            EXPECT_EQ(e->rows.size(), 1u);
        }
    }
    // Only ASCII letters are folded: the dotless i, which upper-cases to I, makes no IMG.
    EXPECT_EQ(FindTagOptions(QString::fromUtf8("<ıMG>")), nullptr);
    EXPECT_EQ(FindTagOptions(QString::fromUtf8("<MARQUEE>")), &entry("MARQUEE"));
}

} // namespace
