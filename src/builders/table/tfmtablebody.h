#pragma once
// "ﾃｰﾌﾞﾙﾋﾞﾙﾀﾞｰ": the table builder's grid window.  The header control adds and
// removes columns and rows, opens the table settings and converts the grid
// to HTML; the grid's column widths and row heights become the cells' WIDTH
// and HEIGHT.  The popup inserts the selected cell's tag into the document or
// opens the cell settings.  Closing hides the window; everything lasts for
// the run.

#include "builders/table/tablegrid.h"
#include "builders/table/tablesettings.h"

#include "app/toolwindow.h"

#include <QWidget>

class BodyGridModel;
class EditorPort;
class Prompts;
class QAction;
class QDialog;
class QHeaderView;
class QLabel;
class QMenu;
class QStatusBar;
class QTableView;
class TFmCell;
class TFmHead;
class TFmTableResult;
class TextPanel;

class TFmTableBody : public QWidget {
    Q_OBJECT
public:
    enum Section { AddColumn, DeleteColumn, AddRow, DeleteRow, Settings, Convert };

    TFmTableBody(Prompts& prompts, EditorPort& editor, QWidget* parent = nullptr);
    ~TFmTableBody() override;

    // Handlers, public so that the program and tests can drive them.
    void FormActivate();
    void HeaderControl1SectionClick(int section);
    void BodyGridSelectCell(int column, int row);
    void BodyGridMouseMove();
    void TablePopPopup();
    void MTdClick();
    void MEditingClick();

    // The popup item the document command switch enables and disables.
    QAction* MTd() const { return m_mtd; }
    QAction* MEditing() const { return m_mediting; }
    QMenu* TablePop() const { return m_tablePop; }
    QHeaderView* HeaderControl1() const { return m_headerControl; }
    QTableView* BodyGrid() const { return m_bodyGrid; }
    TextPanel* tablePanel() const { return m_tablePanel; }
    TextPanel* TDPanel() const { return m_tdPanel; }
    QString statusText() const;

    TFmHead* head() const { return m_head; }
    TFmCell* cellDialog() const { return m_cell; }
    TFmTableResult* resultWindow() const { return m_result; }

    const TableGrid& grid() const { return m_grid; }
    const TableSettings& settings() const { return m_settings; }
    const SelectedCell& selectedCell() const { return m_selected; }
    // The table tag text as `tablePanel` shows it (" <TABLE >" at first).
    const QString& tableTagText() const { return m_tableTag; }
    // The number of data columns and rows the conversion uses: the grid's,
    // as of the last click on the header control.
    int convertedColumns() const { return m_convertedColumns; }
    int convertedRows() const { return m_convertedRows; }

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int runOwnDialog(QDialog& dialog);
    void showStatus();
    void showCellTag(int column, int row, bool alsoMenu);
    void syncSizesFromView();
    void keepSelectionInGrid();

    Prompts& m_prompts;
    EditorPort& m_editor;
    TableGrid m_grid;
    TableSettings m_settings;
    SelectedCell m_selected;
    QString m_tableTag;
    int m_convertedColumns = 1;
    int m_convertedRows = 1;
    // Coming back from one of our own dialogs is not an activation.
    ActivationWatch m_activation;

    BodyGridModel* m_model = nullptr;
    QHeaderView* m_headerControl = nullptr;
    TextPanel* m_tablePanel = nullptr;
    TextPanel* m_tdPanel = nullptr;
    QTableView* m_bodyGrid = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_statusPanels[2] = {};
    QMenu* m_tablePop = nullptr;
    QAction* m_mtd = nullptr;
    QAction* m_mediting = nullptr;
    TFmHead* m_head = nullptr;
    TFmCell* m_cell = nullptr;
    TFmTableResult* m_result = nullptr;
};
