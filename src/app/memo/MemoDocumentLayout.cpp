#include "app/memo/MemoDocumentLayout.h"

#include <QFontMetrics>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtMath>
#include <climits>

namespace trevolo {

MemoDocumentLayout::MemoDocumentLayout(QTextDocument *document) : QPlainTextDocumentLayout(document)
{}

QRectF MemoDocumentLayout::blockBoundingRect(const QTextBlock &block) const
{
    if (block.isValid() && block.layout()->lineCount() == 0)
        const_cast<MemoDocumentLayout *>(this)->LayOut(block, false);
    return QPlainTextDocumentLayout::blockBoundingRect(block);
}

void MemoDocumentLayout::LayOut(const QTextBlock &block, bool edit)
{
    // As Qt's own plain text layout does it, without the widest line.
    QTextDocument *text = document();
    const qreal margin = text->documentMargin();
    QTextLayout *layout = block.layout();
    const QTextOption option = text->defaultTextOption();
    layout->setTextOption(option);
    int extraMargin = 0;
    if (option.flags() & QTextOption::AddSpaceForLineAndParagraphSeparators)
        extraMargin = QFontMetrics(block.charFormat().font()).horizontalAdvance(QChar(0x21B5));
    // The view's width: the widest line is never set apart from it here.
    qreal available = frameBoundingRect(nullptr).width();
    if (available <= 0)
        available = qreal(INT_MAX);
    available -= 2 * margin + extraMargin;

    qreal height = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(available);
        line.setPosition(QPointF(margin, height));
        height += line.height();
        if (line.leading() < 0)
            height += qCeil(line.leading());
    }
    layout->endLayout();

    const int linesBefore = text->lineCount();
    const_cast<QTextBlock &>(block).setLineCount(block.isVisible() ? layout->lineCount() : 0);
    if (text->lineCount() != linesBefore) {
        if (edit)
            Q_EMIT documentSizeChanged(documentSize());
        else
            SizeChangedLater();
    }
}

void MemoDocumentLayout::SizeChangedLater()
{
    if (m_sizeChangePending)
        return;
    m_sizeChangePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_sizeChangePending = false;
            Q_EMIT documentSizeChanged(documentSize());
        },
        Qt::QueuedConnection);
}

void MemoDocumentLayout::documentChanged(int from, int removed, int added)
{
    // Qt's own handling of a change, with the blocks laid out above.
    QTextDocument *text = document();
    const int blocks = text->blockCount();
    const QTextBlock first = text->findBlock(from);
    const QTextBlock last = text->findBlock(qMax(0, from + removed + added - 1));
    bool visibilityChanged = false;

    if (first == last && blocks == m_blocks) {
        if (first.isValid() && first.length()) {
            const qreal before = blockBoundingRect(first).height();
            LayOut(first, true);
            if (blockBoundingRect(first).height() == before) {
                Q_EMIT updateBlock(first);
                return;
            }
        }
    } else {
        for (QTextBlock block = first; block.isValid(); block = block.next()) {
            block.clearLayout();
            if (block.isVisible() ? block.lineCount() == 0 : block.lineCount() > 0) {
                visibilityChanged = true;
                block.setLineCount(block.isVisible() ? 1 : 0);
            }
            if (block == last)
                break;
        }
    }

    if (blocks != m_blocks || visibilityChanged) {
        const int grown = blocks - m_blocks;
        m_blocks = blocks;
        Q_EMIT documentSizeChanged(documentSize());
        if (grown == 1 && last.blockNumber() == blocks - 1) {
            for (QTextBlock block = first;; block = block.next()) {
                Q_EMIT updateBlock(block);
                if (block == last)
                    break;
            }
            return;
        }
    }
    Q_EMIT update(QRectF(0., -text->documentMargin(), 1000000000., 1000000000.));
}

} // namespace trevolo
