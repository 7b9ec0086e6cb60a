#include "app/widgets/FigureCopy.h"

#include "app/desktop/Environment.h"
#include "app/desktop/Guard.h"
#include "history/HistoryFile.h"
#include "history/SpinExport.h"

#include <QAction>
#include <QBuffer>
#include <QChartView>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QSvgGenerator>
#include <QTableView>

#include <set>

namespace trevolo {

using namespace Qt::StringLiterals;

namespace {

// The cells as rows of text, the header first: every row and shown column,
// or those the selection spans.
QList<QStringList> TableCells(const QTableView &table, bool all)
{
    const QAbstractItemModel &model = *table.model();
    std::set<int> rows;
    std::set<int> columns;
    QSet<QPair<int, int>> selected;
    if (all) {
        for (int r = 0; r < model.rowCount(); ++r)
            rows.insert(r);
        for (int c = 0; c < model.columnCount(); ++c)
            columns.insert(c);
    } else if (table.selectionModel() && table.selectionModel()->hasSelection()) {
        for (const QModelIndex &index : table.selectionModel()->selectedIndexes()) {
            rows.insert(index.row());
            columns.insert(index.column());
            selected.insert({index.row(), index.column()});
        }
    } else {
        return TableCells(table, true); // nothing selected (or selectable): the whole table
    }
    QList<QStringList> cells;
    QStringList header;
    for (int c : columns)
        if (!table.isColumnHidden(c))
            header.append(model.headerData(c, Qt::Horizontal).toString().simplified());
    if (header.isEmpty())
        return cells;
    cells.append(header);
    // In the order the view shows them, sorted or not.
    std::vector<int> shown(rows.begin(), rows.end());
    std::sort(shown.begin(), shown.end(), [&table](int a, int b) {
        return table.verticalHeader()->visualIndex(a) < table.verticalHeader()->visualIndex(b);
    });
    for (int r : shown) {
        if (table.isRowHidden(r))
            continue;
        QStringList line;
        for (int c : columns)
            if (!table.isColumnHidden(c))
                line.append(all || selected.contains({r, c})
                                ? model.index(r, c).data().toString().simplified()
                                : QString());
        cells.append(line);
    }
    return cells;
}

QString CsvCell(const QString &cell, QChar separator)
{
    if (!cell.contains(separator) && !cell.contains(u'"'))
        return cell;
    return u'"' + QString(cell).replace(u"\""_s, u"\"\""_s) + u'"';
}

void SaveTableCsv(QTableView &table, Environment &environment)
{
    FileDialogOptions options;
    options.filters = ExportFilters().mid(0, 2);
    options.defaultSuffix = u"csv"_s;
    options.promptOverwrite = true;
    const auto choice = environment.chooseSaveFile(table.window(), options);
    if (!choice)
        return;
    const bool excel = ExportFormatOf(choice->selectedFilter) == ExportFormat::ExcelCsv;
    const QChar separator = excel ? u';' : u',';
    QString text;
    for (const QStringList &line : TableCells(table, true)) {
        QStringList quoted;
        for (const QString &cell : line)
            quoted.append(CsvCell(cell, separator));
        text += quoted.join(separator) + u"\r\n"_s;
    }
    SaveFileBytes(choice->path, (excel ? "\xEF\xBB\xBF"_ba : QByteArray()) + text.toUtf8(),
                  environment.stateFolder());
}

QByteArray ChartBytes(QChartView &view, bool svg)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (svg) {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(view.size());
        generator.setViewBox(view.rect());
        generator.setTitle(view.chart() ? view.chart()->title() : QString());
        QPainter painter(&generator);
        view.render(&painter);
    } else {
        // grab() takes the pixels at the screen's ratio.
        view.grab().save(&buffer, "PNG");
    }
    return bytes;
}

void SaveChart(QChartView &view, Environment &environment)
{
    FileDialogOptions options;
    options.filters = {u"PNG (*.png)"_s, u"SVG (*.svg)"_s};
    options.defaultSuffix = u"png"_s;
    options.promptOverwrite = true;
    const auto choice = environment.chooseSaveFile(view.window(), options);
    if (!choice)
        return;
    const bool svg = choice->selectedFilter == options.filters[1] ||
                     QFileInfo(choice->path).suffix().compare(u"svg"_s, Qt::CaseInsensitive) == 0;
    SaveFileBytes(choice->path, ChartBytes(view, svg), environment.stateFolder());
}

QAction *AddAction(QWidget &widget, const QString &text, Environment &environment,
                   std::function<void()> handler)
{
    auto *action = new QAction(text, &widget);
    QObject::connect(action, &QAction::triggered, &widget,
                     [&widget, &environment, handler = std::move(handler)] {
                         RunGuarded(environment, widget.window(), handler);
                     });
    widget.addAction(action);
    return action;
}

// Ctrl+C in a table copies its selection as TableText. A key press of its
// own: the table takes the key before any shortcut of the window could.
class CopyKey final : public QObject
{
public:
    explicit CopyKey(QTableView &table) : QObject(&table), m_table(table) {}

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress ||
            !static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy))
            return false;
        QGuiApplication::clipboard()->setText(TableText(m_table, false));
        return true;
    }

private:
    QTableView &m_table;
};

} // namespace

QString TableText(const QTableView &table, bool all)
{
    QString text;
    for (const QStringList &line : TableCells(table, all))
        text += line.join(u'\t') + u'\n';
    return text;
}

void EquipTable(QTableView &table, Environment &environment)
{
    table.setContextMenuPolicy(Qt::ActionsContextMenu);
    QAction *copy = AddAction(table, u"Копировать"_s, environment, [&table] {
        QGuiApplication::clipboard()->setText(TableText(table, false));
    });
    copy->setShortcut(QKeySequence::Copy); // shown in the menu; the key itself is CopyKey's
    copy->setShortcutContext(Qt::WidgetShortcut);
    table.installEventFilter(new CopyKey(table));
    AddAction(table, u"Копировать всё"_s, environment,
              [&table] { QGuiApplication::clipboard()->setText(TableText(table, true)); });
    AddAction(table, u"Сохранить как CSV..."_s, environment,
              [&table, &environment] { SaveTableCsv(table, environment); });
}

void EquipChart(QChartView &view, Environment &environment)
{
    view.setContextMenuPolicy(Qt::ActionsContextMenu);
    AddAction(view, u"Сохранить изображение..."_s, environment,
              [&view, &environment] { SaveChart(view, environment); });
    AddAction(view, u"Копировать изображение"_s, environment,
              [&view] { QGuiApplication::clipboard()->setPixmap(view.grab()); });
}

void EquipFigures(QWidget &window, Environment &environment)
{
    for (QTableView *table : window.findChildren<QTableView *>())
        EquipTable(*table, environment);
    for (QChartView *view : window.findChildren<QChartView *>())
        EquipChart(*view, environment);
}

} // namespace trevolo
