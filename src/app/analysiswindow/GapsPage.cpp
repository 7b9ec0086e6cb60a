#include "app/analysiswindow/GapsPage.h"

#include "app/analysiswindow/Figures.h"
#include "app/widgets/Charts.h"
#include "app/widgets/Controls.h"
#include "common/IntegerText.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineSeries>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <bit>
#include <cmath>
#include <numeric>

namespace trevolo {

namespace {

constexpr const char16_t *NumberHeaders[] = {u"Число", u"Выпадений", u"Отсутствует сейчас",
                                             u"Дольше всего", u"В среднем"};
static_assert(std::size(NumberHeaders) == GapTableModel::ColumnCount);

enum GroupColumn
{
    NameColumn,
    CurrentColumn,
    LongestColumn,
    MeanColumn,
    GroupColumnCount
};
constexpr const char16_t *GroupHeaders[] = {u"Группа", u"Не выпадает сейчас", u"Дольше всего",
                                            u"В среднем"};
static_assert(std::size(GroupHeaders) == GroupColumnCount);

bool SameFigures(const GapFigures &a, const GapFigures &b)
{
    return a.hits == b.hits && a.current == b.current && a.longest == b.longest &&
           (a.mean == b.mean || (std::isnan(a.mean) && std::isnan(b.mean)));
}

// "—" with fewer than two hits, else one decimal.
QString MeanText(double mean)
{
    return FormatDecimal(mean, 1);
}

} // namespace

void GapTableModel::SetFigures(const std::array<GapFigures, WheelSize> &numbers)
{
    int first = WheelSize, last = -1;
    for (int n = 0; n < WheelSize; ++n) {
        if (SameFigures(m_numbers[size_t(n)], numbers[size_t(n)]))
            continue;
        m_numbers[size_t(n)] = numbers[size_t(n)];
        first = std::min(first, n);
        last = n;
    }
    if (last >= 0)
        Q_EMIT dataChanged(index(first, HitsColumn), index(last, MeanColumn));
}

int GapTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : WheelSize;
}

int GapTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant GapTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int n = index.row();
    const GapFigures &g = m_numbers[size_t(n)];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole && role != SortRole)
        return {};
    const bool display = role == Qt::DisplayRole;
    switch (index.column()) {
    case NumberColumn:
        return display ? QVariant(IntToStr(n)) : QVariant(n);
    case HitsColumn:
        return display ? QVariant(IntToStr(g.hits)) : QVariant(g.hits);
    case CurrentColumn:
        return display ? QVariant(IntToStr(g.current)) : QVariant(g.current);
    case LongestColumn:
        return display ? QVariant(IntToStr(g.longest)) : QVariant(g.longest);
    case MeanColumn:
        return display ? QVariant(MeanText(g.mean)) : QVariant(std::isnan(g.mean) ? -1.0 : g.mean);
    default:
        return {};
    }
}

QVariant GapTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < ColumnCount)
        return QString::fromUtf16(NumberHeaders[section]);
    // No row numbers: a screen reader would read 1..37 beside the numbers
    // 0..36 of the first column.
    if (orientation == Qt::Vertical)
        return {};
    return QAbstractTableModel::headerData(section, orientation, role);
}

