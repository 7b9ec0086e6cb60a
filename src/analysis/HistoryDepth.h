#pragma once

// The depth of the history: its last N valid spins looked at as a history of
// their own, and the gaps between the hits of every number and group, kept up
// to date edit by edit for the whole history.
#include "analysis/Chances.h"
#include "analysis/Statistics.h"

#include <QStringView>
#include <array>
#include <limits>
#include <map>
#include <span>
#include <vector>

namespace trevolo {

// The spans a player picks from: the whole history (0), then the last 37,
// 100, 300 and 1000 valid spins.
constexpr std::array<qint32, 5> SpanLengths = {0, 37, 100, 300, 1000};

// The statistics pass of a run of valid spins (numbers 0..36, oldest first)
// as if they were the whole history: every line of it a spin.
HistoryStatistics SpanStatistics(std::span<const quint8> spins, QStringView thresholdText);

// How a number or a group came and went over n spins, hit at spins
// p1 < ... < pc (0-based).
struct GapFigures
{
    qint32 hits = 0;    // c
    qint32 current = 0; // n - 1 - pc; n without hits
    // The largest of p1, every p(i+1) - pi - 1 and current; n without hits.
    qint32 longest = 0;
    // The mean of the p(i+1) - pi - 1; NaN with fewer than two hits.
    double mean = std::numeric_limits<double>::quiet_NaN();
};

struct DepthFigures
{
    qint32 spins = 0;
    std::array<GapFigures, WheelSize> numbers{};
    std::array<GapFigures, GroupRowCount> groups{}; // by group row (GroupMembers)
};

// The gap figures of a run of valid spins, worked out afresh.
DepthFigures ComputeDepth(std::span<const quint8> spins);

// For k = 0 .. the longest gap between two consecutive hits of `members`:
// how many of those gaps held exactly k misses. Empty with fewer than two
// hits.
std::vector<qint32> GapHistogram(std::span<const quint8> spins, NumberSet members);

// The count of such gaps a fair wheel gives, given that the group was hit
// `hits` times in `spins` spins: every choice of the hit spins is then
// equally likely, whatever the group's size, and of them
// (spins - k - 1) C(spins - k - 2, hits - 2) / C(spins, hits) on average hold
// a gap of exactly k misses. 0 with fewer than two hits or k > spins - hits.
double ExpectedGapCount(qint64 spins, qint64 hits, qint64 k);

// The valid spins of a history and their gap figures, following the same
// edits as the history's SpinHistoryModel (Replace and Assign with the same
// line codes). An edit only notes the first spin it changed; the next
// question brings the figures up to date from the last checkpoint before it,
// so an edit near the end costs about one checkpoint's worth of spins however
// long the history is. An edit that leaves the spins as they were (a comment
// line) costs nothing beyond the line codes.
// Not thread-safe: one thread edits and asks.
class HistoryDepth
{
public:
    explicit HistoryDepth(qint32 checkpointSpins = 2048);

    // As SpinHistoryModel::Replace and Assign.
    void Replace(qint32 first, qint32 removed, std::span<const quint8> codes);
    void Assign(std::span<const quint8> codes);

    qint32 LineCount() const noexcept { return qint32(m_lines.size()); }
    // Every line's code, as the edits left them.
    std::span<const quint8> Lines() const noexcept { return m_lines; }
    qint32 SpinCount() const noexcept { return qint32(m_spins.size()); }
    // The last `count` valid spins, oldest first; every one when count <= 0
    // or count >= SpinCount(). Valid until the next edit.
    std::span<const quint8> LastSpins(qint32 count) const noexcept;

    // The gap figures of the last `span` spins (LastSpins): for the whole
    // history from the figures kept, else worked out afresh.
    DepthFigures Figures(qint32 span);
    // GapHistogram of group row `row` over the last `span` spins.
    std::vector<qint32> GroupGapHistogram(int row, qint32 span);
    // Brings the figures kept for the whole history up to date by at most
    // that many spins; true once they are. Figures(0) does whatever is left
    // itself; this lets a long history be caught up in slices (about 13 ms a
    // million spins) rather than at once.
    bool CatchUp(qint32 atMostSpins = std::numeric_limits<qint32>::max());

    // Bytes held on the heap, for measurements.
    qint64 MemoryBytes() const noexcept;

    // The figures kept (open to the helpers that move them). Where each
    // number and group was first and last hit, and its longest gap between
    // hits, after the first `spins` spins: numbers first, then group rows.
    struct Tracker
    {
        qint32 hits = 0;
        qint32 first = -1;
        qint32 last = -1;
        qint32 longestGap = -1; // between two hits; -1 with fewer than two
    };
    static constexpr int TrackerCount = WheelSize + GroupRowCount;
    struct State
    {
        qint32 spins = 0;
        std::array<Tracker, TrackerCount> trackers{};
    };

    // How many gaps of each length lie between the hits of a group: lengths
    // up to Near - 1 counted in place, rarer longer ones in a map.
    class GapCounts
    {
    public:
        void Add(qint32 gap, qint32 sign)
        {
            if (gap < Near)
                m_near[size_t(gap)] += sign;
            else
                AddFar(gap, sign);
        }
        std::vector<qint32> Histogram() const;
        qint64 MemoryBytes() const noexcept;

    private:
        void AddFar(qint32 gap, qint32 sign);
        static constexpr qint32 Near = 256;
        std::array<qint32, Near> m_near{};
        std::map<qint32, qint32> m_far;
    };

private:
    static constexpr qint32 BlockLines = 4096;

    qint32 SpinsBefore(qint32 line) const noexcept;
    void CountBlocks(qint32 firstBlock, qint32 endBlock);
    // Takes the kept figures back to cover at most the first `spins` spins,
    // while the spins after that are still the old ones.
    void Rollback(qint32 spins);

    qint32 m_checkpointSpins;
    std::vector<quint8> m_lines;
    std::vector<qint32> m_blockSpins; // valid spins per block of BlockLines lines
    std::vector<quint8> m_spins;
    // The figures kept cover the first m_state.spins spins; checkpoint k was
    // taken after k * m_checkpointSpins spins, and every one held was taken
    // no later than m_state.
    State m_state;
    std::vector<State> m_checkpoints;
    std::array<GapCounts, GroupRowCount> m_gapCounts;
};

} // namespace trevolo
