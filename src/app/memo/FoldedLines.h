#pragma once

// Lines too long to lay out at keystroke speed. Qt lays out and paints a
// text block as a whole, so a line of megabytes in the history memo would
// freeze the window at every repaint and keystroke. Such a line is folded:
// the document holds it as one object character (U+FFFC, which code page
// 1251 lacks, so no other text holds it) whose format carries the number of
// the line in the document's list of folded lines, and the memo shows a
// short mark in its place. Everything that reads
// the memo's text puts the folded lines back (Unfold).
#include <QObject>
#include <QString>
#include <QStringView>
#include <QTextObjectInterface>

class QTextCursor;
class QTextDocument;

namespace trevolo {

// A line longer than this many characters is folded.
constexpr qsizetype FoldedLineChars = 65536;

// True when some line of `text` (cut at "\r", "\n", U+2028 and U+2029) is
// longer than FoldedLineChars.
bool HasFoldableLine(QStringView text);

// Inserts text[from, to) at the cursor as QTextCursor::insertText does,
// each line longer than FoldedLineChars folded. A line that is the whole of
// `text` is kept without a copy.
void InsertFolding(QTextCursor &cursor, const QString &text, qsizetype from, qsizetype to);

// The document position that index `at` of `text`, inserted by
// InsertFolding at position 0, ends up at (a folded line counts as one).
qsizetype FoldedPosition(QStringView text, qsizetype at);

// False when the document surely holds no folded line (a quick look at its
// formats); true when it may.
bool MayHoldFoldedLines(const QTextDocument &document);

// The characters of every line folded into the document so far, each of
// which the document itself counts as one.
qint64 FoldedCharacters(const QTextDocument &document);

// `text`, a stretch of the document's raw text that starts at `position`,
// with every folded line in it put back.
QString Unfold(const QTextDocument &document, QString text, int position);

// True when `line` (raw text of the document from `position`) holds a
// folded line that no line holding it can be a number with: the integer
// rule allows at most a sign, a base mark and ten significant digits that
// are not blanks or zeros, and such a folded line has more. Such a line is
// read without putting the folded one back.
bool HoldsInertFold(const QTextDocument &document, QStringView line, int position);

// Draws the mark of a folded line: its first characters and "…", greyed.
// Registered with every document the memo shows (Register).
class FoldedLineView : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    using QObject::QObject;

    void Register(QTextDocument &document);

    QSizeF intrinsicSize(QTextDocument *document, int position, const QTextFormat &format) override;
    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *document, int position,
                    const QTextFormat &format) override;
};

} // namespace trevolo
