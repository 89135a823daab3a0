#pragma once
// Item model of the table builder's grid view: shows the labels of a
// TableGrid (headers "c列(TD)" / "r行(TR)", cells "Body:(r,c)") and tells the
// view when columns and rows come and go.  View column i is data column i+1.

#include "builders/table/tablegrid.h"

#include <QAbstractTableModel>

class BodyGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit BodyGridModel(TableGrid& grid, QObject* parent = nullptr);

    TableGrid& grid() { return m_grid; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void addColumn();
    void addRow();
    bool removeColumn();
    bool removeRow();

private:
    TableGrid& m_grid;
};
