#pragma once

#include "history/TableSummary.h"

#include <QAbstractTableModel>
#include <vector>

namespace trevolo {

class SpinHistory;
class TableSet;

// One row per table for the overview: its summary (Summarise) column by
// column; the sort role gives each cell's value to sort by.
class TablesModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        NameColumn,
        SpinsColumn,
        LastSpinColumn,
        OverColumn,
        LongestColumn,
        UnsavedColumn,
        ColumnCount
    };
    static constexpr int SortRole = Qt::UserRole;

    explicit TablesModel(QObject *parent = nullptr);

    // The rows of these tables as they stand, for this threshold text.
    void Show(const TableSet &tables, QStringView thresholdText);
    // The history of the table shown in `row`, to find the table by.
    const SpinHistory *HistoryOf(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The text of one cell.
    static QString CellText(const TableSummary &summary, int column);

private:
    std::vector<TableSummary> m_rows;
    std::vector<const SpinHistory *> m_histories;
};

} // namespace trevolo
