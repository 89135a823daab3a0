#include "builders/table/tablegrid.h"

#include "builders/entryvalue.h"

TableGrid::TableGrid() : m_widths(1, kDefaultColumnWidth), m_heights(1, kDefaultRowHeight) {}

int TableGrid::columnWidth(int c) const
{
    return c >= 1 && c <= columns() ? m_widths[c - 1] : 0;
}

int TableGrid::rowHeight(int r) const
{
    return r >= 1 && r <= rows() ? m_heights[r - 1] : 0;
}

void TableGrid::setColumnWidth(int c, int width)
{
    if (c >= 1 && c <= columns())
        m_widths[c - 1] = width;
}

void TableGrid::setRowHeight(int r, int height)
{
    if (r >= 1 && r <= rows())
        m_heights[r - 1] = height;
}

void TableGrid::addColumn()
{
    m_widths.push_back(kDefaultColumnWidth);
}

void TableGrid::addRow()
{
    m_heights.push_back(kDefaultRowHeight);
}

bool TableGrid::removeColumn()
{
    if (columns() <= 1)
        return false;
    m_widths.pop_back();
    return true;
}

bool TableGrid::removeRow()
{
    if (rows() <= 1)
        return false;
    m_heights.pop_back();
    return true;
}

QString TableGrid::columnLabel(int c)
{
    return QString::number(c) + QStringLiteral("列(TD)");
}

QString TableGrid::rowLabel(int r)
{
    return QString::number(r) + QStringLiteral("行(TR)");
}

QString TableGrid::cellLabel(int r, int c)
{
    return QStringLiteral("Body:(%1,%2)").arg(r).arg(c);
}

QString TableGrid::statusText(int columns, int rows)
{
    return QStringLiteral("列：%1行：%2").arg(columns).arg(rows);
}

QString TableGrid::cellTagForSize(int width, int height)
{
    return QStringLiteral(" <TD ALIGN=\"left\" WIDTH=\"%1\" HEIGHT=\"%2\"></TD>").arg(width).arg(height);
}

QString TableGrid::toHtml(const QString& tableTagText, const QString& lineBreak) const
{
    // A cell line is <TD ALIGN="left" WIDTH="w" HEIGHT="h" ><!-- Body:(r,c) --></TD>.
    // The parts that depend on the column alone and on the row alone are made
    // once, so a cell costs three appends.
    const int nc = columns();
    const int nr = rows();
    std::vector<QString> cellHead(nc);   // <TD ALIGN="left" WIDTH="w" HEIGHT="
    std::vector<QString> cellTail(nc);   // c) --></TD> + line break
    qsizetype perRowCells = 0;
    for (int c = 1; c <= nc; ++c) {
        cellHead[c - 1] = QStringLiteral("<TD ALIGN=\"left\" WIDTH=\"") + QString::number(m_widths[c - 1])
            + QStringLiteral("\" HEIGHT=\"");
        cellTail[c - 1] = QString::number(c) + QStringLiteral(") --></TD>") + lineBreak;
        perRowCells += cellHead[c - 1].size() + cellTail[c - 1].size();
    }
    const QString rowOpen = QStringLiteral("<TR>") + lineBreak;
    const QString rowClose = QStringLiteral("</TR>") + lineBreak;

    QString out;
    const QString tag = tableTagText.mid(1);
    // Per cell besides head and tail: height, `" ><!-- Body:(`, row number, ','.
    out.reserve(tag.size() + lineBreak.size() + qsizetype(nr) * (rowOpen.size() + rowClose.size())
                + qsizetype(nr) * (perRowCells + qsizetype(nc) * 40) + 16);
    out += tag;
    out += lineBreak;
    for (int r = 1; r <= nr; ++r) {
        const QString rowMid = QString::number(m_heights[r - 1]) + QStringLiteral("\" ><!-- Body:(")
            + QString::number(r) + QLatin1Char(',');
        out += rowOpen;
        for (int c = 0; c < nc; ++c) {
            out += cellHead[c];
            out += rowMid;
            out += cellTail[c];
        }
        out += rowClose;
    }
    out += QStringLiteral("</TABLE>");
    return out;
}

std::optional<QString> SelectedCell::confirm(const QString& width, const QString& height)
{
    for (const QString* text : {&width, &height})
        if (std::optional<QString> refused = entry::refusal(*text, kMinSize, kMaxSize))
            return refused;
    widthText = *entry::wholeNumber(width);
    heightText = *entry::wholeNumber(height);
    return std::nullopt;
}

std::optional<QString> SelectedCell::unreadable() const
{
    for (const QString* text : {&widthText, &heightText})
        if (!entry::wholeNumber(*text))
            return *text;
    return std::nullopt;
}

std::optional<QString> SelectedCell::applyTo(TableGrid& grid) const
{
    if (std::optional<QString> refused = unreadable())
        return refused;
    grid.setColumnWidth(column, entry::wholeNumber(widthText)->toInt());
    grid.setRowHeight(row, entry::wholeNumber(heightText)->toInt());
    return std::nullopt;
}
