#pragma once

// The end of the history memo's document, read line by line from the last
// line backwards, without a copy of the whole text: what the entry pad needs
// to show the latest spins and to take the last one back, at a cost that
// does not grow with the length of the history.
#include "app/memo/FoldedLines.h"

#include <QList>
#include <QStringView>
#include <QTextBlock>
#include <QTextDocument>
#include <optional>

namespace trevolo {

// One line of the document as the backward walk meets it.
struct DocumentLine
{
    QStringView text; // valid during the visit only
    int start;        // document position of its first character
    int breakBefore;  // position of the line break before it; -1 for the first line
};

// Visits the lines of the document newest first until visit returns false.
// Lines are those of THistoryMemo::Text(): blocks, and soft line breaks
// (U+2028) inside a block, separate them; an empty last line (the text is
// empty or ends with a break) is no line. A cursor turns CR and LF into block
// breaks, so no block holds either.
template <typename Visit>
void ForEachLineBackwards(const QTextDocument &document, Visit &&visit)
{
    bool atEnd = true;
    for (QTextBlock block = document.lastBlock(); block.isValid(); block = block.previous()) {
        const QString text = block.text();
        const int position = block.position();
        qsizetype end = text.size();
        for (;;) {
            const qsizetype separator =
                end > 0 ? text.lastIndexOf(QChar::LineSeparator, end - 1) : qsizetype(-1);
            const qsizetype start = separator + 1;
            if (!atEnd || start != end) {
                QStringView piece = QStringView(text).sliced(start, end - start);
                QString unfolded; // a folded line put back
                if (piece.contains(QChar::ObjectReplacementCharacter) &&
                    !HoldsInertFold(document, piece, position + int(start))) {
                    unfolded = Unfold(document, piece.toString(), position + int(start));
                    piece = unfolded;
                }
                const DocumentLine line{piece, position + int(start), position + int(start) - 1};
                if (!visit(line))
                    return;
            }
            atEnd = false;
            if (separator < 0)
                break;
            end = separator;
        }
    }
}

// The wheel numbers of the last `count` lines that hold a spin, newest first.
QList<int> LastSpins(const QTextDocument &document, int count);

// Where the last spin line begins, with what follows it, as the text to cut
// from there to the end: its start when the text ends with a line break, else
// the line break before it (so the shorter text also ends without one), or 0
// for the first line. Nothing when no line holds a spin.
std::optional<int> LastSpinCut(const QTextDocument &document, bool endsWithLineBreak);

} // namespace trevolo
