// The spans of the last N spins, the gap history and the hottest arc, through
// the main window's history.
#include "AnalysisWindowTest.h"

#include "analysis/WheelArcs.h"
#include "app/analysiswindow/WheelView.h"
#include "app/mainwindow/ControlNames.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHeaderView>
#include <QLineSeries>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <cmath>

using namespace trevolo;
using namespace Qt::StringLiterals;

namespace {

// The cells of a table row after its first, found by the first cell.
QStringList RowOf(const QAbstractItemModel &table, const QString &first)
{
    for (int row = 0; row < table.rowCount(); ++row) {
        if (table.index(row, 0).data().toString() != first)
            continue;
        QStringList cells;
        for (int column = 1; column < table.columnCount(); ++column)
            cells << table.index(row, column).data().toString();
        return cells;
    }
    return {u"<no row "_s + first + u'>'};
}

QAbstractItemModel &GapTable(AnalysisForm *window)
{
    return *window->findChild<QTableView *>(u"TableGaps"_s)->model();
}

// The bars of a chart and the points of its line, as "bars | line".
QString Charted(AnalysisForm *window, const QString &name)
{
    const QChart *chart = window->findChild<QChartView *>(name)->chart();
    QStringList bars, line;
    for (QAbstractSeries *series : chart->series()) {
        if (auto *barSeries = qobject_cast<QBarSeries *>(series))
            for (int i = 0; i < barSeries->barSets().first()->count(); ++i)
                bars << QString::number(barSeries->barSets().first()->at(i));
        else if (auto *lineSeries = qobject_cast<QLineSeries *>(series);
                 lineSeries && name == u"ChartGaps")
            for (const QPointF &point : lineSeries->points())
                line << QString::number(point.y(), 'f', 3);
    }
    return bars.join(u',') + u" | "_s + line.join(u',');
}

void ClickHeader(QHeaderView *header, int column)
{
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
}

} // namespace

void TestAnalysisWindow::spans_data()
{
    QTest::addColumn<int>("span"); // index in AnalysisSpan
    QTest::addColumn<QString>("spins");
    QTest::addColumn<QString>("hottest");
    QTest::addColumn<QString>("sevens");    // occurrence bar of 7
    QTest::addColumn<QString>("sevenGaps"); // TableGaps row of 7
    QTest::addColumn<QString>("arc");
    QTest::addColumn<QString>("spinsAfter"); // after one more spin
    // 7, 7, 7, then 0..36: the last 37 spins hold every number once.
    QTest::newRow("whole history") << 0 << u"40"_s << u"7: 4 (ожидается 1,1)"_s << u"4"_s
                                   << u"4,29,29,2,3"_s << u"18 ±2: 8 (ожидается 5,4)"_s << u"41"_s;
    QTest::newRow("last 37") << 1 << u"37 из последних 37"_s << u"0: 1 (ожидается 1,0)"_s << u"1"_s
                             << u"1,29,29,—"_s << u"0 ±2: 5 (ожидается 5,0)"_s
                             << u"37 из последних 37"_s;
    QTest::newRow("last 100, fewer spins")
        << 2 << u"40 (всего спинов меньше 100)"_s << u"7: 4 (ожидается 1,1)"_s << u"4"_s
        << u"4,29,29,2,3"_s << u"18 ±2: 8 (ожидается 5,4)"_s << u"41 (всего спинов меньше 100)"_s;
}

void TestAnalysisWindow::spans()
{
    QFETCH(int, span);
    QFETCH(QString, spins);
    QFETCH(QString, hottest);
    QFETCH(QString, sevens);
    QFETCH(QString, sevenGaps);
    QFETCH(QString, arc);
    QFETCH(QString, spinsAfter);
    // Lines that are no spins among them, the last spins too: they do not
    // count towards the span.
    QStringList lines{u"7"_s, u"x"_s, u"7"_s, QString(), u"7"_s};
    for (int n = 0; n < WheelSize; ++n)
        lines << QString::number(n) << (n % 4 == 0 ? u"37"_s : n % 4 == 1 ? u"abc"_s : QString());
    form->listBox1->ReplaceText(lines.join(u'\n'));
    AnalysisForm *window = open();
    window->findChild<QComboBox *>(u"AnalysisSpan"_s)->setCurrentIndex(span);

    QCOMPARE(shown("LabelSpins"), spins);
    QCOMPARE(shown("LabelHottest"), hottest);
    QCOMPARE(Charted(window, u"ChartOccurrences"_s).split(u',').value(7), sevens);
    showPage(window, AnalysisForm::GapsTab);
    QCOMPARE(RowOf(GapTable(window), u"7"_s).join(u','), sevenGaps);
    showPage(window, AnalysisForm::WheelTab);
    QCOMPARE(shown("LabelHotArc"), arc);
    // The main window still counts the whole history.
    QCOMPARE(form->findChild<QLabel *>(LabelName(FirstOccurrenceCountLabel + 7))->text(), u"4"_s);

    // The span stays as the history grows, and for the window's life.
    form->listBox1->AppendLine(u"7"_s);
    QCOMPARE(shown("LabelSpins"), spinsAfter);
    window->close();
    open();
    QCOMPARE(window->findChild<QComboBox *>(u"AnalysisSpan"_s)->currentIndex(), span);
}

