#include "builders/table/tfmtablebody.h"

#include "app/icons.h"
#include "platform/commandheader.h"
#include "platform/prompts.h"
#include "platform/product.h"
#include "platform/textpanel.h"
#include "app/editorport.h"
#include "builders/table/bodygridmodel.h"
#include "builders/table/tfmcell.h"
#include "builders/table/tfmhead.h"
#include "builders/table/tfmtableresult.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDialog>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A strip: its caption, then the panel, which the caption names for screen
// readers.  The panel keeps to the window's width, whatever its tag.
QHBoxLayout* labelledStrip(const QString& caption, TextPanel* panel)
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(4, 0, 2, 0);
    auto* label = new QLabel(caption);
    label->setMinimumWidth(48);
    label->setBuddy(panel);
    panel->setCaption(caption);
    panel->setElideMode(Qt::ElideMiddle);
    row->addWidget(label);
    row->addWidget(panel, 1);
    return row;
}

// Section size the header can hold: from 0 up to its maximum.
int boundedSection(const QHeaderView* header, int size)
{
    return std::clamp(size, 0, header->maximumSectionSize());
}

} // namespace

TFmTableBody::TFmTableBody(Prompts& prompts, EditorPort& editor, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_prompts(prompts), m_editor(editor),
      m_tableTag(m_settings.tagText())
{
    setObjectName(QStringLiteral("FmTableBody"));
    setWindowTitle(QStringLiteral("ﾃｰﾌﾞﾙﾋﾞﾙﾀﾞｰ"));
    resize(455, 301);

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(2);

    // ---- header control: six clickable sections
    auto* sections = new QStandardItemModel(0, 6, this);
    sections->setHorizontalHeaderLabels({QStringLiteral("列追加"), QStringLiteral("列削除"),
                                         QStringLiteral("行追加"), QStringLiteral("行削除"),
                                         QStringLiteral("表設定"), QStringLiteral("HTML変換")});
    auto* header = new CommandHeader(this);
    m_headerControl = header;
    m_headerControl->setObjectName(QStringLiteral("HeaderControl1"));
    m_headerControl->setAccessibleName(QStringLiteral("表の操作"));
    m_headerControl->setModel(sections);
    m_headerControl->setSectionsClickable(true);
    m_headerControl->setHighlightSections(false);
    m_headerControl->setDefaultAlignment(Qt::AlignCenter);
    m_headerControl->setSectionResizeMode(QHeaderView::Fixed);
    m_headerControl->setMinimumSectionSize(10);
    for (int i = 0; i < 6; ++i)
        m_headerControl->resizeSection(i, i == Convert ? 70 : 50);
    m_headerControl->setFixedHeight(m_headerControl->sizeHint().height());
    connect(m_headerControl, &QHeaderView::sectionClicked, this, &TFmTableBody::HeaderControl1SectionClick);
    // The keyboard's and screen readers' way to the same commands.
    connect(header, &CommandHeader::sectionActivated, this, &TFmTableBody::HeaderControl1SectionClick);
    // A quick second click arrives as a double click, which the header
    // would drop: it is made a press again, so that every click counts.
    m_headerControl->viewport()->installEventFilter(this);
    top->addWidget(m_headerControl);

    // ---- table tag and cell tag strips
    m_tablePanel = sunkenPanel(QStringLiteral("tablePanel"), this);
    m_tablePanel->setMinimumHeight(20);
    m_tablePanel->setText(m_tableTag);
    top->addLayout(labelledStrip(QStringLiteral("表設定"), m_tablePanel));
    m_tdPanel = sunkenPanel(QStringLiteral("TDPanel"), this);
    m_tdPanel->setMinimumHeight(20);
    {
        QPalette pal = m_tdPanel->palette();
        pal.setColor(QPalette::Window, pal.color(QPalette::ToolTipBase));
        pal.setColor(QPalette::WindowText, pal.color(QPalette::ToolTipText));
        m_tdPanel->setPalette(pal);
    }
    m_tdPanel->setText(QStringLiteral(" <TR>"));
    top->addLayout(labelledStrip(QStringLiteral("ｾﾙ設定"), m_tdPanel));

    // ---- the grid: headers are the fixed row and column
    m_model = new BodyGridModel(m_grid, this);
    m_bodyGrid = new QTableView(this);
    m_bodyGrid->setObjectName(QStringLiteral("BodyGrid"));
    m_bodyGrid->setAccessibleName(QStringLiteral("ﾃｰﾌﾞﾙ"));
    m_bodyGrid->setModel(m_model);
    m_bodyGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_bodyGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_bodyGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_bodyGrid->setCornerButtonEnabled(false);
    m_bodyGrid->setWordWrap(false);
    {
        QPalette pal = m_bodyGrid->palette();
        pal.setColor(QPalette::Base, pal.color(QPalette::Dark));
        m_bodyGrid->setPalette(pal);
    }
    QHeaderView* columnsHeader = m_bodyGrid->horizontalHeader();
    QHeaderView* rowsHeader = m_bodyGrid->verticalHeader();
    for (QHeaderView* h : {columnsHeader, rowsHeader}) {
        h->setMinimumSectionSize(0);
        h->setSectionResizeMode(QHeaderView::Interactive);
        h->setHighlightSections(false);
        h->setMouseTracking(true);
        h->viewport()->installEventFilter(this);
    }
    columnsHeader->setDefaultSectionSize(TableGrid::kDefaultColumnWidth);
    rowsHeader->setDefaultSectionSize(TableGrid::kDefaultRowHeight);
    columnsHeader->resizeSection(0, TableGrid::kDefaultColumnWidth);
    rowsHeader->resizeSection(0, TableGrid::kDefaultRowHeight);
    m_bodyGrid->setMouseTracking(true);
    m_bodyGrid->viewport()->setMouseTracking(true);
    m_bodyGrid->viewport()->installEventFilter(this);
    // Sizes the user drags become the cells' WIDTH and HEIGHT.
    connect(columnsHeader, &QHeaderView::sectionResized, this,
            [this](int logical, int, int size) { m_grid.setColumnWidth(logical + 1, size); });
    connect(rowsHeader, &QHeaderView::sectionResized, this,
            [this](int logical, int, int size) { m_grid.setRowHeight(logical + 1, size); });
    // The first data cell starts current, as the selected cell does; only
    // the user's selections after that count as selecting a cell.
    m_bodyGrid->selectionModel()->setCurrentIndex(m_model->index(0, 0), QItemSelectionModel::ClearAndSelect);
    connect(m_bodyGrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    BodyGridSelectCell(current.column() + 1, current.row() + 1);
            });
    // A click on the cell already current selects it again.
    connect(m_bodyGrid, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { BodyGridSelectCell(index.column() + 1, index.row() + 1); });
    syncSizesFromView();
    top->addWidget(m_bodyGrid, 1);
    // The grid has the focus first; Tab goes on to the header's commands.
    m_bodyGrid->setFocus();

    // ---- status bar: "列：C行：R" and an empty panel
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar->setSizeGripEnabled(false);
    for (int i = 0; i < 2; ++i) {
        m_statusPanels[i] = new QLabel(m_statusBar);
        m_statusPanels[i]->setFixedWidth(i == 0 ? 300 : 50);
        m_statusBar->addWidget(m_statusPanels[i]);
    }
    top->addWidget(m_statusBar);
    showStatus();

    // ---- popup for the whole window
    m_tablePop = new QMenu(this);
    m_tablePop->setObjectName(QStringLiteral("TablePop"));
    m_mtd = m_tablePop->addAction(entry::kNothing);
    m_mtd->setObjectName(QStringLiteral("MTd"));
    m_mtd->setEnabled(false);
    m_mtd->setIcon(bundledIcon(QStringLiteral("table")));
    m_mediting = m_tablePop->addAction(QStringLiteral("ｾﾙ設定(&S)"));
    m_mediting->setObjectName(QStringLiteral("MEditing"));
    m_mediting->setIcon(bundledIcon(QStringLiteral("settings")));
    connect(m_mtd, &QAction::triggered, this, &TFmTableBody::MTdClick);
    connect(m_mediting, &QAction::triggered, this, &TFmTableBody::MEditingClick);

    m_head = new TFmHead(m_settings, m_prompts, this);
    m_cell = new TFmCell(m_selected, m_prompts, this);
    m_result = new TFmTableResult(this);
}

