#include "app/analysiswindow/Figures.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace trevolo {

QLabel *NewFigureLabel(const QString &name, const QString &widest)
{
    auto *label = new QLabel(QStringLiteral("—"));
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setFocusPolicy(Qt::StrongFocus);
    if (!widest.isEmpty())
        label->setFixedSize(label->fontMetrics().horizontalAdvance(widest) + 4,
                            label->sizeHint().height());
    else
        label->setWordWrap(true);
    return label;
}

bool ShowFigure(QLabel &label, QStringView caption, const QString &text)
{
    const bool changed = label.text() != text;
    if (!changed && !label.accessibleName().isEmpty())
        return false;
    label.setText(text);
    label.setAccessibleName(caption.toString() + u' ' + text);
    return changed;
}

void SetUpFigureTable(QTableView &table)
{
    table.verticalHeader()->hide();
    table.verticalHeader()->setDefaultSectionSize(table.fontMetrics().height() + 6);
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.setFocusPolicy(Qt::StrongFocus);
    table.setTabKeyNavigation(false); // Tab leaves the table for the next figure
}

void SetCountAxis(QValueAxis &axis, double top)
{
    top = std::max(1.0, top) * 1.05;
    const double power = std::pow(10.0, std::floor(std::log10(top)));
    double interval = power;
    for (const double part : {0.2, 0.5})
        if (top / (power * part) <= 8) {
            interval = power * part;
            break;
        }
    interval = std::max(1.0, interval);
    const double roundedTop = std::ceil(top / interval) * interval;
    if (axis.max() != roundedTop || axis.tickInterval() != interval) {
        axis.setTickInterval(interval);
        axis.setRange(0, roundedTop);
    }
}

} // namespace trevolo
