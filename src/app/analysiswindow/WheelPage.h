#pragma once

#include "analysis/Statistics.h"
#include "analysis/WheelArcs.h"

#include <QWidget>
#include <array>
#include <optional>

class QLabel;
class QSpinBox;

namespace trevolo {

class HeatLegend;
class WheelView;

// "Колесо": the heat wheel with its legend, and below it the arc of the wheel
// that came up most often (ArcWidth neighbours on each side of a pocket):
// its hits against the expected count (LabelHotArc), how unusual that is for
// that one arc (LabelHotArcP) and for the most hit of all 37 arcs of that
// width (LabelHotArcFamilyP). The last is simulated on a thread of its own,
// "…" until it is there. LabelHotArcVerdict, at the top, says in words
// whether that last chance makes the arc remarkable (below 5 %); only then is
// the arc framed heavily.
class WheelPage : public QWidget
{
    Q_OBJECT

public:
    explicit WheelPage(QWidget *parent = nullptr);

    WheelView *wheel() const { return m_wheel; }

    // The wheel and the arc of one pass; without a threshold the heat is
    // measured against the longest absence.
    void ShowFigures(const HistoryStatistics &statistics, std::optional<qint32> threshold);

private:
    void ShowArc();
    void ShowFamilyChance();

    WheelView *m_wheel = nullptr;
    HeatLegend *m_legend = nullptr;
    QLabel *m_legendText = nullptr;
    QSpinBox *m_width = nullptr;
    QLabel *m_hotArc = nullptr;
    QLabel *m_hotArcP = nullptr;
    QLabel *m_hotArcFamilyP = nullptr;
    QLabel *m_hotArcVerdict = nullptr;
    ArcSimulator *m_simulator = nullptr;
    std::array<qint32, WheelSize> m_occurrence{};
    HotArc m_arc;
};

} // namespace trevolo
