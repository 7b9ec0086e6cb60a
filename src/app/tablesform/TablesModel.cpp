#include "app/tablesform/TablesModel.h"

#include "common/IntegerText.h"
#include "history/TableSet.h"

#include <QDateTime>

namespace trevolo {

TablesModel::TablesModel(QObject *parent) : QAbstractTableModel(parent) {}

void TablesModel::Show(const TableSet &tables, QStringView thresholdText)
{
    std::vector<TableSummary> rows;
    std::vector<const SpinHistory *> histories;
    rows.reserve(size_t(tables.Count()));
    for (int i = 0; i < tables.Count(); ++i) {
        rows.push_back(Summarise(tables.At(i), thresholdText));
        histories.push_back(&tables.At(i).history);
    }
    if (rows.size() != m_rows.size()) {
        beginResetModel();
        m_rows = std::move(rows);
        m_histories = std::move(histories);
        endResetModel();
        return;
    }
    m_rows = std::move(rows);
    m_histories = std::move(histories);
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

const SpinHistory *TablesModel::HistoryOf(int row) const
{
    return row >= 0 && size_t(row) < m_histories.size() ? m_histories[size_t(row)] : nullptr;
}

int TablesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TablesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString TablesModel::CellText(const TableSummary &summary, int column)
{
    switch (column) {
    case NameColumn:
        return summary.name;
    case SpinsColumn:
        return IntToStr(summary.spins);
    case LastSpinColumn:
        if (summary.lastSpin < 0)
            return QString();
        if (summary.lastEntered == 0)
            return IntToStr(summary.lastSpin);
        return IntToStr(summary.lastSpin) + QStringLiteral(" в ") +
               QDateTime::fromMSecsSinceEpoch(summary.lastEntered)
                   .toString(QStringLiteral("HH:mm:ss"));
    case OverColumn:
        return summary.overThreshold;
    case LongestColumn:
        return summary.longestAbsent < 0 ? QString()
                                         : IntToStr(summary.longestAbsent) + QStringLiteral(": ") +
                                               IntToStr(summary.longestAbsence);
    case UnsavedColumn:
        return summary.unsaved ? QStringLiteral("да") : QString();
    default:
        return QString();
    }
}

QVariant TablesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= m_rows.size())
        return {};
    const TableSummary &summary = m_rows[size_t(index.row())];
    if (role == Qt::DisplayRole)
        return CellText(summary, index.column());
    if (role == Qt::TextAlignmentRole && index.column() == SpinsColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != SortRole)
        return {};
    switch (index.column()) {
    case NameColumn:
        return summary.name.toCaseFolded();
    case SpinsColumn:
        return summary.spins;
    case LastSpinColumn:
        return summary.lastEntered;
    case OverColumn:
        return summary.overCount;
    case LongestColumn:
        return summary.longestAbsence;
    case UnsavedColumn:
        return summary.unsaved;
    default:
        return {};
    }
}

QVariant TablesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char16_t *const captions[ColumnCount] = {
        u"Стол",        u"Спинов",          u"Последний спин",
        u"Над порогом", u"Дольше всех нет", u"Не сохранён"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf16(captions[section])
                                                 : QString();
}

} // namespace trevolo
