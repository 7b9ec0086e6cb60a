#include "app/widgets/Charts.h"

#include <QAbstractAxis>
#include <QAbstractSeries>
#include <QChart>
#include <QChartView>

namespace trevolo {

QChartView *MakeChartView(QChart *chart, QAbstractAxis *x, QAbstractAxis *y, const QString &name)
{
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries *series : chart->series()) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
    auto *view = new QChartView(chart);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

} // namespace trevolo
