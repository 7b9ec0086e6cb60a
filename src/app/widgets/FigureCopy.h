#pragma once

#include <QString>

class QAbstractItemView;
class QChartView;
class QTableView;
class QWidget;

namespace trevolo {

class Environment;

// What leaves a window's figures for other programs: a table's cells as
// text, a chart as a picture.

// The table's cells as tab-separated lines under its header row: the
// selected cells (the rows and columns they span, a cell not selected left
// empty), or with `all` (or nothing selected) every row. Lines end with
// "\n".
QString TableText(const QTableView &table, bool all);

// Ctrl+C copies the selection (TableText); the context menu has
// "Копировать", "Копировать всё" and "Сохранить как CSV..." (a save dialog
// with "CSV для Excel (*.csv)" and "CSV (*.csv)", written as the export
// writes its CSV).
void EquipTable(QTableView &table, Environment &environment);

// The context menu "Сохранить изображение..." (PNG at the screen's pixel
// ratio, or SVG) and "Копировать изображение".
void EquipChart(QChartView &view, Environment &environment);

// Every table and chart view inside `window`, equipped as above.
void EquipFigures(QWidget &window, Environment &environment);

} // namespace trevolo
