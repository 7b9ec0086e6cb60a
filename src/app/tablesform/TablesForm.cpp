#include "app/tablesform/TablesForm.h"

#include "app/tablesform/TablesModel.h"
#include "app/widgets/CloseKeys.h"
#include "history/TableSet.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace trevolo {

TablesForm::TablesForm(const TableSet &tables, const QLineEdit &threshold, QWidget *parent)
    : QWidget(parent, Qt::Window), m_tables(tables), m_threshold(threshold)
{
    setObjectName(QStringLiteral("TablesForm"));
    setWindowTitle(QStringLiteral("Обзор столов"));

    m_model = new TablesModel(this);
    m_sorted = new QSortFilterProxyModel(this);
    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(TablesModel::SortRole);
    m_view = new QTableView;
    m_view->setObjectName(QStringLiteral("TableTables"));
    m_view->setAccessibleName(QStringLiteral("Столы"));
    m_view->setModel(m_sorted);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(-1, Qt::AscendingOrder); // the tables' own order
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    // A long list over the threshold is cut at the column's edge.
    m_view->horizontalHeader()->setMaximumSectionSize(240);
    m_view->setTextElideMode(Qt::ElideRight);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    resize(PreferredSize);

    m_refresh.setSingleShot(true);
    m_refresh.setInterval(RefreshDelay);
    connect(&m_refresh, &QTimer::timeout, this, &TablesForm::Refresh);
    for (int i = 0; i < m_tables.Count(); ++i)
        FollowTable(i);
    connect(&m_tables, &TableSet::tableAdded, this, [this](int index) {
        FollowTable(index);
        Follow();
    });
    for (const auto signal : {&TableSet::tableRemoved, &TableSet::tableRenamed,
                              &TableSet::unsavedChanged, &TableSet::currentChanged})
        connect(&m_tables, signal, this, &TablesForm::Follow);
    connect(&m_tables, &TableSet::tableMoved, this, &TablesForm::Follow);
    connect(&m_threshold, &QLineEdit::textChanged, this, &TablesForm::Follow);
    connect(m_view, &QAbstractItemView::activated, this, &TablesForm::Choose);

    AddCloseKeys(*this, {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
}

void TablesForm::FollowTable(int index)
{
    connect(&m_tables.At(index).history, &SpinHistory::edited, this, &TablesForm::Follow);
}

void TablesForm::Follow()
{
    if (isVisible() && !m_refresh.isActive())
        m_refresh.start();
}

void TablesForm::Refresh()
{
    m_refresh.stop();
    m_model->Show(m_tables, m_threshold.text());
    m_view->resizeColumnsToContents();
}

void TablesForm::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        Refresh();
        const int current = m_tables.CurrentIndex();
        m_view->setCurrentIndex(m_sorted->mapFromSource(m_model->index(current, 0)));
    }
    QWidget::setVisible(visible);
}

void TablesForm::Choose(const QModelIndex &index)
{
    const SpinHistory *history = m_model->HistoryOf(m_sorted->mapToSource(index).row());
    const int table = history ? m_tables.IndexOf(*history) : -1;
    if (table >= 0)
        Q_EMIT tableChosen(table);
}

} // namespace trevolo
