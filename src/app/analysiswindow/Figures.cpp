#include "app/analysiswindow/Figures.h"

#include <QAbstractItemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace trevolo {

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

void NarrowColumns(QTableView &table, int firstColumn, const QString &widest)
{
    QHeaderView &header = *table.horizontalHeader();
    header.setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    const QFontMetrics metrics(header.font());
    // Room for the margins and the sort mark beside the text.
    const int padding = 3 * metrics.averageCharWidth() + 16;
    const QAbstractItemModel &model = *table.model();
    for (int column = firstColumn; column < model.columnCount(); ++column) {
        int width = table.fontMetrics().horizontalAdvance(widest);
        const QString text = model.headerData(column, Qt::Horizontal).toString();
        for (const QString &word : text.split(u' '))
            width = std::max(width, metrics.horizontalAdvance(word));
        table.setColumnWidth(column, width + padding);
    }
    header.setFixedHeight(2 * metrics.height() + 10);
}

void SetCountAxis(QValueAxis &axis, double top, double pixels)
{
    static const char *const TopProperty = "countTop";
    if (top < 0)
        top = axis.property(TopProperty).toDouble();
    else
        axis.setProperty(TopProperty, top);
    top = std::max(1.0, top) * 1.05;
    // A label needs its height and a little room above and below.
    const double labelRoom = QFontMetrics(axis.labelsFont()).height() + 8;
    const int most = pixels > 0 ? std::clamp(int(pixels / labelRoom), 2, 9) : 9;
    double interval = 1;
    for (double power = 1; std::ceil(top / interval) + 1 > most; power *= 10) {
        for (const double part : {1.0, 2.0, 5.0}) {
            interval = part * power;
            if (std::ceil(top / interval) + 1 <= most)
                break;
        }
    }
    const double roundedTop = std::ceil(top / interval) * interval;
    if (axis.max() != roundedTop || axis.tickInterval() != interval) {
        axis.setTickInterval(interval);
        axis.setRange(0, roundedTop);
    }
}

void FitTicks(QValueAxis &axis, double pixels, double units, const QString &widestLabel)
{
    if (pixels <= 0 || units <= 0)
        return;
    const QFontMetrics metrics(axis.labelsFont());
    const double needed = metrics.horizontalAdvance(widestLabel) + metrics.averageCharWidth() * 2;
    double step = 1;
    for (double power = 1; step * pixels / units < needed; power *= 10) {
        for (const double part : {1.0, 2.0, 5.0}) {
            step = part * power;
            if (step * pixels / units >= needed)
                break;
        }
    }
    if (axis.tickInterval() != step)
        axis.setTickInterval(step);
}

} // namespace trevolo
