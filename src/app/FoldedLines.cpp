#include "app/FoldedLines.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace trevolo {

namespace {

constexpr int FoldedLineObject = QTextFormat::UserObject + 1;
constexpr int FoldedLineText = QTextFormat::UserProperty + 1;

bool IsBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// Visits the lines of `text` as (start, end) index pairs.
template <typename Visit>
void ForEachRun(QStringView text, Visit &&visit)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (IsBreak(text[i])) {
            visit(start, i);
            start = i + 1;
        }
    }
    visit(start, text.size());
}

QString MarkOf(const QTextFormat &format)
{
    return format.stringProperty(FoldedLineText).left(3) + u'…';
}

} // namespace

bool HasFoldableLine(QStringView text)
{
    if (text.size() <= FoldedLineChars)
        return false;
    bool found = false;
    ForEachRun(text, [&](qsizetype start, qsizetype end) {
        found = found || end - start > FoldedLineChars;
    });
    return found;
}

void InsertFolding(QTextCursor &cursor, QStringView text)
{
    if (!HasFoldableLine(text)) {
        cursor.insertText(text.toString());
        return;
    }
    // The text around a folded line takes the plain format, not the one
    // of the folded line before it.
    const QTextCharFormat plain;
    qsizetype done = 0;
    ForEachRun(text, [&](qsizetype start, qsizetype end) {
        if (end - start <= FoldedLineChars)
            return;
        if (start > done)
            cursor.insertText(text.sliced(done, start - done).toString(), plain);
        QTextCharFormat folded;
        folded.setObjectType(FoldedLineObject);
        folded.setProperty(FoldedLineText, text.sliced(start, end - start).toString());
        cursor.insertText(QString(QChar::ObjectReplacementCharacter), folded);
        done = end;
    });
    if (done < text.size())
        cursor.insertText(text.sliced(done).toString(), plain);
}

qsizetype FoldedPosition(QStringView text, qsizetype at)
{
    qsizetype position = at - text.first(at).count(u"\r\n");
    ForEachRun(text, [&](qsizetype start, qsizetype end) {
        if (end - start > FoldedLineChars && start < at)
            position -= std::min(at, end) - start - (at >= end ? 1 : 0);
    });
    return position;
}

bool MayHoldFoldedLines(const QTextDocument &document)
{
    for (const QTextFormat &format : document.allFormats()) {
        if (format.objectType() == FoldedLineObject)
            return true;
    }
    return false;
}

QString Unfold(const QTextDocument &document, QString text, int position)
{
    qsizetype object = text.indexOf(QChar::ObjectReplacementCharacter);
    if (object < 0)
        return text;
    QString unfolded;
    qsizetype done = 0;
    QTextCursor cursor(const_cast<QTextDocument *>(&document));
    for (; object >= 0; object = text.indexOf(QChar::ObjectReplacementCharacter, object + 1)) {
        // The format of the character just before the cursor.
        cursor.setPosition(position + int(object) + 1);
        const QTextCharFormat format = cursor.charFormat();
        if (format.objectType() != FoldedLineObject)
            continue;
        unfolded += QStringView(text).sliced(done, object - done);
        unfolded += format.stringProperty(FoldedLineText);
        done = object + 1;
    }
    unfolded += QStringView(text).sliced(done);
    return unfolded;
}

void FoldedLineView::Register(QTextDocument &document)
{
    document.documentLayout()->registerHandler(FoldedLineObject, this);
}

QSizeF FoldedLineView::intrinsicSize(QTextDocument *document, int, const QTextFormat &format)
{
    // As high as the text above its baseline, so the line keeps its height.
    const QFontMetricsF metrics(document->defaultFont());
    return {metrics.horizontalAdvance(MarkOf(format)), metrics.ascent()};
}

void FoldedLineView::drawObject(QPainter *painter, const QRectF &rect, QTextDocument *document, int,
                                const QTextFormat &format)
{
    painter->save();
    painter->setFont(document->defaultFont());
    painter->setPen(QPalette().color(QPalette::Disabled, QPalette::Text));
    painter->drawText(rect.bottomLeft(), MarkOf(format));
    painter->restore();
}

} // namespace trevolo
