#pragma once

#include "analysis/Statistics.h"
#include "calculator/SystemRuin.h"
#include "calculator/SystemTester.h"

#include <QTimer>
#include <QWidget>
#include <array>
#include <vector>

class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QLineSeries;
class QValueAxis;

namespace trevolo {

class SpinHistoryModel;

// "Проверка системы": the player's own system (wait until a combination has
// missed k spins, then bet on it with a multiplying series) replayed over
// the history, beside its exact figures on a fair wheel. A window of its
// own, not modal, that follows the statistics passes of the main window
// while it is shown and shows no message boxes: a field that does not read
// turns red and the figures show "—". Esc and Ctrl+W close it; closed, it is
// hidden and keeps its fields.
class SystemForm : public QWidget
{
    Q_OBJECT

public:
    // The captions of the twelve combinations, in the order of the groups
    // (Красное, Чёрное, ...), as the main window shows them.
    using CombinationCaptions = std::array<QString, CombinationCount>;
    explicit SystemForm(const CombinationCaptions &captions, QWidget *parent = nullptr);
    ~SystemForm() override;

    // Fills the fields with the starting values for the calculator's first
    // stake and multiplier (DefaultSystemInputs); a new window has those of
    // the calculator as it starts, 5 and 3.
    void SetStartingValues(qint32 minStake, qint32 multiplier);

    // One statistics pass of the main window. Costs nothing while the window
    // is hidden; while it is shown it keeps the history's lines, and the
    // replay shows the latest of them RefreshDelay later, so it runs at most
    // once every RefreshDelay.
    void Follow(const SpinHistoryModel &history);
    static constexpr int RefreshDelay = 50; // ms
    // Replays the system over these lines and shows it at once, shown or not.
    void ShowHistory(const SpinHistoryModel &history);

    // The inputs as the fields read now, with the ones refused.
    SystemInputCheck Inputs() const;

private:
    void BuildChart();
    // The fields changed: marks the refused ones, the exact figures, the
    // ruin chance and the replay.
    void InputsChanged();
    void ShowReplay();
    void ShowChart(const SystemReplay *replay, const SystemInputs &inputs);
    void ShowRuin(const RuinFigure &figure);
    void hideEvent(QHideEvent *event) override;
    void showEvent(QShowEvent *event) override;

    QComboBox *m_group = nullptr;
    enum Field
    {
        Trigger,
        MinStake,
        Multiplier,
        Steps,
        TableLimit,
        Bankroll,
        Target,
        FieldCount
    };
    std::array<QLineEdit *, FieldCount> m_fields{};
    static constexpr int LabelCount = 14;
    std::array<QLabel *, LabelCount> m_labels{};
    std::array<QString, LabelCount> m_captions; // spoken, without the colon

    QChartView *m_chartView = nullptr;
    QLineSeries *m_bankrollLine = nullptr;
    QLineSeries *m_startLine = nullptr;
    QLineSeries *m_targetLine = nullptr;
    QValueAxis *m_spinAxis = nullptr;
    QValueAxis *m_moneyAxis = nullptr;

    // The history's lines as the latest pass gave them.
    std::vector<quint8> m_lines;
    SystemInputCheck m_inputs;
    RuinSolver m_ruin;
    bool m_ruinDropped = false; // a solve dropped when the window was hidden
    QTimer m_refresh;
};

} // namespace trevolo
