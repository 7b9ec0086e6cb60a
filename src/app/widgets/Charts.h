#pragma once

#include <QString>

class QAbstractAxis;
class QChart;
class QChartView;

namespace trevolo {

// A view of `chart`, named and antialiased, with `x` added at the bottom and
// `y` on the left, both attached to every series the chart holds.
QChartView *MakeChartView(QChart *chart, QAbstractAxis *x, QAbstractAxis *y, const QString &name);

} // namespace trevolo
