#pragma once

#include "analysis/Statistics.h"

#include <QStringView>
#include <array>
#include <span>
#include <vector>

namespace trevolo {

// The history's statistics kept up to date edit by edit, so a pass costs
// about the size of the change instead of the size of the history.
//
// The model holds the lines of a text cut at every line break, an empty last
// line included (an empty text is one empty line, "5\n" is "5" and ""), as
// one byte each: the wheel number 0..36, EmptyLine or OtherLine. Beside them
// it keeps the occurrence counts, the number of valid spins, and per chunk
// of a few thousand lines the valid spins and the set of numbers in it, so
// the absences are found from the end of the history by skipping every chunk
// that holds none of the numbers still looked for.
class SpinHistoryModel
{
public:
    static constexpr quint8 EmptyLine = 0xFE; // a line with no characters
    static constexpr quint8 OtherLine = 0xFF; // text that is no number 0..36

    // Chunks of about `chunkLines` lines (tests use small ones).
    explicit SpinHistoryModel(qint32 chunkLines = 4096);

    // The byte stored for one line.
    static quint8 CodeOfLine(QStringView line) noexcept;

    // Appends the codes of the lines of `text`: it is cut at "\r\n", a lone
    // "\r", "\n", U+2028 and U+2029, and the piece after the last break (an
    // empty one too) is a line.
    static void AppendCodes(QStringView text, std::vector<quint8> &codes);

    // Lines held, an empty last line included.
    qint32 size() const noexcept { return m_size; }
    qint32 SpinCount() const noexcept { return m_spins; }
    // The code of one line, 0 <= line < size().
    quint8 CodeAt(qint32 line) const;
    // Every line's code, in order.
    std::vector<quint8> Codes() const;

    // Replaces lines [first, first + removed) with lines of the given codes.
    // Needs 0 <= first, 0 <= removed, first + removed <= size().
    void Replace(qint32 first, qint32 removed, std::span<const quint8> codes);
    // Holds exactly the given lines.
    void Assign(std::span<const quint8> codes);
    // Holds the lines of `text` (AppendCodes).
    void SetText(QStringView text);

    // One pass: what ComputeStatistics gives for the text these lines make.
    HistoryStatistics Statistics(QStringView thresholdText) const;

    // Bytes the model holds on the heap, for measurements.
    qint64 MemoryBytes() const noexcept;

private:
    struct Chunk
    {
        std::vector<quint8> codes;
        qint32 spins = 0;
        quint64 present = 0; // bit n: number n is among the codes
        void Summarise() noexcept;
    };

    // The chunk that holds `line`, and the line's place in it; a line equal
    // to size() is the place after the last line.
    std::pair<qsizetype, qint32> Locate(qint32 line) const noexcept;
    void Count(const quint8 *begin, const quint8 *end, qint32 sign) noexcept;
    // Splits an oversized chunk and merges an undersized one with a
    // neighbour, around chunk `index`.
    void Rebalance(qsizetype index);

    qint32 m_chunkLines;
    std::vector<Chunk> m_chunks;
    qint32 m_size = 0;
    qint32 m_spins = 0;
    std::array<qint32, WheelSize> m_occurrence{};
};

} // namespace trevolo