TFmTableBody::~TFmTableBody() = default;

QString TFmTableBody::statusText() const
{
    return m_statusPanels[0]->text();
}

void TFmTableBody::showStatus()
{
    m_statusPanels[0]->setText(TableGrid::statusText(m_grid.columns(), m_grid.rows()));
}

void TFmTableBody::showCellTag(int column, int row, bool alsoMenu)
{
    const QString tag = m_grid.cellTagText(column, row);
    m_tdPanel->setText(tag);
    if (alsoMenu)
        m_mtd->setText(tag);
}

void TFmTableBody::syncSizesFromView()
{
    const QHeaderView* columnsHeader = m_bodyGrid->horizontalHeader();
    const QHeaderView* rowsHeader = m_bodyGrid->verticalHeader();
    for (int c = 1; c <= m_grid.columns(); ++c)
        m_grid.setColumnWidth(c, columnsHeader->sectionSize(c - 1));
    for (int r = 1; r <= m_grid.rows(); ++r)
        m_grid.setRowHeight(r, rowsHeader->sectionSize(r - 1));
}

void TFmTableBody::FormActivate()
{
    // The labels are computed from the positions and need no resetting.
    showStatus();
    showCellTag(1, 1, true);
}

void TFmTableBody::HeaderControl1SectionClick(int section)
{
    switch (section) {
    case AddColumn: {
        m_model->addColumn();
        const int c = m_grid.columns();
        m_grid.setColumnWidth(c, m_bodyGrid->horizontalHeader()->sectionSize(c - 1));
        break;
    }
    case DeleteColumn:
        if (m_model->removeColumn())
            keepSelectionInGrid();
        break;
    case AddRow: {
        m_model->addRow();
        const int r = m_grid.rows();
        m_grid.setRowHeight(r, m_bodyGrid->verticalHeader()->sectionSize(r - 1));
        break;
    }
    case DeleteRow:
        if (m_model->removeRow())
            keepSelectionInGrid();
        break;
    case Settings:
        m_head->move(pos() + QPoint(100, 40));
        m_head->FormActivate();
        runOwnDialog(*m_head);
        m_tableTag = m_settings.tagText();
        m_tablePanel->setText(m_tableTag);
        break;
    case Convert:
        m_result->move(pos() + QPoint(100, 40));
        m_result->FormActivate(m_grid.toHtml(m_tableTag, QStringLiteral("\n")));
        runOwnDialog(*m_result);
        break;
    default:
        break;
    }
    m_convertedColumns = m_grid.columns();
    m_convertedRows = m_grid.rows();
    showStatus();
}

