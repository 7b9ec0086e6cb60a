#pragma once

#include "analysis/RiskColours.h"
#include "analysis/Statistics.h"

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <functional>

class QWidget;

namespace trevolo {

// The tooltips of the main window's figures: each combination row of
// "Комбинации" (its caption and its ten balls), each count label of "Не
// выпадения" and "Выпадения", Edit13 and the status bar. No text is written
// ahead: a tooltip is made when it is about to show (QEvent::ToolTip), from
// the figures of the last statistics pass that Follow keeps, so a pass costs
// a copy of its figures and nothing more. A tooltip on screen during a pass
// is brought up to date. The texts are FigureTexts'.
class TFigureTips : public QObject
{
    Q_OBJECT

public:
    // The risk boundaries as they stand, and the risk level's name (empty
    // when none is chosen).
    struct Risk
    {
        RiskBoundaries boundaries;
        QString preset;
    };
    using RiskSource = std::function<Risk()>;

    TFigureTips(RiskSource risk, QObject *parent);

    // The widgets that get a tooltip, each watched from now on.
    void AddRow(QWidget *widget, int group, int ball); // ball 0: the caption
    void AddCount(QWidget *label, int number);
    void AddLines(QWidget *edit);
    void AddNearest(QWidget *statusBar);

    // After a statistics pass. The rows follow every pass; the counts,
    // Edit13 and the status bar only a pass that wrote them (one whose
    // threshold converted).
    void Follow(const HistoryStatistics &statistics);

    // The tooltip the widget would show now; empty for a widget not added.
    QString TextFor(const QObject *widget) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Kind
    {
        Row,
        Count,
        Lines,
        Nearest
    };
    struct Tip
    {
        Kind kind;
        int index; // group or number
        int ball;
    };
    void Add(QWidget *widget, Tip tip);

    RiskSource m_risk;
    QHash<const QObject *, Tip> m_tips;
    std::array<qint32, CombinationCount + 1> m_runs{};
    qint32 m_runSpins = 0;
    HistoryStatistics m_counts; // the last pass that wrote the counts
    // The widget whose tooltip is on screen, and where it was asked for.
    QPointer<QWidget> m_shownFor;
    QPoint m_shownAt;
};

} // namespace trevolo
