#pragma once

#include "analysis/Statistics.h"
#include "history/SpinHistory.h"
#include "system/SystemRuin.h"
#include "system/SystemTester.h"

#include <QTimer>
#include <QWidget>
#include <array>

class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace trevolo {

// The ruin chance as the window shows it.
QString RuinText(const RuinFigure &figure);

// "Проверка системы": the player's own system (wait until a combination has
// missed k spins, then bet on it with a multiplying series) replayed over
// the history in sessions, beside its exact figures on a fair wheel. A
// window of its own, not modal, that follows the history itself while it is
// shown and shows no message boxes: a field that does not read turns red,
// the line under the fields says why, and the figures show "—". Esc and
// Ctrl+W close it (AddCloseKeys); closed, it is hidden and keeps its fields.
// It fits a screen of SmallestSize, its content scrolling inside when the
// window is smaller than it.
class SystemForm : public QWidget
{
    Q_OBJECT

public:
    // The captions of the twelve combinations, in the order of the groups
    // (Красное, Чёрное, ...), as the main window shows them.
    using CombinationCaptions = std::array<QString, CombinationCount>;
    // Replays `history`, which must outlive the window.
    SystemForm(const SpinHistory &history, const CombinationCaptions &captions,
               QWidget *parent = nullptr);
    ~SystemForm() override;

    // Fills the fields with the starting values for the calculator's first
    // stake and multiplier (DefaultSystemInputs); a new window has those of
    // the calculator as it starts, 5 and 3.
    void SetStartingValues(qint32 minStake, qint32 multiplier);

    // An edit of the history costs nothing while the window is hidden; while
    // it is shown the replay runs RefreshDelay later over the history as it
    // stands then (read in place, not copied), so at most once every
    // RefreshDelay. Shown again, it starts from the history as it stands.
    static constexpr int RefreshDelay = 50; // ms
    // Replays the system over the history and shows it at once, shown or not.
    void Refresh();
    // Shows the spins of another history from now on (the current table's),
    // which must outlive the window, and the table's name after its title
    // (none: the title alone).
    void FollowHistory(const SpinHistory &history, const QString &tableName);

    static constexpr QSize PreferredSize{1240, 800};
    static constexpr QSize SmallestSize{800, 560};

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
    void Follow();
    void setVisible(bool visible) override;
    // The share of finished sessions ruined beside the exact chance.
    void ShowSessionRuinShare();
    void DescribeChart(const SystemReplay *replay, const SystemInputs &inputs);
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
    static constexpr int LabelCount = 17;
    std::array<QLabel *, LabelCount> m_labels{};
    std::array<QString, LabelCount> m_captions; // spoken, without the colon
    QLabel *m_problems = nullptr;               // why the red fields are refused

    QChartView *m_chartView = nullptr;
    QLineSeries *m_bankrollLine = nullptr;
    QLineSeries *m_startLine = nullptr;
    QLineSeries *m_targetLine = nullptr;
    QScatterSeries *m_ruinMarks = nullptr;
    QScatterSeries *m_targetMarks = nullptr;
    QValueAxis *m_spinAxis = nullptr;
    QValueAxis *m_moneyAxis = nullptr;

    const SpinHistory *m_history;
    QMetaObject::Connection m_historyFollow;
    SystemInputCheck m_inputs;
    double m_expectedNet = NoValue;                      // per series on a fair wheel
    QString m_ruinText;                                  // the exact ruin chance as shown
    qint64 m_sessionsTarget = -1, m_sessionsRuined = -1; // -1: no replay
    RuinSolver m_ruin;
    bool m_ruinDropped = false; // a solve dropped when the window was hidden
    QTimer m_refresh;
};

} // namespace trevolo
