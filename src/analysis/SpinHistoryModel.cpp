#include "analysis/SpinHistoryModel.h"

#include "common/Lines.h"

#include <algorithm>
#include <bit>

namespace trevolo {

namespace {

constexpr quint64 AllNumbers = (quint64(1) << WheelSize) - 1;

} // namespace

// Chunks hold between a quarter and twice m_chunkLines lines (the last one may
// hold fewer); a chunk that grows past that is cut into pieces of
// m_chunkLines.
SpinHistoryModel::SpinHistoryModel(qint32 chunkLines) : m_chunkLines(std::max(chunkLines, 4)) {}

quint8 SpinHistoryModel::CodeOfLine(QStringView line) noexcept
{
    // One or two plain digits are nearly every line of a real history.
    const qsizetype length = line.size();
    if (length == 0)
        return EmptyLine;
    const char16_t c0 = line[0].unicode();
    if (length == 1 && c0 >= u'0' && c0 <= u'9')
        return quint8(c0 - u'0');
    if (length == 2 && c0 >= u'0' && c0 <= u'9') {
        const char16_t c1 = line[1].unicode();
        if (c1 >= u'0' && c1 <= u'9') {
            const int n = (c0 - u'0') * 10 + (c1 - u'0');
            return n < WheelSize ? quint8(n) : OtherLine;
        }
    }
    const qint32 n = SpinOfLine(line);
    return n < 0 ? OtherLine : quint8(n);
}

void SpinHistoryModel::AppendCodes(QStringView text, std::vector<quint8> &codes)
{
    SplitLines<true>(text, [&codes](QStringView line) { codes.push_back(CodeOfLine(line)); });
}

std::vector<quint8> SpinHistoryModel::Codes() const
{
    std::vector<quint8> all;
    all.reserve(size_t(m_size));
    for (const Chunk &chunk : m_chunks)
        all.insert(all.end(), chunk.codes.begin(), chunk.codes.end());
    return all;
}

void SpinHistoryModel::Chunk::Summarise() noexcept
{
    qint32 count = 0;
    quint64 bits = 0;
    for (const quint8 code : codes) {
        if (code < WheelSize) {
            ++count;
            bits |= quint64(1) << code;
        }
    }
    spins = count;
    present = bits;
}

quint8 SpinHistoryModel::CodeAt(qint32 line) const
{
    const auto [chunk, offset] = Locate(line);
    return m_chunks[size_t(chunk)].codes[size_t(offset)];
}

std::pair<qsizetype, qint32> SpinHistoryModel::Locate(qint32 line) const noexcept
{
    // Most edits happen near the end, so the walk starts from whichever end
    // of the history is nearer.
    const qsizetype count = qsizetype(m_chunks.size());
    if (line >= m_size / 2) {
        qint32 start = m_size;
        for (qsizetype i = count - 1; i >= 0; --i) {
            start -= qint32(m_chunks[size_t(i)].codes.size());
            if (line >= start)
                return {i, line - start};
        }
        return {0, line};
    }
    qint32 start = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const qint32 size = qint32(m_chunks[size_t(i)].codes.size());
        if (line < start + size)
            return {i, line - start};
        start += size;
    }
    return {count - 1, line - start};
}

void SpinHistoryModel::Count(const quint8 *begin, const quint8 *end, qint32 sign) noexcept
{
    for (const quint8 *p = begin; p != end; ++p) {
        if (*p < WheelSize) {
            m_occurrence[*p] += sign;
            m_spins += sign;
        }
    }
}

void SpinHistoryModel::Replace(qint32 first, qint32 removed, std::span<const quint8> codes)
{
    Q_ASSERT(first >= 0 && removed >= 0 && qint64(first) + removed <= m_size);
    if (m_chunks.empty())
        m_chunks.emplace_back();

    auto [index, offset] = Locate(first);

    // Take the removed lines out: the tail of the first chunk, whole chunks,
    // the head of the last one.
    qint32 left = removed;
    qsizetype next = index;
    qint32 at = offset;
    while (left > 0) {
        auto &chunkCodes = m_chunks[size_t(next)].codes;
        const qint32 take = std::min(left, qint32(chunkCodes.size()) - at);
        const auto begin = chunkCodes.begin() + at;
        Count(&*begin, &*begin + take, -1);
        chunkCodes.erase(begin, begin + take);
        left -= take;
        if (left > 0) {
            ++next;
            at = 0;
        }
    }
    if (next > index) {
        // Chunks emptied on the way go; the last one keeps what follows.
        const auto firstGone = m_chunks.begin() + index + 1;
        const auto lastGone = m_chunks.begin() + next + (m_chunks[size_t(next)].codes.empty());
        if (lastGone > firstGone)
            m_chunks.erase(firstGone, lastGone);
        if (size_t(index + 1) < m_chunks.size())
            m_chunks[size_t(index + 1)].Summarise();
    }

    auto &target = m_chunks[size_t(index)].codes;
    target.insert(target.begin() + offset, codes.begin(), codes.end());
    Count(codes.data(), codes.data() + codes.size(), +1);
    m_size += qint32(codes.size()) - removed;

    m_chunks[size_t(index)].Summarise();
    if (size_t(index + 1) < m_chunks.size())
        Rebalance(index + 1);
    Rebalance(index);
}

