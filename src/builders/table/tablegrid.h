#pragma once
// The table builder's grid without its view: data columns and rows with
// their widths and heights in pixels, the labels the grid shows, the cell tag
// of the selected cell and the converted table.
//
// Columns and rows are counted from 1 (the fixed header row and column of
// the grid are 0).  Labels are not stored: every data cell reads
// "Body:(r,c)" and every header "c列(TD)" / "r行(TR)", so they are computed.

#include <QString>
#include <optional>
#include <vector>

class TableGrid {
public:
    static constexpr int kDefaultColumnWidth = 80;
    static constexpr int kDefaultRowHeight = 16;

    TableGrid();

    int columns() const { return int(m_widths.size()); }
    int rows() const { return int(m_heights.size()); }

    int columnWidth(int c) const;     // 0 outside the grid
    int rowHeight(int r) const;
    void setColumnWidth(int c, int width);
    void setRowHeight(int r, int height);

    void addColumn();
    void addRow();
    // Remove the last data column / row; the grid always keeps one of each.
    // False when there was only one.
    bool removeColumn();
    bool removeRow();

    static QString columnLabel(int c);          // "1列(TD)"
    static QString rowLabel(int r);             // "1行(TR)"
    static QString cellLabel(int r, int c);     // "Body:(1,1)"
    static QString statusText(int columns, int rows);   // "列：1行：1"

    // ` <TD ALIGN="left" WIDTH="w" HEIGHT="h"></TD>` (with the leading blank).
    static QString cellTagForSize(int width, int height);
    QString cellTagText(int c, int r) const { return cellTagForSize(columnWidth(c), rowHeight(r)); }

    // The converted table: the table tag without its leading blank, then per
    // row "<TR>", one line per cell, "</TR>", and "</TABLE>", the lines
    // separated by `lineBreak` (none after the last).  Linear in the number
    // of cells.
    QString toHtml(const QString& tableTagText, const QString& lineBreak) const;

private:
    std::vector<int> m_widths;
    std::vector<int> m_heights;
};

// The cell the user last selected and the size texts the cell settings
// dialog shows and stores (empty until a cell was selected or the mouse
// moved over the grid).
struct SelectedCell {
    // The sizes the cell settings dialog accepts, in pixels: a column or row
    // of 0 disappears from the grid.
    static constexpr int kMinSize = 1;
    static constexpr int kMaxSize = 9999;

    int column = 1;
    int row = 1;
    QString widthText;
    QString heightText;

    // The dialog's confirm step: both entries are checked (width first) and
    // stored only when both are whole numbers from kMinSize to kMaxSize.
    // Returns the refusal message for the first that is not, storing
    // nothing.
    std::optional<QString> confirm(const QString& width, const QString& height);

    // The first stored text that is not a whole number (for instance still
    // empty), or nothing.
    std::optional<QString> unreadable() const;

    // Applies the stored texts to the whole selected column and row.  Returns
    // the offending text, changing nothing, when either is not a whole number.
    std::optional<QString> applyTo(TableGrid& grid) const;
};
