#pragma once

#include <QTimer>
#include <QWidget>

class QLineEdit;
class QSortFilterProxyModel;
class QTableView;

namespace trevolo {

class TableSet;
class TablesModel;

// The overview of the tables: one row per table in TableTables, its spins,
// its newest spin, the numbers over the alarm threshold, the number absent
// longest and whether it is saved. While shown it follows every table, at
// most once every RefreshDelay; any column sorts. Enter or a double click
// on a row chooses that table (tableChosen). Esc and Ctrl+W close it.
class TablesForm : public QWidget
{
    Q_OBJECT

public:
    // `tables` and `threshold` (the alarm threshold's field) must outlive it.
    TablesForm(const TableSet &tables, const QLineEdit &threshold, QWidget *parent);

    static constexpr int RefreshDelay = 100; // ms
    static constexpr QSize PreferredSize{820, 300};
    static constexpr QSize SmallestSize{520, 200};
    // Every row as the tables stand, at once.
    void Refresh();

    QTableView *tableView() const { return m_view; }
    const TablesModel &model() const { return *m_model; }

    // Shown again, it starts from the tables as they stand.
    void setVisible(bool visible) override;

Q_SIGNALS:
    // The player chose the table at this index of the set.
    void tableChosen(int index);

private:
    void Follow();
    void FollowTable(int index);
    void Choose(const QModelIndex &index);

    const TableSet &m_tables;
    const QLineEdit &m_threshold;
    TablesModel *m_model;
    QSortFilterProxyModel *m_sorted;
    QTableView *m_view;
    QTimer m_refresh;
};

} // namespace trevolo