GapsPage::GapsPage(const QStringList &groupNames, QWidget *parent)
    : QWidget(parent), m_groupNames(groupNames)
{
    m_model = new GapTableModel(this);
    m_sorted = new QSortFilterProxyModel(this);
    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(GapTableModel::SortRole);
    m_numbers = new QTableView;
    m_numbers->setObjectName(QStringLiteral("TableGaps"));
    m_numbers->setAccessibleName(QStringLiteral("Пропуски чисел"));
    m_numbers->setModel(m_sorted);
    SetUpFigureTable(*m_numbers);
    m_numbers->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_numbers->setSortingEnabled(true);
    m_numbers->sortByColumn(GapTableModel::NumberColumn, Qt::AscendingOrder);
    // As wide as its columns: the room left goes to the groups and the chart.
    NarrowColumns(*m_numbers, GapTableModel::NumberColumn, QStringLiteral("8888888"));
    m_numbers->setFixedWidth(m_numbers->horizontalHeader()->length() +
                             m_numbers->verticalScrollBar()->sizeHint().width() +
                             2 * m_numbers->frameWidth());

    m_groups = new QTableWidget(GroupRowCount, GroupColumnCount);
    m_groups->setObjectName(QStringLiteral("TableGroupGaps"));
    m_groups->setAccessibleName(QStringLiteral("Пропуски комбинаций и секторов"));
    QStringList headers;
    for (const char16_t *header : GroupHeaders)
        headers << QString::fromUtf16(header);
    m_groups->setHorizontalHeaderLabels(headers);
    SetUpFigureTable(*m_groups);
    m_groups->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_groups->setSelectionMode(QAbstractItemView::SingleSelection);
    m_groups->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    m_groups->horizontalHeader()->setHighlightSections(false);
    for (int row = 0; row < GroupRowCount; ++row) {
        for (int column = 0; column < GroupColumnCount; ++column) {
            auto *cell =
                new QTableWidgetItem(column == NameColumn ? groupNames.value(row) : NoFigure());
            if (column != NameColumn)
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_groups->setItem(row, column, cell);
        }
    }
    NarrowColumns(*m_groups, CurrentColumn, QStringLiteral("8888888"));
    // Room for the longest name beside the figures.
    int groupsWidth = m_groups->horizontalHeader()->sectionSizeHint(NameColumn);
    for (const QString &name : groupNames)
        groupsWidth = std::max(groupsWidth, m_groups->fontMetrics().horizontalAdvance(name) + 12);
    for (int column = NameColumn + 1; column < GroupColumnCount; ++column)
        groupsWidth += m_groups->columnWidth(column);
    m_groups->setMinimumWidth(groupsWidth + 2 * m_groups->frameWidth());
    m_groups->setFixedHeight(m_groups->horizontalHeader()->minimumHeight() +
                             GroupRowCount * m_groups->verticalHeader()->defaultSectionSize() +
                             2 * m_groups->frameWidth());
    m_groups->setCurrentCell(0, NameColumn);
    connect(m_groups, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previous, int) {
                if (row >= 0 && row != previous)
                    Q_EMIT groupChosen(row);
            });

    BuildChart();

    auto *right = new QVBoxLayout;
    right->addWidget(m_groups);
    right->addWidget(m_chartView, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_numbers);
    layout->addLayout(right, 1);
}

void GapsPage::BuildChart()
{
    auto *chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    m_bars = new QBarSet(QStringLiteral("Пропусков"));
    m_bars->setColor(QColor(0x5b, 0x7d, 0xb1));
    auto *bars = new QBarSeries;
    bars->setBarWidth(0.8);
    bars->append(m_bars);
    m_expected = new QLineSeries;
    m_expected->setName(QStringLiteral("Ожидается"));
    m_expected->setPen(QPen(QColor(0xd0, 0x50, 0x10), 2));
    chart->addSeries(bars);
    chart->addSeries(m_expected);

    m_gapAxis = new QValueAxis;
    m_gapAxis->setLabelFormat(QStringLiteral("%d"));
    m_gapAxis->setTickType(QValueAxis::TicksDynamic);
    m_gapAxis->setTickAnchor(0);
    m_gapAxis->setTickInterval(1);
    m_gapAxis->setRange(-0.5, 0.5);
    m_gapAxis->setTitleText(QStringLiteral("k: промахов подряд"));
    m_countAxis = new QValueAxis;
    m_countAxis->setLabelFormat(QStringLiteral("%d"));
    m_countAxis->setTickType(QValueAxis::TicksDynamic);
    m_countAxis->setTickAnchor(0);
    m_countAxis->setRange(0, 1);
    m_chartView = MakeChartView(chart, m_gapAxis, m_countAxis, QStringLiteral("ChartGaps"));
    m_chartView->setAccessibleName(QStringLiteral("Пропуски между выпадениями группы"));
    m_chartView->setMinimumSize(360, 300);
    connect(chart, &QChart::plotAreaChanged, m_gapAxis, [this](const QRectF &area) {
        const double units = m_gapAxis->max() - m_gapAxis->min();
        FitTicks(*m_gapAxis, area.width(), units, IntToStr(qint32(m_gapAxis->max())));
        SetCountAxis(*m_countAxis, -1, area.height());
    });
}

