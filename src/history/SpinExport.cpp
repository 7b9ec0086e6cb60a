#include "history/SpinExport.h"

#include "analysis/Chances.h"
#include "analysis/NumberClasses.h"
#include "analysis/SpinHistoryModel.h"
#include "common/Lines.h"
#include "history/HistoryText.h"

namespace trevolo {

using namespace Qt::StringLiterals;

QStringList ExportFilters()
{
    return {u"CSV для Excel (*.csv)"_s, u"CSV (*.csv)"_s, u"JSON (*.json)"_s,
            u"Текст (*.txt)"_s};
}

ExportFormat ExportFormatOf(const QString &filter)
{
    return ExportFormat(std::max<qsizetype>(0, ExportFilters().indexOf(filter)));
}

QString ExportSuffix(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Json:
        return u"json"_s;
    case ExportFormat::Text:
        return u"txt"_s;
    default:
        return u"csv"_s;
    }
}

QStringList ExportColumns()
{
    return {u"№"_s,      u"Число"_s,   u"Цвет"_s,          u"Чёт/нечет"_s, u"Половина"_s,
            u"Дюжина"_s, u"Колонка"_s, u"Сектор колеса"_s, u"Время"_s};
}

QStringList ExportCells(qint64 n, int spin)
{
    // The first three sectors share the wheel out; the fourth lies within
    // the first.
    QString sector;
    for (int s = 0; s < 3 && sector.isEmpty(); ++s)
        if ((Sectors[size_t(s)].members >> spin) & 1)
            sector = QString::fromUtf16(Sectors[size_t(s)].name);
    if (spin == 0)
        return {QString::number(n), u"0"_s, u"зелёное"_s, QString(), QString(), QString(),
                QString(), sector, QString()};
    return {QString::number(n),
            QString::number(spin),
            IsRed(spin) ? u"красное"_s : u"чёрное"_s,
            IsEven(spin) ? u"чёт"_s : u"нечет"_s,
            IsLow(spin) ? u"1–18"_s : u"19–36"_s,
            QString::number((spin - 1) / 12 + 1),
            QString::number((spin - 1) % 3 + 1),
            sector,
            QString()};
}

ExportedSpins ExportSpins(QStringView history, ExportFormat format)
{
    ExportedSpins result;
    // All but the count is the same for every spin of a number: written
    // once per number.
    const QStringList columns = ExportColumns();
    const QChar separator = format == ExportFormat::ExcelCsv ? u';' : u',';
    std::array<QString, 37> rest;
    for (int spin = 0; spin <= 36; ++spin) {
        const QStringList own = ExportCells(0, spin).mid(1);
        if (format == ExportFormat::Json) {
            QString &json = rest[size_t(spin)];
            json = u", \"Число\": "_s + own[0];
            for (qsizetype c = 2; c + 1 < columns.size(); ++c)
                json += u", \""_s + columns[c] + u"\": \""_s + own[c - 1] + u'"';
            json += u", \"Время\": null}"_s;
        } else {
            rest[size_t(spin)] = separator + own.join(separator) + u"\r\n"_s;
        }
    }

    QString text;
    if (format == ExportFormat::ExcelCsv || format == ExportFormat::Csv)
        text = columns.join(separator) + u"\r\n"_s;
    else if (format == ExportFormat::Json)
        text = u"["_s;
    text.reserve(history.size() * (format == ExportFormat::Json ? 60 : 12));
    ForEachLine(history, [&](QStringView line) {
        const quint8 code = SpinHistoryModel::CodeOfLine(line);
        if (code > 36) {
            result.leftOut += code == SpinHistoryModel::OtherLine;
            return;
        }
        const qint64 n = ++result.spins;
        switch (format) {
        case ExportFormat::ExcelCsv:
        case ExportFormat::Csv:
            text += QString::number(n) + rest[code];
            break;
        case ExportFormat::Json:
            text += (n == 1 ? u"\n{\"№\": "_s : u",\n{\"№\": "_s) + QString::number(n) + rest[code];
            break;
        case ExportFormat::Text:
            text += QString::number(code) + u'\n';
            break;
        }
    });
    switch (format) {
    case ExportFormat::ExcelCsv:
        result.bytes = "\xEF\xBB\xBF" + text.toUtf8();
        break;
    case ExportFormat::Csv:
        result.bytes = text.toUtf8();
        break;
    case ExportFormat::Json:
        result.bytes = (text + u"\n]\n"_s).toUtf8();
        break;
    case ExportFormat::Text:
        result.bytes = HistoryToFileBytes(text);
        break;
    }
    return result;
}

} // namespace trevolo
