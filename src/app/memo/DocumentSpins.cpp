#include "app/memo/DocumentSpins.h"

#include "app/memo/FoldedLines.h"

#include <QTextBlock>
#include <algorithm>
#include <numeric>

namespace trevolo {

namespace {

// Appends the lines of one block, as the whole text shows them: the block's
// text cut at its soft breaks. A block ending in a lone "\r" that is followed
// by another block ends in "\r\n" in the whole text, one break and not two.
// Returns the number of lines appended.
qint32 AppendBlockCodes(const QTextBlock &block, std::vector<quint8> &codes)
{
    const QString text = block.text();
    const size_t before = codes.size();
    if (!text.contains(QChar::ObjectReplacementCharacter)) {
        SpinHistoryModel::AppendCodes(text, codes);
    } else {
        // Line by line, a folded line put back only where it may matter.
        const QTextDocument &document = *block.document();
        qsizetype start = 0;
        for (qsizetype end = 0; end <= text.size(); ++end) {
            if (end < text.size() && text[end] != QChar::LineSeparator)
                continue;
            const QStringView line = QStringView(text).sliced(start, end - start);
            const int position = block.position() + int(start);
            if (HoldsInertFold(document, line, position))
                codes.push_back(SpinHistoryModel::OtherLine);
            else
                SpinHistoryModel::AppendCodes(Unfold(document, line.toString(), position), codes);
            start = end + 1;
        }
    }
    if (text.endsWith(u'\r') && block.next().isValid())
        codes.pop_back();
    return qint32(codes.size() - before);
}

} // namespace

DocumentSpins::DocumentSpins(SpinHistory &history, QObject *parent)
    : QObject(parent), m_history(history)
{
    m_history.SetCheck(this, [this] { CheckInStep(); });
}

void DocumentSpins::Watch(QTextDocument *document)
{
    disconnect(m_connection);
    m_document = document;
    m_suspended = false;
    if (document)
        m_connection = connect(document, &QTextDocument::contentsChange, this,
                               &DocumentSpins::OnContentsChange);
    ReadAll();
}

void DocumentSpins::Watch(QTextDocument *document, std::vector<quint8> &&codes)
{
    disconnect(m_connection);
    m_document = document;
    if (document)
        m_connection = connect(document, &QTextDocument::contentsChange, this,
                               &DocumentSpins::OnContentsChange);
    Resume(std::move(codes));
}

void DocumentSpins::CheckInStep()
{
    if (!m_suspended && !InStep()) {
        ++m_rebuilds;
        ReadAll();
    }
}

bool DocumentSpins::InStep() const
{
    if (!m_document)
        return m_lines == 0;
    return m_document->blockCount() == m_blocks && m_document->characterCount() == m_characters;
}

void DocumentSpins::Resume()
{
    m_suspended = false;
    ReadAll();
}

void DocumentSpins::Resume(std::vector<quint8> &&codes)
{
    m_suspended = false;
    // The codes hold one line per block when no block holds a soft break;
    // anything else is read from the document itself.
    if (!m_document || qsizetype(codes.size()) != m_document->blockCount()) {
        ReadAll();
        return;
    }
    m_multiLine.clear();
    m_extraLines = 0;
    m_blocks = m_document->blockCount();
    m_characters = m_document->characterCount();
    m_lines = qint32(codes.size());
    m_history.Assign(codes);
}

void DocumentSpins::ReadAll()
{
    m_multiLine.clear();
    m_extraLines = 0;
    if (!m_document) {
        m_blocks = m_characters = m_lines = 0;
        m_history.Assign({});
        return;
    }
    std::vector<quint8> codes;
    codes.reserve(size_t(m_document->blockCount()));
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
        const qint32 lines = AppendBlockCodes(block, codes);
        if (lines > 1) {
            m_multiLine.emplace_back(block.blockNumber(), lines - 1);
            m_extraLines += lines - 1;
        }
    }
    m_blocks = m_document->blockCount();
    m_characters = m_document->characterCount();
    m_lines = qint32(codes.size());
    m_history.Assign(codes);
}

qint32 DocumentSpins::LineOfBlock(qint32 block) const
{
    const auto after = std::lower_bound(m_multiLine.begin(), m_multiLine.end(),
                                        std::pair<qint32, qint32>(block, 0));
    const auto extraOf = [](qint32 sum, const std::pair<qint32, qint32> &multi) {
        return sum + multi.second;
    };
    if (after - m_multiLine.begin() <= m_multiLine.end() - after)
        return std::accumulate(m_multiLine.begin(), after, block, extraOf);
    return block + m_extraLines - std::accumulate(after, m_multiLine.end(), 0, extraOf);
}

void DocumentSpins::OnContentsChange(int position, int removed, int added)
{
    if (m_suspended || !m_document)
        return;
    QTextDocument &document = *m_document;
    const int blocks = document.blockCount();
    const int characters = document.characterCount();
    // The change must account for the difference in length; if it does not,
    // an earlier change went unreported.
    if (m_characters + added - removed != characters) {
        ++m_rebuilds;
        ReadAll();
        return;
    }

    // The blocks before the one holding `position` and after the one holding
    // its end are as they were; the ones between replace as many old blocks
    // as the block count says.
    QTextBlock first = document.findBlock(position);
    if (!first.isValid())
        first = document.lastBlock();
    QTextBlock last = document.findBlock(position + added);
    if (!last.isValid())
        last = document.lastBlock();
    const qint32 firstBlock = first.blockNumber();
    const qint32 newBlocks = last.blockNumber() - firstBlock + 1;
    const qint32 oldBlocks = newBlocks - (blocks - m_blocks);
    if (oldBlocks < 1 || firstBlock + oldBlocks > m_blocks) {
        ++m_rebuilds;
        ReadAll();
        return;
    }

    const qint32 firstLine = LineOfBlock(firstBlock);
    qint32 oldLines = oldBlocks;
    const auto oldBegin = std::lower_bound(m_multiLine.begin(), m_multiLine.end(),
                                           std::pair<qint32, qint32>(firstBlock, 0));
    auto oldEnd = oldBegin;
    for (; oldEnd != m_multiLine.end() && oldEnd->first < firstBlock + oldBlocks; ++oldEnd)
        oldLines += oldEnd->second;

    std::vector<quint8> codes;
    codes.reserve(size_t(newBlocks));
    std::vector<std::pair<qint32, qint32>> multiLine;
    qint32 number = firstBlock;
    m_extraLines -= oldLines - oldBlocks;
    for (QTextBlock block = first;; block = block.next(), ++number) {
        const qint32 lines = AppendBlockCodes(block, codes);
        if (lines > 1) {
            multiLine.emplace_back(number, lines - 1);
            m_extraLines += lines - 1;
        }
        if (block == last)
            break;
    }
    // Blocks after the change move by the difference in block count.
    const qint32 shift = blocks - m_blocks;
    for (auto it = oldEnd; it != m_multiLine.end(); ++it)
        it->first += shift;
    const auto at = m_multiLine.erase(oldBegin, oldEnd);
    m_multiLine.insert(at, multiLine.begin(), multiLine.end());

    m_blocks = blocks;
    m_characters = characters;
    m_lines += qint32(codes.size()) - oldLines;
    // Last, in step: whoever follows the history may read it at once.
    m_history.Replace(firstLine, oldLines, codes);
}

} // namespace trevolo