int GapsPage::ChosenGroup() const
{
    return std::max(0, m_groups->currentRow());
}

void GapsPage::ShowTables(const DepthFigures &figures)
{
    m_model->SetFigures(figures.numbers);
    for (int row = 0; row < GroupRowCount; ++row) {
        const GapFigures &g = figures.groups[size_t(row)];
        SetTextIfChanged(*m_groups->item(row, CurrentColumn), IntToStr(g.current));
        SetTextIfChanged(*m_groups->item(row, LongestColumn), IntToStr(g.longest));
        SetTextIfChanged(*m_groups->item(row, MeanColumn), MeanText(g.mean));
    }
}

namespace {

// The expected counts move with every spin. A change below a thousandth of
// each is less than a pixel of the chart and is not drawn again.
bool Unseen(const QList<QPointF> &line, const QList<QPointF> &shown)
{
    return line.size() == shown.size() &&
           std::equal(line.begin(), line.end(), shown.begin(), [](QPointF a, QPointF b) {
               return std::abs(a.y() - b.y()) <= 1e-3 * std::max(1.0, std::abs(b.y()));
           });
}

} // namespace

void GapsPage::ShowChart(const std::vector<qint32> &histogram, qint32 spins)
{
    const int row = ChosenGroup();
    const QString group = m_groupNames.value(row);
    const qint32 gaps = std::accumulate(histogram.begin(), histogram.end(), qint32(0));
    const qint32 hits = gaps + 1; // every gap lies between two hits
    const auto expected = [&](qint32 k) { return ExpectedGapCount(spins, hits, k); };
    const qint32 longest = std::max<qint32>(0, qint32(histogram.size()) - 1);

    QList<QPointF> line;
    for (qint32 k = 0; k < qint32(histogram.size()); ++k)
        line.append({double(k), expected(k)});
    QString description;
    if (histogram.empty()) {
        description = group + QStringLiteral(": меньше двух выпадений, пропусков между ними нет.");
    } else {
        const qint32 common =
            qint32(std::max_element(histogram.begin(), histogram.end()) - histogram.begin());
        const auto count = [&](qint32 k) {
            return QStringLiteral("k = %1: %2 (на честном колесе %3)")
                .arg(IntToStr(k), IntToStr(histogram[size_t(k)]), FormatDecimal(expected(k), 1));
        };
        description = QStringLiteral("%1: пропусков между выпадениями %2. Больше всего при %3. "
                                     "Самый долгий пропуск при %4.")
                          .arg(group, IntToStr(gaps), count(common), count(longest));
    }
    if (m_chartView->accessibleDescription() != description)
        m_chartView->setAccessibleDescription(description);
    if (row == m_shownRow && histogram == m_shown && Unseen(line, m_expected->points()))
        return;
    m_shownRow = row;
    m_shown = histogram;

    m_chartView->chart()->setTitle(group + QStringLiteral(": пропуски между выпадениями"));
    QList<qreal> values(histogram.begin(), histogram.end());
    m_bars->remove(0, m_bars->count());
    m_bars->append(values);
    m_expected->replace(line);

    m_gapAxis->setRange(-0.5, longest + 0.5);
    FitTicks(*m_gapAxis, m_chartView->chart()->plotArea().width(), longest + 1, IntToStr(longest));
    const qint32 most =
        histogram.empty() ? 0 : *std::max_element(histogram.begin(), histogram.end());
    SetCountAxis(*m_countAxis, std::max(double(most), histogram.empty() ? 0.0 : expected(0)),
                 m_chartView->chart()->plotArea().height());
}

} // namespace trevolo
