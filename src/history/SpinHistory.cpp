#include "history/SpinHistory.h"

namespace trevolo {

SpinHistory::SpinHistory(QObject *parent) : QObject(parent) {}

void SpinHistory::Replace(qint32 first, qint32 removed, std::span<const quint8> codes)
{
    m_pass.reset();
    m_model.Replace(first, removed, codes);
    m_depth.Replace(first, removed, codes);
    Q_EMIT edited({first, removed, qint32(codes.size()), false});
}

void SpinHistory::Assign(std::span<const quint8> codes)
{
    m_pass.reset();
    m_model.Assign(codes);
    m_depth.Assign(codes);
    Q_EMIT edited({0, 0, qint32(codes.size()), true});
}

void SpinHistory::SetCheck(const QObject *feed, std::function<void()> check)
{
    m_feed = feed;
    m_check = std::move(check);
}

void SpinHistory::Check() const
{
    if (m_feed && m_check)
        m_check();
}

qint32 SpinHistory::LineCount() const
{
    Check();
    return m_model.size();
}

qint32 SpinHistory::SpinCount() const
{
    Check();
    return m_model.SpinCount();
}

HistoryStatistics SpinHistory::Statistics(QStringView thresholdText) const
{
    Check();
    if (!m_pass || m_passThreshold != thresholdText) {
        m_pass = m_model.Statistics(thresholdText);
        m_passThreshold = thresholdText.toString();
    }
    return *m_pass;
}

std::span<const quint8> SpinHistory::LastSpins(qint32 count) const
{
    Check();
    return m_depth.LastSpins(count);
}

DepthFigures SpinHistory::Figures(qint32 span) const
{
    Check();
    return m_depth.Figures(span);
}

std::vector<qint32> SpinHistory::GroupGapHistogram(int row, qint32 span) const
{
    Check();
    return m_depth.GroupGapHistogram(row, span);
}

std::span<const quint8> SpinHistory::Codes() const
{
    Check();
    return m_depth.Lines();
}

} // namespace trevolo
