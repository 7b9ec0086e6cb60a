#pragma once

#include "analysis/Chances.h"
#include "analysis/Statistics.h"

#include <QList>
#include <QStringView>
#include <QTimer>
#include <QWidget>
#include <array>

class QBarSet;
class QChartView;
class QLabel;
class QLineSeries;
class QTableWidget;
class QValueAxis;

namespace trevolo {

class WheelView;

// "Анализ последовательности": how unusual the history is on a fair wheel,
// every chance weighed against how many things a player watches at once;
// with the heat wheel and the occurrence chart. A window of its own, not
// modal, that follows the statistics passes of the main window while it is
// shown and shows no message boxes.
class AnalysisForm : public QWidget
{
    Q_OBJECT

public:
    // The captions of the twelve combinations, in the order of the groups
    // (Красное, Чёрное, ...), as the main window shows them.
    using CombinationCaptions = std::array<QString, CombinationCount>;
    explicit AnalysisForm(const CombinationCaptions &captions, QWidget *parent = nullptr);

    // One statistics pass of the main window with the threshold text it
    // read. Costs nothing while the window is hidden; while it is shown the
    // figures, the table and the wheel follow at once, and the chart shows
    // the latest pass RefreshDelay later, so it is laid out at most once
    // every RefreshDelay.
    void Follow(const HistoryStatistics &statistics, QStringView thresholdText);
    static constexpr int RefreshDelay = 50; // ms
    // Shows the figures of that pass at once, shown or not.
    void ShowStatistics(const HistoryStatistics &statistics, QStringView thresholdText);

    WheelView *wheelView() const { return m_wheel; }

private:
    void BuildChart();
    void ShowFigures(const HistoryStatistics &statistics, QStringView thresholdText);
    void ShowChart(const HistoryStatistics &statistics);
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    // A word-wrapped label as tall as its text needs at its width.
    static void FitHeight(QLabel &label);
    QList<QLabel *> m_wrapped;
    // A row of the table of groups by name: a combination or a sector.
    QString GroupName(int row) const;
    QString RunText(const AnalysisFigures &f, const FamilyFigures &family) const;

    CombinationCaptions m_captions;

    static constexpr int LabelCount = 20;
    std::array<QLabel *, LabelCount> m_labels{};
    QTableWidget *m_groups = nullptr;
    WheelView *m_wheel = nullptr;
    QChartView *m_chartView = nullptr;
    QBarSet *m_bars = nullptr;
    QLineSeries *m_expected = nullptr;
    QLineSeries *m_bandUpper = nullptr;
    QLineSeries *m_bandLower = nullptr;
    QLineSeries *m_allUpper = nullptr; // the band of all 37 counts at once
    QLineSeries *m_allLower = nullptr;
    QValueAxis *m_countAxis = nullptr;
    qint32 m_chartSpins = -1;
    // The latest pass Follow kept, charted when m_refresh times out.
    HistoryStatistics m_pending;
    QTimer m_refresh;
};

} // namespace trevolo