void TestAnalysisWindow::gapTable_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("figures"); // occurrences, absent, longest, mean
    QTest::newRow("0") << u"0"_s << u"4,0,3,2,0"_s;
    QTest::newRow("5") << u"5"_s << u"3,4,4,1,0"_s;
    QTest::newRow("17") << u"17"_s << u"2,1,4,4,0"_s;
    QTest::newRow("32, once") << u"32"_s << u"1,2,7,—"_s;
    QTest::newRow("1, never") << u"1"_s << u"0,10,10,—"_s;
}

void TestAnalysisWindow::gapTable()
{
    QFETCH(QString, number);
    QFETCH(QString, figures);
    form->listBox1->ReplaceText(Lines({0, 5, 0, 17, 5, 5, 0, 32, 17, 0}));
    AnalysisForm *window = open();
    showPage(window, AnalysisForm::GapsTab);
    QCOMPARE(RowOf(GapTable(window), number).join(u','), figures);
    // Followed spin by spin while the page is in view.
    form->listBox1->AppendLine(number);
    QCOMPARE(RowOf(GapTable(window), number).value(1), u"0"_s);
}

void TestAnalysisWindow::gapTableSortsNumbersAsNumbers_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QString>("first"); // the numbers of the first and last rows
    QTest::addColumn<QString>("last");
    // As text, "9" would come before "36", "4" before "10" and "—" after
    // "4,0".
    QTest::newRow("number, descending") << 0 << true << u"36"_s << u"0"_s;
    QTest::newRow("occurrences, descending") << 1 << true << u"0"_s << u"36"_s;
    QTest::newRow("absent now, descending") << 2 << true << u"1"_s << u"0"_s;
    QTest::newRow("mean, ascending") << 4 << false << u"1"_s << u"17"_s;
}

void TestAnalysisWindow::gapTableSortsNumbersAsNumbers()
{
    QFETCH(int, column);
    QFETCH(bool, descending);
    QFETCH(QString, first);
    QFETCH(QString, last);
    form->listBox1->ReplaceText(Lines({0, 5, 0, 17, 5, 5, 0, 32, 17, 0}));
    AnalysisForm *window = open();
    showPage(window, AnalysisForm::GapsTab);
    auto *table = window->findChild<QTableView *>(u"TableGaps"_s);
    QHeaderView *header = table->horizontalHeader();
    ClickHeader(header, column);
    if ((header->sortIndicatorOrder() == Qt::DescendingOrder) != descending)
        ClickHeader(header, column);
    QCOMPARE(header->sortIndicatorSection(), column);
    const QAbstractItemModel &model = *table->model();
    QCOMPARE(model.index(0, 0).data().toString(), first);
    QCOMPARE(model.index(WheelSize - 1, 0).data().toString(), last);
    // No row numbers 1..37 for a screen reader beside the numbers 0..36.
    QVERIFY(!model.headerData(0, Qt::Vertical).isValid());
}

