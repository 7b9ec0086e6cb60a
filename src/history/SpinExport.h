#pragma once

#include <QByteArray>
#include <QStringList>
#include <QStringView>

namespace trevolo {

// The spins of a history written for other programs. Lines that hold no
// spin are left out.
enum class ExportFormat
{
    ExcelCsv, // UTF-8 with a BOM, ";" between cells, CR LF
    Csv,      // UTF-8, "," between cells, CR LF
    Json,     // an array of objects, one per spin, keyed as the CSV columns
    Text,     // the history file: one number per line, code page 1251, CR LF
};

// The save dialog's filters, in the order of ExportFormat.
QStringList ExportFilters();
// The format of a filter from ExportFilters; the first for any other.
ExportFormat ExportFormatOf(const QString &filter);
// "csv", "json" or "txt".
QString ExportSuffix(ExportFormat format);

// The CSV columns: "№", "Число", "Цвет", "Чёт/нечет", "Половина", "Дюжина",
// "Колонка", "Сектор колеса", "Время".
QStringList ExportColumns();
// The cells of one spin, the n-th (from 1) of the history, as the columns
// list them. The time is empty: spins carry none.
QStringList ExportCells(qint64 n, int spin);

struct ExportedSpins
{
    QByteArray bytes;
    qint64 spins = 0;
    qint64 leftOut = 0; // lines with text that is no spin
};

ExportedSpins ExportSpins(QStringView history, ExportFormat format);

} // namespace trevolo
