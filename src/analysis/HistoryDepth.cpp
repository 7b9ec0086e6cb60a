#include "analysis/HistoryDepth.h"

#include <algorithm>
#include <cmath>

namespace trevolo {

namespace {

using Tracker = HistoryDepth::Tracker;
using State = HistoryDepth::State;
using AllGapCounts = std::array<HistoryDepth::GapCounts, GroupRowCount>;

// The trackers a spin of each number moves: its own, then its groups'.
struct HitList
{
    int count = 0;
    std::array<quint8, 1 + GroupRowCount> trackers{};
};

const std::array<HitList, WheelSize> &hitTable()
{
    static const std::array<HitList, WheelSize> table = [] {
        std::array<HitList, WheelSize> t{};
        for (int n = 0; n < WheelSize; ++n) {
            HitList &list = t[n];
            list.trackers[list.count++] = quint8(n);
            for (int row = 0; row < GroupRowCount; ++row)
                if (GroupMembers(row) >> n & 1)
                    list.trackers[list.count++] = quint8(WheelSize + row);
        }
        return t;
    }();
    return table;
}

qint32 countSpins(const quint8 *begin, const quint8 *end) noexcept
{
    qint32 count = 0;
    for (const quint8 *p = begin; p != end; ++p)
        count += *p < WheelSize;
    return count;
}

// Moves the trackers over spins[state.spins .. to), counting the gaps of the
// groups when `counts` is given.
void advance(State &state, const quint8 *spins, qint32 to, AllGapCounts *counts)
{
    const auto &table = hitTable();
    for (qint32 p = state.spins; p < to; ++p) {
        const HitList &list = table[spins[p]];
        for (int i = 0; i < list.count; ++i) {
            const int index = list.trackers[size_t(i)];
            Tracker &t = state.trackers[size_t(index)];
            if (t.last >= 0) {
                const qint32 gap = p - t.last - 1;
                t.longestGap = std::max(t.longestGap, gap);
                if (counts && index >= WheelSize)
                    (*counts)[size_t(index - WheelSize)].Add(gap, +1);
            } else {
                t.first = p;
            }
            t.last = p;
            ++t.hits;
        }
    }
    state.spins = std::max(state.spins, to);
}

GapFigures gapFigures(const Tracker &t, qint32 spins)
{
    GapFigures f;
    f.hits = t.hits;
    if (t.hits == 0) {
        f.current = f.longest = spins;
        return f;
    }
    f.current = spins - 1 - t.last;
    f.longest = std::max({t.first, t.longestGap, f.current});
    // The gaps between hits fill the stretch from the first hit to the last
    // but for the hits themselves.
    if (t.hits >= 2)
        f.mean = double(t.last - t.first - (t.hits - 1)) / (t.hits - 1);
    return f;
}

DepthFigures figuresOf(const State &state)
{
    DepthFigures f;
    f.spins = state.spins;
    for (int n = 0; n < WheelSize; ++n)
        f.numbers[size_t(n)] = gapFigures(state.trackers[size_t(n)], state.spins);
    for (int row = 0; row < GroupRowCount; ++row)
        f.groups[size_t(row)] = gapFigures(state.trackers[size_t(WheelSize + row)], state.spins);
    return f;
}

} // namespace

HistoryStatistics SpanStatistics(std::span<const quint8> spins, QStringView thresholdText)
{
    HistoryStatistics s;
    std::array<qint32, WheelSize> lastSeen;
    lastSeen.fill(-1);
    const qint32 count = qint32(spins.size());
    for (qint32 i = 0; i < count; ++i) {
        lastSeen[spins[size_t(i)]] = i;
        ++s.occurrence[spins[size_t(i)]];
    }
    s.lineCount = s.spinCount = count;
    for (int n = 0; n < WheelSize; ++n)
        s.absence[size_t(n)] = count - 1 - lastSeen[size_t(n)];
    CompleteStatistics(s, thresholdText);
    return s;
}

DepthFigures ComputeDepth(std::span<const quint8> spins)
{
    State state;
    advance(state, spins.data(), qint32(spins.size()), nullptr);
    return figuresOf(state);
}

std::vector<qint32> GapHistogram(std::span<const quint8> spins, NumberSet members)
{
    std::vector<qint32> counts;
    qint32 last = -1;
    const qint32 count = qint32(spins.size());
    for (qint32 p = 0; p < count; ++p) {
        if ((members >> spins[size_t(p)] & 1) == 0)
            continue;
        if (last >= 0) {
            const size_t gap = size_t(p - last - 1);
            if (gap >= counts.size())
                counts.resize(gap + 1);
            ++counts[gap];
        }
        last = p;
    }
    return counts;
}

double ExpectedGapCount(qint64 spins, qint64 hits, qint64 k)
{
    if (hits < 2 || k < 0 || k > spins - hits)
        return 0;
    // C(n - k - 2, H - 2) / C(n, H) = H (H - 1) / (n (n - 1)) *
    // (n - H)! (n - k - 2)! / ((n - H - k)! (n - 2)!), the factorials as
    // logarithms, which stay in range at any length.
    using Real = long double;
    const Real n = Real(spins), h = Real(hits), gap = Real(k);
    const Real logRatio = std::lgamma(n - h + 1) - std::lgamma(n - h - gap + 1) +
                          std::lgamma(n - gap - 1) - std::lgamma(n - 1);
    return double((n - gap - 1) * h * (h - 1) / (n * (n - 1)) * std::exp(logRatio));
}

void HistoryDepth::GapCounts::AddFar(qint32 gap, qint32 sign)
{
    qint32 &count = m_far[gap];
    count += sign;
    if (count == 0)
        m_far.erase(gap);
}

std::vector<qint32> HistoryDepth::GapCounts::Histogram() const
{
    size_t size = m_far.empty() ? size_t(Near) : size_t(m_far.rbegin()->first) + 1;
    while (size > 0 && size <= size_t(Near) && m_near[size - 1] == 0)
        --size;
    std::vector<qint32> counts(size);
    std::copy_n(m_near.begin(), std::min(size, size_t(Near)), counts.begin());
    for (const auto &[gap, count] : m_far)
        counts[size_t(gap)] = count;
    return counts;
}

qint64 HistoryDepth::GapCounts::MemoryBytes() const noexcept
{
    // A map node holds the pair and about four pointers' worth besides.
    return qint64(m_far.size() * (sizeof(std::pair<const qint32, qint32>) + 4 * sizeof(void *)));
}

HistoryDepth::HistoryDepth(qint32 checkpointSpins)
    : m_checkpointSpins(std::max(checkpointSpins, 1)), m_checkpoints(1)
{}

qint32 HistoryDepth::SpinsBefore(qint32 line) const noexcept
{
    const qint32 block = line / BlockLines;
    qint32 spins = 0;
    for (qint32 b = 0; b < block; ++b)
        spins += m_blockSpins[size_t(b)];
    return spins + countSpins(m_lines.data() + qint64(block) * BlockLines, m_lines.data() + line);
}

void HistoryDepth::CountBlocks(qint32 firstBlock, qint32 endBlock)
{
    const qint32 lines = LineCount();
    const qint32 blocks = (lines + BlockLines - 1) / BlockLines;
    m_blockSpins.resize(size_t(blocks));
    for (qint32 b = firstBlock; b < std::min(endBlock, blocks); ++b) {
        const quint8 *begin = m_lines.data() + qint64(b) * BlockLines;
        m_blockSpins[size_t(b)] =
            countSpins(begin, begin + std::min(BlockLines, lines - b * BlockLines));
    }
}

void HistoryDepth::Replace(qint32 first, qint32 removed, std::span<const quint8> codes)
{
    Q_ASSERT(first >= 0 && removed >= 0 && qint64(first) + removed <= LineCount());

    // The spins of the lines replaced, and those of the new lines.
    const qint32 spinFirst = SpinsBefore(first);
    const qint32 spinsGone = countSpins(m_lines.data() + first, m_lines.data() + first + removed);
    std::vector<quint8> added;
    for (const quint8 code : codes)
        if (code < WheelSize)
            added.push_back(code);

    // The figures hold up to the first spin that changes.
    const auto spinBegin = m_spins.begin() + spinFirst;
    const auto spinEnd = spinBegin + spinsGone;
    const auto differ = std::mismatch(spinBegin, spinEnd, added.begin(), added.end());
    if (differ.first != spinEnd || differ.second != added.end()) {
        Rollback(qint32(differ.first - m_spins.begin()));
        if (qsizetype(added.size()) == spinsGone) {
            std::copy(added.begin(), added.end(), spinBegin);
        } else {
            const auto at = m_spins.erase(spinBegin, spinEnd);
            m_spins.insert(at, added.begin(), added.end());
        }
    }

    const auto lineBegin = m_lines.begin() + first;
    if (qsizetype(codes.size()) == removed) {
        std::copy(codes.begin(), codes.end(), lineBegin);
        if (removed > 0)
            CountBlocks(first / BlockLines, (first + removed - 1) / BlockLines + 1);
    } else {
        const auto at = m_lines.erase(lineBegin, lineBegin + removed);
        m_lines.insert(at, codes.begin(), codes.end());
        CountBlocks(first / BlockLines, std::numeric_limits<qint32>::max());
    }
}

void HistoryDepth::Assign(std::span<const quint8> codes)
{
    m_lines.assign(codes.begin(), codes.end());
    m_blockSpins.clear();
    CountBlocks(0, std::numeric_limits<qint32>::max());
    m_spins.clear();
    m_spins.reserve(m_lines.size());
    for (const quint8 code : codes)
        if (code < WheelSize)
            m_spins.push_back(code);
    m_state = State();
    m_checkpoints.assign(1, State());
    m_gapCounts = {};
}

std::span<const quint8> HistoryDepth::LastSpins(qint32 count) const noexcept
{
    const std::span<const quint8> all(m_spins);
    if (count <= 0 || count >= SpinCount())
        return all;
    return all.last(size_t(count));
}

void HistoryDepth::Rollback(qint32 spins)
{
    if (m_state.spins <= spins)
        return;
    const size_t index = size_t(spins / m_checkpointSpins);
    const State &target = m_checkpoints[index];
    // Take back the gaps that the hits after the checkpoint closed, walking
    // the old spins again from where the checkpoint left every group.
    std::array<qint32, GroupRowCount> last;
    for (int row = 0; row < GroupRowCount; ++row)
        last[size_t(row)] = target.trackers[size_t(WheelSize + row)].last;
    const auto &table = hitTable();
    for (qint32 p = target.spins; p < m_state.spins; ++p) {
        const HitList &list = table[m_spins[size_t(p)]];
        for (int i = 1; i < list.count; ++i) {
            const size_t row = size_t(list.trackers[size_t(i)] - WheelSize);
            if (last[row] >= 0)
                m_gapCounts[row].Add(p - last[row] - 1, -1);
            last[row] = p;
        }
    }
    m_state = target;
    m_checkpoints.resize(index + 1);
}

bool HistoryDepth::CatchUp(qint32 atMostSpins)
{
    const qint32 end = qint32(std::min<qint64>(SpinCount(), qint64(m_state.spins) + atMostSpins));
    while (m_state.spins < end) {
        const qint64 next = qint64(m_checkpoints.size()) * m_checkpointSpins;
        advance(m_state, m_spins.data(), qint32(std::min<qint64>(end, next)), &m_gapCounts);
        if (m_state.spins == next)
            m_checkpoints.push_back(m_state);
    }
    return m_state.spins == SpinCount();
}

DepthFigures HistoryDepth::Figures(qint32 span)
{
    if (span > 0 && span < SpinCount())
        return ComputeDepth(LastSpins(span));
    CatchUp();
    return figuresOf(m_state);
}

std::vector<qint32> HistoryDepth::GroupGapHistogram(int row, qint32 span)
{
    if (span > 0 && span < SpinCount())
        return GapHistogram(LastSpins(span), GroupMembers(row));
    CatchUp();
    return m_gapCounts[size_t(row)].Histogram();
}

qint64 HistoryDepth::MemoryBytes() const noexcept
{
    qint64 bytes =
        qint64(m_lines.capacity() + m_spins.capacity() + m_blockSpins.capacity() * sizeof(qint32) +
               m_checkpoints.capacity() * sizeof(State));
    for (const GapCounts &counts : m_gapCounts)
        bytes += counts.MemoryBytes();
    return bytes;
}

} // namespace trevolo