void TestAnalysisWindow::groupGapsAndTheirChart()
{
    form->listBox1->ReplaceText(Lines({0, 5, 0, 17, 5, 5, 0, 32, 17, 0}));
    AnalysisForm *window = open();
    showPage(window, AnalysisForm::GapsTab);
    auto *groups = window->findChild<QTableWidget *>(u"TableGroupGaps"_s);
    QCOMPARE(RowOf(*groups->model(), u"Красное"_s).join(u';'), u"2;2;1,0"_s);
    QCOMPARE(RowOf(*groups->model(), u"Чёрное"_s).join(u';'), u"1;4;4,0"_s);
    QCOMPARE(groups->rowCount(), GroupRowCount);

    // Red: gaps of 2, 0 and 1 misses between four hits in ten spins. Of the
    // C(10, 4) = 210 places of the hits, as many hold a gap of k as a fair
    // wheel gives: 252, 168 and 105 gaps of 0, 1 and 2 in all.
    QCOMPARE(Charted(window, u"ChartGaps"_s), u"1,1,1 | 1.200,0.800,0.500"_s);
    // Black, chosen with a click: one gap of 4.
    QTest::mouseClick(groups->viewport(), Qt::LeftButton, {},
                      groups->visualItemRect(groups->item(1, 0)).center());
    // Two hits: 9 - k of the C(10, 2) = 45 places hold a gap of k.
    QCOMPARE(Charted(window, u"ChartGaps"_s), u"0,0,0,0,1 | 0.200,0.178,0.156,0.133,0.111"_s);
    // A spin that is not black keeps the gap; its expectation is of 11 spins.
    form->listBox1->AppendLine(u"5"_s);
    QTRY_COMPARE(Charted(window, u"ChartGaps"_s), u"0,0,0,0,1 | 0.182,0.164,0.145,0.127,0.109"_s);
}

void TestAnalysisWindow::hotArc_data()
{
    QTest::addColumn<QString>("history");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("arc");
    QTest::addColumn<double>("chance");   // of the arc on its own
    QTest::addColumn<QString>("verdict"); // its beginning, the heavy frame only for "На ..."
    const QString history = Lines({32, 15, 19, 0, 32, 15});
    // 0 32 15 hold five, as do 32 15 19: 32 comes first round the wheel. At
    // most 37 times as likely for any of the 37 arcs, either is remarkable.
    const double p = 3.0 / 37;
    const QString rare = u"На честном колесе самая частая из 37 дуг выпадает так часто лишь в "_s;
    QTest::newRow("width 1") << history << 1 << "32 ±1: 5 (ожидается 0,5)"
                             << 6 * std::pow(p, 5) * (1 - p) + std::pow(p, 6) << rare;
    QTest::newRow("width 2") << history << 2 << "32 ±2: 6 (ожидается 0,8)" << std::pow(5.0 / 37, 6)
                             << rare;
    // No arc of five holds both 0 and 10: 0's comes first round the wheel.
    QTest::newRow("ordinary") << Lines({0, 10}) << 2 << "0 ±2: 1 (ожидается 0,3)"
                              << 1 - std::pow(32.0 / 37, 2)
                              << u"Для честного колеса такая дуга — обычное дело."_s;
    QTest::newRow("no spins") << u"x"_s << 2 << "—" << std::nan("") << u"—"_s;
}

void TestAnalysisWindow::hotArc()
{
    QFETCH(QString, history);
    QFETCH(int, width);
    QFETCH(QString, arc);
    QFETCH(double, chance);
    QFETCH(QString, verdict);
    form->listBox1->ReplaceText(history);
    AnalysisForm *window = open();
    showPage(window, AnalysisForm::WheelTab);
    window->findChild<QSpinBox *>(u"ArcWidth"_s)->setValue(width);
    QCOMPARE(shown("LabelHotArc"), arc);
    QCOMPARE(shown("LabelHotArcP"), FormatChance(chance));
    QVERIFY(shown("LabelHotArcP", true).startsWith(u"Шанс для этой дуги (заранее выбранной):"_s));
    const HotArc hot = HottestArc(form->History().Statistics(u"170").occurrence, width);
    if (std::isnan(chance)) {
        QCOMPARE(shown("LabelHotArcFamilyP"), u"—"_s);
        QCOMPARE(shown("LabelHotArcVerdict"), verdict);
        QVERIFY(!window->wheelView()->ArcRemarkable());
        return;
    }
    QVERIFY(window->wheelView()->accessibleDescription().contains(u"Обведена самая частая дуга "_s +
                                                                  arc));
    // Simulated beside the window: "…" until the result is there.
    QCOMPARE(shown("LabelHotArcFamilyP"), u"…"_s);
    const auto simulation = SimulateLargestArc(hot.spins, width);
    QTRY_COMPARE(shown("LabelHotArcFamilyP"),
                 FormatSimulatedChance(LargestArcChance(*simulation, hot.hits)));
    QTRY_VERIFY(shown("LabelHotArcVerdict").startsWith(verdict));
    QCOMPARE(window->wheelView()->ArcRemarkable(), verdict.startsWith(u"На "_s));
}
