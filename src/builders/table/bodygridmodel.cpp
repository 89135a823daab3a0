#include "builders/table/bodygridmodel.h"

#include <QBrush>
#include <QColor>
#include <QFont>

BodyGridModel::BodyGridModel(TableGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), m_grid(grid)
{
}

int BodyGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_grid.rows();
}

int BodyGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_grid.columns();
}

QVariant BodyGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return TableGrid::cellLabel(index.row() + 1, index.column() + 1);
    case Qt::ForegroundRole:
        return QBrush(QColor(0, 0, 128));
    case Qt::FontRole: {
        QFont f;
        f.setBold(true);
        return f;
    }
    default:
        return {};
    }
}

QVariant BodyGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return orientation == Qt::Horizontal ? TableGrid::columnLabel(section + 1)
                                         : TableGrid::rowLabel(section + 1);
}

Qt::ItemFlags BodyGridModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void BodyGridModel::addColumn()
{
    const int at = m_grid.columns();
    beginInsertColumns({}, at, at);
    m_grid.addColumn();
    endInsertColumns();
}

void BodyGridModel::addRow()
{
    const int at = m_grid.rows();
    beginInsertRows({}, at, at);
    m_grid.addRow();
    endInsertRows();
}

bool BodyGridModel::removeColumn()
{
    const int last = m_grid.columns() - 1;
    if (last < 1)
        return false;
    beginRemoveColumns({}, last, last);
    m_grid.removeColumn();
    endRemoveColumns();
    return true;
}

bool BodyGridModel::removeRow()
{
    const int last = m_grid.rows() - 1;
    if (last < 1)
        return false;
    beginRemoveRows({}, last, last);
    m_grid.removeRow();
    endRemoveRows();
    return true;
}
