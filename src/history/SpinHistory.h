#pragma once

#include "analysis/HistoryDepth.h"
#include "analysis/SpinHistoryModel.h"

#include <QObject>
#include <QPointer>
#include <QStringView>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace trevolo {

// What one edit of a history changed: lines [first, first + removed) gave
// way to `added` lines; or, with `whole`, the history was replaced whole.
struct SpinEdit
{
    qint32 first = 0;
    qint32 removed = 0;
    qint32 added = 0;
    bool whole = false;
};

// The one owner of a history's spins: the line codes with their statistics
// (SpinHistoryModel) and their depth (HistoryDepth), edited together and
// read by whoever shows them. Every edit raises one `edited`, so the windows
// that follow the history need no one to tell them. Not thread-safe: one
// thread edits and reads.
class SpinHistory : public QObject
{
    Q_OBJECT

public:
    explicit SpinHistory(QObject *parent = nullptr);

    // Lines [first, first + removed) replaced with lines of these codes.
    void Replace(qint32 first, qint32 removed, std::span<const quint8> codes);
    // Holds exactly these lines.
    void Assign(std::span<const quint8> codes);

    qint32 LineCount() const;
    qint32 SpinCount() const;
    // One statistics pass over the whole history; asked again for the same
    // threshold before the next edit, it is not worked out again.
    HistoryStatistics Statistics(QStringView thresholdText) const;
    // The last `count` valid spins, oldest first (all when count <= 0);
    // valid until the next edit.
    std::span<const quint8> LastSpins(qint32 count) const;
    // The gap figures of the last `span` spins (0: all), and the gap
    // lengths of one group row over them (HistoryDepth).
    DepthFigures Figures(qint32 span) const;
    std::vector<qint32> GroupGapHistogram(int row, qint32 span) const;
    // Every line's code, in order, without a copy; valid until the next edit.
    std::span<const quint8> Codes() const;

    // A feed that may miss a change of its source (a change made with the
    // source's signals blocked) brings the history in step before every
    // read, for as long as `feed` lives.
    void SetCheck(const QObject *feed, std::function<void()> check);

Q_SIGNALS:
    void edited(const trevolo::SpinEdit &edit);

private:
    void Check() const;

    SpinHistoryModel m_model;
    // Its figures are brought up to date when asked for, reads included.
    mutable HistoryDepth m_depth;
    // The latest pass and its threshold text.
    mutable std::optional<HistoryStatistics> m_pass;
    mutable QString m_passThreshold;
    QPointer<const QObject> m_feed;
    std::function<void()> m_check;
};

} // namespace trevolo
