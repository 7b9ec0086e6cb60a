#pragma once

#include "analysis/HistoryDepth.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QWidget>
#include <vector>

class QBarSet;
class QChartView;
class QLineSeries;
class QSortFilterProxyModel;
class QTableView;
class QTableWidget;
class QValueAxis;

namespace trevolo {

// The gap figures of the 37 numbers, one row per number, for a table that
// sorts them: every cell gives its text for display and its value as a
// number for SortRole ("—" sorts below every mean).
class GapTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        NumberColumn,
        HitsColumn,
        CurrentColumn,
        LongestColumn,
        MeanColumn,
        ColumnCount
    };
    static constexpr int SortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    // Only the rows that changed are reported.
    void SetFigures(const std::array<GapFigures, WheelSize> &numbers);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::array<GapFigures, WheelSize> m_numbers{};
};

// "Пропуски": how long every number and every group has stayed away, now,
// at most and on average (TableGaps, TableGroupGaps), and for the group
// chosen in TableGroupGaps how many of the gaps between its hits held
// exactly k misses beside what a fair wheel gives (ChartGaps).
class GapsPage : public QWidget
{
    Q_OBJECT

public:
    // The names of the sixteen group rows, in the window's order.
    explicit GapsPage(const QStringList &groupNames, QWidget *parent = nullptr);

    void ShowTables(const DepthFigures &figures);
    // The gap lengths of the chosen group (GapHistogram) over that many
    // spins.
    void ShowChart(const std::vector<qint32> &histogram, qint32 spins);
    // The group row whose gaps the chart shows.
    int ChosenGroup() const;

Q_SIGNALS:
    void groupChosen(int row);

private:
    void BuildChart();

    QStringList m_groupNames;
    GapTableModel *m_model = nullptr;
    QSortFilterProxyModel *m_sorted = nullptr;
    QTableView *m_numbers = nullptr;
    QTableWidget *m_groups = nullptr;
    QChartView *m_chartView = nullptr;
    QBarSet *m_bars = nullptr;
    QLineSeries *m_expected = nullptr;
    QValueAxis *m_gapAxis = nullptr;
    QValueAxis *m_countAxis = nullptr;
    std::vector<qint32> m_shown; // the histogram charted and its group
    int m_shownRow = -1;
};

} // namespace trevolo
