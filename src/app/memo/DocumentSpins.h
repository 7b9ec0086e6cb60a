#pragma once

#include "history/SpinHistory.h"

#include <QObject>
#include <QPointer>
#include <QTextDocument>
#include <utility>
#include <vector>

namespace trevolo {

// Feeds a SpinHistory with the lines of a text document, from the
// document's contentsChange: only the blocks a change touched are read
// again, and the history gets one edit per change. A block holding soft line
// breaks (U+2028) gives several lines. Should the history ever fall out of
// step with the document (a change that was not reported), the next read of
// it notices by the block and character counts and the whole document is
// read again, once.
class DocumentSpins : public QObject
{
    Q_OBJECT

public:
    // Writes into `history`, which must outlive the feed's use.
    explicit DocumentSpins(SpinHistory &history, QObject *parent = nullptr);

    // Follows `document` from now on (nullptr: none), reading it whole.
    void Watch(QTextDocument *document);
    // The same, for a document whose lines `codes` hold: one per block, when
    // no block holds a soft break (else the document is read).
    void Watch(QTextDocument *document, std::vector<quint8> &&codes);

    const SpinHistory &History() const { return m_history; }

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
    // Reads the document again when it changed unreported.
    void CheckInStep();
    bool InStep() const;
    // The model's first line for a block, counted from the nearer end of
    // the multi-line blocks: a long history loaded has many, and an edit is
    // most often made near its end.
    qint32 LineOfBlock(qint32 block) const;

    QPointer<QTextDocument> m_document;
    QMetaObject::Connection m_connection;
    SpinHistory &m_history;
    qint32 m_lines = 0; // lines the history holds from this document
    // Blocks that hold more than one line, by block number, with the count
    // of extra lines; sorted.
    std::vector<std::pair<qint32, qint32>> m_multiLine;
    qint32 m_extraLines = 0; // the extra lines of all of them
    int m_blocks = 0;
    int m_characters = 0;
    int m_rebuilds = 0;
    bool m_suspended = false;
};

} // namespace trevolo
