#include "builders/entryvalue.h"
#include "builders/table/tablegrid.h"
#include "builders/table/tablesettings.h"

#include <QStringList>
#include <gtest/gtest.h>

TEST(TableSettings, TagTextWritesTheSetAttributesInFixedOrder)
{
    TableSettings s;
    EXPECT_EQ(s.tagText(), QStringLiteral(" <TABLE >"));

    s.values[TableSettings::Align] = QStringLiteral("center");
    EXPECT_EQ(s.tagText(), QStringLiteral(" <TABLE ALIGN=\"center\" >"));

    // Set out of order; written in order, nothing escaped.
    s.values[TableSettings::BorderColor] = QStringLiteral("Red");
    s.values[TableSettings::BgColor] = QStringLiteral("Silver");
    s.values[TableSettings::CellPadding] = QStringLiteral("6");
    s.values[TableSettings::CellSpacing] = QStringLiteral("5");
    s.values[TableSettings::Border] = QStringLiteral("4");
    s.values[TableSettings::Height] = QStringLiteral("3");
    s.values[TableSettings::Width] = QStringLiteral("2");
    s.values[TableSettings::Align] = QStringLiteral("a\"&<");
    EXPECT_EQ(s.tagText(), QStringLiteral(" <TABLE ALIGN=\"a\"&<\" WIDTH=\"2\" HEIGHT=\"3\" BORDER=\"4\" "
                                          "CELLSPACING=\"5\" CELLPADDING=\"6\" BGCOLOR=\"Silver\" "
                                          "BORDERCOLOR=\"Red\" >"));
}

TEST(TableSettings, ConfirmStoresEveryEntryOrNone)
{
    TableSettings s;
    s.values[TableSettings::BgColor] = QStringLiteral("Navy");
    s.values[TableSettings::CellPadding] = QStringLiteral("9");

    const QString& none = entry::kNothing;
    EXPECT_EQ(s.confirm({QStringLiteral("left"), QStringLiteral("05"), none, QStringLiteral(" 1"), none, none}),
              std::nullopt);
    const QString stored = QStringLiteral(" <TABLE ALIGN=\"left\" WIDTH=\"5\" BORDER=\"1\" BGCOLOR=\"Navy\" >");
    EXPECT_EQ(s.tagText(), stored);

    // HEIGHT and CELLPADDING refused: the first is reported and nothing is
    // stored, neither the entries before it nor those after it.
    const auto refused = s.confirm({QStringLiteral("right"), QStringLiteral("7"), QStringLiteral("abc"),
                                    QStringLiteral("3"), QStringLiteral("3"), QStringLiteral("x")});
    EXPECT_EQ(refused, std::optional<int>(TableSettings::Height));
    EXPECT_EQ(s.tagText(), stored);
    EXPECT_EQ(s.confirm({none, none, none, none, none, QStringLiteral("1.5")}),
              std::optional<int>(TableSettings::CellPadding));
    EXPECT_EQ(s.tagText(), stored);
}

TEST(EntryValue, WholeNumbersAndRanges)
{
    EXPECT_EQ(entry::wholeNumber(QStringLiteral("05")), QStringLiteral("5"));
    EXPECT_EQ(entry::wholeNumber(QStringLiteral(" 7 ")), QStringLiteral("7"));
    EXPECT_EQ(entry::wholeNumber(QStringLiteral("-3")), QStringLiteral("-3"));
    for (const char* bad : {"", " ", "abc", "1.5", "1e3", "12px", "99999999999", "0x10"})
        EXPECT_EQ(entry::wholeNumber(QString::fromLatin1(bad)), std::nullopt) << bad;

    EXPECT_EQ(entry::refusal(QStringLiteral("abc"), 1, 9), QStringLiteral("'abc' は数値ではありません"));
    EXPECT_EQ(entry::refusal(QStringLiteral(" 010"), 1, 10), std::nullopt);
    EXPECT_EQ(entry::refusal(QStringLiteral("11"), 1, 10), QStringLiteral("'11' は 1 から 10 までの数値ではありません"));
    // A '%' in the entry is shown as typed.
    EXPECT_EQ(entry::outOfRange(QStringLiteral("%2%1"), 1, 10), QStringLiteral("'%2%1' は 1 から 10 までの数値ではありません"));
}

