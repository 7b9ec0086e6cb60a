#pragma once

#include <QPlainTextDocumentLayout>

namespace trevolo {

// The history memo's document layout: Qt's plain text layout without its
// bookkeeping of the widest line. When the widest line grows narrower, Qt
// measures every block of the document again, giving each one a layout of
// its own: taking back a digit typed on the widest line cost tens of
// milliseconds at a million lines, and seconds and gigabytes at twenty
// million empty ones. The memo wraps its lines and never scrolls sideways,
// so the widest line is of no use to it; the width is always the view's.
class MemoDocumentLayout : public QPlainTextDocumentLayout
{
    Q_OBJECT

public:
    explicit MemoDocumentLayout(QTextDocument *document);

    QRectF blockBoundingRect(const QTextBlock &block) const override;

protected:
    void documentChanged(int from, int removed, int added) override;

private:
    // Lays out one block at the view's width. `edit`: for a change of the
    // text, when a change of the document's size is reported at once;
    // else it is reported from the event loop (a view may be asking for
    // the block while it sizes itself).
    void LayOut(const QTextBlock &block, bool edit);
    void SizeChangedLater();

    int m_blocks = 1;
    bool m_sizeChangePending = false;
};

} // namespace trevolo