void SpinHistoryModel::Rebalance(qsizetype index)
{
    const qint32 minChunk = m_chunkLines / 4;
    const qint32 maxChunk = 2 * m_chunkLines;
    const qint32 chunkLines = m_chunkLines;
    if (size_t(index) >= m_chunks.size())
        return;
    // An undersized chunk joins the one after it, or the last one the one
    // before it.
    if (m_chunks.size() > 1 && qint32(m_chunks[size_t(index)].codes.size()) < minChunk) {
        const qsizetype into = size_t(index + 1) < m_chunks.size() ? index : index - 1;
        auto &keep = m_chunks[size_t(into)].codes;
        auto &gone = m_chunks[size_t(into + 1)].codes;
        keep.insert(keep.end(), gone.begin(), gone.end());
        m_chunks.erase(m_chunks.begin() + into + 1);
        m_chunks[size_t(into)].Summarise();
        index = into;
    }
    Chunk &chunk = m_chunks[size_t(index)];
    if (qint32(chunk.codes.size()) <= maxChunk)
        return;
    // Cut into pieces of chunkLines; the last piece takes the remainder.
    std::vector<Chunk> pieces;
    const qint32 total = qint32(chunk.codes.size());
    for (qint32 start = 0; start < total;) {
        const qint32 rest = total - start;
        const qint32 take = rest < chunkLines + minChunk ? rest : chunkLines;
        Chunk piece;
        piece.codes.assign(chunk.codes.begin() + start, chunk.codes.begin() + start + take);
        piece.Summarise();
        pieces.push_back(std::move(piece));
        start += take;
    }
    m_chunks.erase(m_chunks.begin() + index);
    m_chunks.insert(m_chunks.begin() + index, std::make_move_iterator(pieces.begin()),
                    std::make_move_iterator(pieces.end()));
}

void SpinHistoryModel::Assign(std::span<const quint8> codes)
{
    m_chunks.clear();
    m_size = 0;
    m_spins = 0;
    m_occurrence.fill(0);
    const qint32 total = qint32(codes.size());
    const qint32 chunkLines = m_chunkLines;
    m_chunks.reserve(size_t(total / chunkLines + 1));
    for (qint32 start = 0; start < total; start += chunkLines) {
        const qint32 take = std::min(chunkLines, total - start);
        Chunk chunk;
        chunk.codes.assign(codes.begin() + start, codes.begin() + start + take);
        chunk.Summarise();
        m_chunks.push_back(std::move(chunk));
    }
    Count(codes.data(), codes.data() + codes.size(), +1);
    m_size = total;
}

void SpinHistoryModel::SetText(QStringView text)
{
    std::vector<quint8> codes;
    codes.reserve(size_t(text.size() / 2 + 1));
    AppendCodes(text, codes);
    Assign(codes);
}

HistoryStatistics SpinHistoryModel::Statistics(QStringView thresholdText) const
{
    HistoryStatistics s;
    const bool emptyLast = m_size > 0 && m_chunks.back().codes.back() == EmptyLine;
    s.lineCount = m_size - (emptyLast ? 1 : 0);
    s.spinCount = m_spins;
    s.occurrence = m_occurrence;
    s.absence.fill(m_spins);

    // Walk back from the end, counting the valid spins passed, until every
    // number that occurs has been met; chunks without any of the numbers
    // still sought are passed by their count alone.
    quint64 sought = 0;
    for (int n = 0; n < WheelSize; ++n) {
        if (m_occurrence[size_t(n)] > 0)
            sought |= quint64(1) << n;
    }
    qint32 after = 0;
    for (auto chunk = m_chunks.rbegin(); chunk != m_chunks.rend() && sought != 0; ++chunk) {
        if ((chunk->present & sought) == 0) {
            after += chunk->spins;
            continue;
        }
        for (auto code = chunk->codes.rbegin(); code != chunk->codes.rend(); ++code) {
            if (*code >= WheelSize)
                continue;
            const quint64 bit = quint64(1) << *code;
            if (sought & bit) {
                s.absence[*code] = after;
                sought &= ~bit;
                if (sought == 0)
                    break;
            }
            ++after;
        }
    }
    Q_ASSERT((sought & AllNumbers) == 0);

    CompleteStatistics(s, thresholdText);
    return s;
}

qint64 SpinHistoryModel::MemoryBytes() const noexcept
{
    qint64 bytes = qint64(m_chunks.capacity() * sizeof(Chunk));
    for (const Chunk &chunk : m_chunks)
        bytes += qint64(chunk.codes.capacity());
    return bytes;
}

} // namespace trevolo
