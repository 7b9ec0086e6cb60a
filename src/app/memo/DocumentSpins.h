#pragma once

#include "analysis/HistoryDepth.h"
#include "analysis/SpinHistoryModel.h"

#include <QObject>
#include <QPointer>
#include <QTextDocument>
#include <utility>
#include <vector>

namespace trevolo {

// Keeps a SpinHistoryModel equal to the lines of a text document, fed from
// the document's contentsChange: only the blocks a change touched are read
// again. A block holding soft line breaks (U+2028) gives several lines.
// Should the model ever fall out of step with the document (a change that
// was not reported), the next look at it notices by the block and character
// counts and reads the whole document again, once. A HistoryDepth beside the
// model gets the same edits, so the gap figures of the whole history follow
// edit by edit too.
class DocumentSpins : public QObject
{
    Q_OBJECT

public:
    explicit DocumentSpins(QObject *parent = nullptr);

    // Follows `document` from now on (nullptr: none), reading it whole.
    void Watch(QTextDocument *document);
    // The same, for a document whose lines `codes` hold: one per block, when
    // no block holds a soft break (else the document is read).
    void Watch(QTextDocument *document, std::vector<quint8> &&codes);

    // The model, first read again in whole if it is out of step.
    const SpinHistoryModel &Model();
    // The depth of the same lines, first read again in whole if it is out of
    // step. Its figures are brought up to date when asked for.
    HistoryDepth &Depth();

    // Times the whole document was read because the model was out of step.
    int Rebuilds() const { return m_rebuilds; }

    // Stops following changes until Resume; the caller then either hands
    // over the lines itself (Resume with codes that hold them) or lets the
    // whole document be read (Resume without).
    void Suspend() { m_suspended = true; }
    void Resume();
    void Resume(std::vector<quint8> &&codes);

private:
    void OnContentsChange(int position, int removed, int added);
    void ReadAll();
    // The model and the depth hold exactly these lines.
    void AssignBoth(std::span<const quint8> codes);
    bool InStep() const;
    // The model's first line for a block.
    qint32 LineOfBlock(qint32 block) const;

    QPointer<QTextDocument> m_document;
    QMetaObject::Connection m_connection;
    SpinHistoryModel m_model;
    HistoryDepth m_depth;
    // Blocks that hold more than one line, by block number, with the count
    // of extra lines; sorted.
    std::vector<std::pair<qint32, qint32>> m_multiLine;
    int m_blocks = 0;
    int m_characters = 0;
    int m_rebuilds = 0;
    bool m_suspended = false;
};

} // namespace trevolo