void TFmTableBody::keepSelectionInGrid()
{
    // A removed column or row may have held the selected cell: the selection
    // moves to the nearest remaining one so that its sizes stay readable.
    const int c = std::min(m_selected.column, m_grid.columns());
    const int r = std::min(m_selected.row, m_grid.rows());
    if (c != m_selected.column || r != m_selected.row)
        BodyGridSelectCell(c, r);
}

void TFmTableBody::BodyGridSelectCell(int column, int row)
{
    if (column < 1 || column > m_grid.columns() || row < 1 || row > m_grid.rows())
        return;
    showCellTag(column, row, true);
    m_selected.column = column;
    m_selected.row = row;
    m_selected.widthText = QString::number(m_grid.columnWidth(column));
    m_selected.heightText = QString::number(m_grid.rowHeight(row));
}

void TFmTableBody::BodyGridMouseMove()
{
    m_selected.widthText = QString::number(m_grid.columnWidth(m_selected.column));
    m_selected.heightText = QString::number(m_grid.rowHeight(m_selected.row));
    showCellTag(m_selected.column, m_selected.row, false);
}

void TFmTableBody::TablePopPopup()
{
    if (m_editor.hasDocument())
        m_editor.focusEditor();
}

void TFmTableBody::MTdClick()
{
    m_editor.InsertAtCaret(m_mtd->text().mid(1));
}

void TFmTableBody::MEditingClick()
{
    const QPoint centre = frameGeometry().center();
    m_cell->move(centre.x() - 48, centre.y() - 60);
    m_cell->FormActivate();
    const bool confirmed = runOwnDialog(*m_cell) == QDialog::Accepted;
    // Sizes never read from the grid (no cell selected yet) are reported
    // however the dialog closed.
    if (const std::optional<QString> refused = m_selected.unreadable()) {
        m_prompts.message(this, kProduct, entry::notANumber(*refused),
                          Prompts::Icon::Error, Prompts::Buttons::Ok);
        syncSizesFromView();
        return;
    }
    // Closed without "確定": the grid stays as it was.
    if (!confirmed)
        return;
    m_selected.applyTo(m_grid);
    QHeaderView* columnsHeader = m_bodyGrid->horizontalHeader();
    QHeaderView* rowsHeader = m_bodyGrid->verticalHeader();
    const int c = m_selected.column, r = m_selected.row;
    columnsHeader->resizeSection(c - 1, boundedSection(columnsHeader, m_grid.columnWidth(c)));
    rowsHeader->resizeSection(r - 1, boundedSection(rowsHeader, m_grid.rowHeight(r)));
    // The view is the judge of what it can show; the size texts follow what
    // it took.
    m_grid.setColumnWidth(c, columnsHeader->sectionSize(c - 1));
    m_grid.setRowHeight(r, rowsHeader->sectionSize(r - 1));
    m_selected.widthText = QString::number(m_grid.columnWidth(c));
    m_selected.heightText = QString::number(m_grid.rowHeight(r));
}

int TFmTableBody::runOwnDialog(QDialog& dialog)
{
    int result = QDialog::Rejected;
    m_activation.modal(this, [&] { result = m_prompts.execDialog(dialog); });
    return result;
}

void TFmTableBody::closeEvent(QCloseEvent* event)
{
    // Accepting only hides the window: it is never deleted on close.
    QWidget::closeEvent(event);
    m_activation.hidden();
    emit closed();
}

void TFmTableBody::changeEvent(QEvent* event)
{
    if (m_activation.becameActive(this, event))
        FormActivate();
    QWidget::changeEvent(event);
}

void TFmTableBody::contextMenuEvent(QContextMenuEvent* event)
{
    TablePopPopup();
    m_tablePop->popup(event->globalPos());
}

bool TFmTableBody::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_headerControl->viewport()) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            const auto* dbl = static_cast<QMouseEvent*>(event);
            QMouseEvent press(QEvent::MouseButtonPress, dbl->position(), dbl->scenePosition(),
                              dbl->globalPosition(), dbl->button(), dbl->buttons(), dbl->modifiers(),
                              dbl->pointingDevice());
            press.setTimestamp(dbl->timestamp());
            QCoreApplication::sendEvent(watched, &press);
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseMove)
        BodyGridMouseMove();
    return QWidget::eventFilter(watched, event);
}