TEST(TableGrid, OneCellGridConvertsToFiveLines)
{
    TableGrid g;
    EXPECT_EQ(g.toHtml(QStringLiteral(" <TABLE >"), QStringLiteral("\r\n")),
              QStringLiteral("<TABLE >\r\n<TR>\r\n<TD ALIGN=\"left\" WIDTH=\"80\" HEIGHT=\"16\" "
                             "><!-- Body:(1,1) --></TD>\r\n</TR>\r\n</TABLE>"));
    EXPECT_EQ(g.cellTagText(1, 1), QStringLiteral(" <TD ALIGN=\"left\" WIDTH=\"80\" HEIGHT=\"16\"></TD>"));
    EXPECT_EQ(TableGrid::statusText(g.columns(), g.rows()), QStringLiteral("列：1行：1"));
}

TEST(TableGrid, EachCellTakesItsColumnsWidthAndItsRowsHeight)
{
    TableGrid g;
    EXPECT_FALSE(g.removeColumn());
    EXPECT_FALSE(g.removeRow());
    g.addColumn();
    g.addColumn();
    g.addRow();
    g.setColumnWidth(2, 120);
    g.setRowHeight(2, 33);
    g.setColumnWidth(9, 1);   // outside: ignored
    const QStringList lines = g.toHtml(QStringLiteral(" <TABLE BORDER=\"1\" >"), QStringLiteral("\n")).split('\n');
    ASSERT_EQ(lines.size(), 2 + 2 * (2 + 3));
    EXPECT_EQ(lines[0], QStringLiteral("<TABLE BORDER=\"1\" >"));
    EXPECT_EQ(lines[3], QStringLiteral("<TD ALIGN=\"left\" WIDTH=\"120\" HEIGHT=\"16\" ><!-- Body:(1,2) --></TD>"));
    EXPECT_EQ(lines[5], QStringLiteral("</TR>"));
    EXPECT_EQ(lines[7], QStringLiteral("<TD ALIGN=\"left\" WIDTH=\"80\" HEIGHT=\"33\" ><!-- Body:(2,1) --></TD>"));
    EXPECT_EQ(lines[8], QStringLiteral("<TD ALIGN=\"left\" WIDTH=\"120\" HEIGHT=\"33\" ><!-- Body:(2,2) --></TD>"));
    EXPECT_EQ(lines[9], QStringLiteral("<TD ALIGN=\"left\" WIDTH=\"80\" HEIGHT=\"33\" ><!-- Body:(2,3) --></TD>"));
    EXPECT_EQ(lines.last(), QStringLiteral("</TABLE>"));

    EXPECT_TRUE(g.removeColumn());
    EXPECT_EQ(g.columns(), 2);
    g.addColumn();
    EXPECT_EQ(g.columnWidth(3), TableGrid::kDefaultColumnWidth);
}

TEST(SelectedCell, ConfirmStoresBothSizesOrNeither)
{
    SelectedCell cell;
    TableGrid g;
    // Never selected: nothing to apply, reported with the empty text.
    EXPECT_EQ(cell.applyTo(g), std::optional<QString>(QString()));

    EXPECT_EQ(cell.confirm(QStringLiteral("0120"), QStringLiteral("x")),
              std::optional<QString>(QStringLiteral("'x' は数値ではありません")));
    EXPECT_TRUE(cell.widthText.isEmpty());
    EXPECT_TRUE(cell.heightText.isEmpty());
    EXPECT_EQ(cell.confirm(QStringLiteral("90"), QStringLiteral("20")), std::nullopt);
    EXPECT_EQ(cell.confirm(QStringLiteral("-50"), QStringLiteral("99999999")),
              std::optional<QString>(QStringLiteral("'-50' は 1 から 9999 までの数値ではありません")));
    EXPECT_EQ(cell.applyTo(g), std::nullopt);
    EXPECT_EQ(g.columnWidth(1), 90);
    EXPECT_EQ(g.rowHeight(1), 20);
}
