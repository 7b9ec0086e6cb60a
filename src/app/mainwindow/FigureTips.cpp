#include "app/mainwindow/FigureTips.h"

#include "app/mainwindow/FigureTexts.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace trevolo {

TFigureTips::TFigureTips(RiskSource risk, QObject *parent)
    : QObject(parent), m_risk(std::move(risk))
{}

void TFigureTips::Add(QWidget *widget, Tip tip)
{
    m_tips.insert(widget, tip);
    widget->installEventFilter(this);
}

void TFigureTips::AddRow(QWidget *widget, int group, int ball)
{
    Add(widget, {Kind::Row, group, ball});
}

void TFigureTips::AddCount(QWidget *label, int number)
{
    Add(label, {Kind::Count, number, 0});
}

void TFigureTips::AddLines(QWidget *edit)
{
    Add(edit, {Kind::Lines, 0, 0});
}

void TFigureTips::AddNearest(QWidget *statusBar)
{
    Add(statusBar, {Kind::Nearest, 0, 0});
}

void TFigureTips::Follow(const HistoryStatistics &statistics)
{
    m_runs = statistics.missRuns;
    m_runSpins = statistics.spinCount;
    if (statistics.thresholdValid)
        m_counts = statistics;

    // Only a tooltip on screen is written again, and only when it changed.
    if (!m_shownFor || !QToolTip::isVisible())
        return;
    if (!m_shownFor->isVisible()) {
        QToolTip::hideText();
        return;
    }
    const QString text = TextFor(m_shownFor);
    if (text != QToolTip::text())
        QToolTip::showText(m_shownAt, text, m_shownFor);
}

QString TFigureTips::TextFor(const QObject *widget) const
{
    const auto found = m_tips.constFind(widget);
    if (found == m_tips.cend())
        return QString();
    const Tip &tip = *found;
    switch (tip.kind) {
    case Kind::Row: {
        const Risk risk = m_risk();
        RowFacts facts;
        facts.group = tip.index;
        facts.run = m_runs[size_t(tip.index)];
        facts.spins = m_runSpins;
        facts.lower = risk.boundaries.Lower(tip.index);
        facts.upper = risk.boundaries.Upper(tip.index);
        facts.preset = risk.preset;
        facts.ball = tip.ball;
        return RowToolTip(facts);
    }
    case Kind::Count:
        return CountToolTip(tip.index, m_counts);
    case Kind::Lines:
        return LinesToolTip(m_counts);
    case Kind::Nearest:
        return NearestToolTip(m_counts);
    }
    return QString();
}

bool TFigureTips::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip || !m_tips.contains(watched))
        return QObject::eventFilter(watched, event);
    auto *widget = static_cast<QWidget *>(watched);
    const QPoint at = static_cast<QHelpEvent *>(event)->globalPos();
    QToolTip::showText(at, TextFor(widget), widget);
    m_shownFor = widget;
    m_shownAt = at;
    return true;
}

} // namespace trevolo
