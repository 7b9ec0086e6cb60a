#pragma once

#include "analysis/Chances.h"
#include "analysis/EverExtremes.h"
#include "analysis/HistoryDepth.h"
#include "analysis/Statistics.h"
#include "history/SpinHistory.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <QTimer>
#include <QWidget>
#include <array>

class QBarSet;
class QChartView;
class QComboBox;
class QFocusFrame;
class QLabel;
class QLineEdit;
class QLineSeries;
class QTabWidget;
class QTableWidget;
class QValueAxis;

namespace trevolo {

class GapsPage;
class WheelPage;
class WheelView;

// "Анализ последовательности": how unusual the history is on a fair wheel,
// every chance weighed against how many things a player watches at once;
// with the occurrence chart ("Сводка"), the gap history of every number and
// group ("Пропуски") and the heat wheel with its hottest arc ("Колесо").
// Every figure is of the whole history or of its last N valid spins, as
// picked in AnalysisSpan. A window of its own, not modal, that follows the
// history and the alarm threshold itself while it is shown and shows no
// message boxes. Esc and Ctrl+W close it (AddCloseKeys).
class AnalysisForm : public QWidget
{
    Q_OBJECT

public:
    // The captions of the twelve combinations, in the order of the groups
    // (Красное, Чёрное, ...), as the main window shows them.
    using CombinationCaptions = std::array<QString, CombinationCount>;
    // Shows `history` with the alarm threshold that `threshold` holds; both
    // must outlive the window.
    AnalysisForm(const SpinHistory &history, const QLineEdit &threshold,
                 const CombinationCaptions &captions, QWidget *parent = nullptr);
    ~AnalysisForm() override;

    // Every edit of the history and of the threshold costs nothing while
    // the window is hidden; while it is shown the figures and tables of the
    // page in view follow at once, and its chart shows the latest state
    // RefreshDelay later, so it is laid out at most once every RefreshDelay.
    // Shown again, it starts from the history as it stands.
    static constexpr int RefreshDelay = 50; // ms
    // Shows every figure of the history as it stands, at once, shown or not.
    void Refresh();
    // Shows the spins of another history from now on (the current table's),
    // which must outlive the window, and the table's name after its title
    // (none: the title alone).
    void FollowHistory(const SpinHistory &history, const QString &tableName);

    // The pages, in AnalysisPages.
    enum Page
    {
        SummaryTab,
        GapsTab,
        WheelTab
    };

    WheelView *wheelView() const;

    // It opens beside the main window when there is room, never larger than
    // the screen (PlaceChildWindow); shown again, it starts from the history
    // as it stands.
    void setVisible(bool visible) override;
    static constexpr QSize PreferredSize{1180, 1000};
    static constexpr QSize SmallestSize{800, 560};

private:
    QWidget *BuildSummaryPage();
    void OrderSummaryTabs();
    void BuildChart();
    // The history or the threshold changed.
    void Follow();
    // Takes the pass of the history, and over the span picked the statistics
    // every page shows (m_pending).
    void TakePass();
    // The span picked: the last that many valid spins, 0 for all.
    qint32 Span() const;
    void ShowFigures(const HistoryStatistics &statistics, QStringView thresholdText);
    // The figures of the page in view beside the summary's; its chart.
    void ShowPageFigures();
    void ShowCharts();
    void ShowChart(const HistoryStatistics &statistics);
    // What the occurrence chart shows, in words for screen readers.
    void DescribeChart(const HistoryStatistics &statistics);
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    // A word-wrapped label as tall as its text needs at its width.
    static void FitHeight(QLabel &label);
    QList<QLabel *> m_wrapped;
    // A row of the table of groups by name: a combination or a sector.
    QString GroupName(int row) const;
    QString RunText(const AnalysisFigures &f, const FamilyFigures &family) const;
    QString SpinsText(qint32 spins) const;

    CombinationCaptions m_captions;

    // The figures "Хоть раз за историю такой длины:", from m_everSimulator.
    void ShowEverChances();
    EverSimulator *m_everSimulator = nullptr;
    EverInputs m_everInputs;

    static constexpr int LabelCount = 24;
    std::array<QLabel *, LabelCount> m_labels{};
    QTableWidget *m_groups = nullptr;
    QChartView *m_chartView = nullptr;
    QBarSet *m_bars = nullptr;
    QLineSeries *m_expected = nullptr;
    QLineSeries *m_bandUpper = nullptr;
    QLineSeries *m_bandLower = nullptr;
    QLineSeries *m_allUpper = nullptr; // the band of all 37 counts at once
    QLineSeries *m_allLower = nullptr;
    QValueAxis *m_countAxis = nullptr;
    qint32 m_chartSpins = -1;

    QComboBox *m_span = nullptr;
    QTabWidget *m_pages = nullptr;
    GapsPage *m_gaps = nullptr;
    WheelPage *m_wheelPage = nullptr;
    QFocusFrame *m_focusFrame = nullptr;
    QMetaObject::Connection m_focusWatch; // the focus ring follows the focus

    const SpinHistory *m_history;
    QMetaObject::Connection m_historyFollow;
    const QLineEdit &m_threshold;
    // The threshold text of the latest pass.
    QString m_thresholdText;
    // The latest pass over the span, charted when m_refresh times out.
    HistoryStatistics m_pending;
    QTimer m_refresh;
};

} // namespace trevolo
