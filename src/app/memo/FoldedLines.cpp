#include "app/memo/FoldedLines.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <array>

namespace trevolo {

namespace {

constexpr int FoldedLineObject = QTextFormat::UserObject + 1;
constexpr int FoldedLineId = QTextFormat::UserProperty + 1;

// Visits the lines of `text` as (start, end) index pairs: the text cut at
// "\r", "\n", U+2028 and U+2029. Each break is looked for with Qt's own
// search, which is many times faster than a loop over the characters.
template <typename Visit>
void ForEachRun(QStringView text, Visit &&visit)
{
    static constexpr char16_t Breaks[] = {u'\n', u'\r', 0x2028, 0x2029};
    constexpr int Kinds = int(std::size(Breaks));
    const auto find = [&](int kind, qsizetype from) {
        const qsizetype found = text.indexOf(QChar(Breaks[kind]), from);
        return found < 0 ? text.size() : found;
    };
    std::array<qsizetype, Kinds> next{};
    for (int kind = 0; kind < Kinds; ++kind)
        next[kind] = find(kind, 0);
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = *std::min_element(next.begin(), next.end());
        visit(start, end);
        if (end == text.size())
            return;
        start = end + 1;
        for (int kind = 0; kind < Kinds; ++kind) {
            if (next[kind] < start)
                next[kind] = find(kind, start);
        }
    }
}

// The folded lines of one document, by the number their format carries.
// The format holds only the number: Qt hashes and compares formats, which
// for a line of megabytes would cost as much as the line.
class FoldedTexts : public QObject
{
public:
    struct Line
    {
        QString text;
        bool inert;
    };
    using QObject::QObject;
    QList<Line> lines;

    static FoldedTexts &Of(QTextDocument &document)
    {
        if (auto *found = Find(document))
            return *found;
        return *new FoldedTexts(&document);
    }
    static FoldedTexts *Find(const QTextDocument &document)
    {
        for (QObject *child : document.children()) {
            if (auto *texts = dynamic_cast<FoldedTexts *>(child))
                return texts;
        }
        return nullptr;
    }
};

bool IsInert(QStringView line)
{
    int marks = 0;
    for (const QChar c : line) {
        if (c != u' ' && c != u'0' && ++marks > 12)
            return true;
    }
    return false;
}

// The folded line a format stands for, if it stands for one.
const FoldedTexts::Line *LineOf(const QTextDocument &document, const QTextFormat &format)
{
    const FoldedTexts *texts = FoldedTexts::Find(document);
    const int id = format.intProperty(FoldedLineId);
    if (format.objectType() != FoldedLineObject || !texts || id < 0 || id >= texts->lines.size())
        return nullptr;
    return &texts->lines[id];
}

// The folded line whose object character stands at `position`. Read off
// the block's fragments: a cursor would ask the layout, which may be the
// one asking.
const FoldedTexts::Line *FoldedAt(const QTextDocument &document, int position)
{
    const QTextBlock block = document.findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.contains(position))
            return LineOf(document, fragment.charFormat());
    }
    return nullptr;
}

QString MarkOf(const QTextDocument &document, const QTextFormat &format)
{
    const FoldedTexts::Line *line = LineOf(document, format);
    return (line ? line->text.left(2) : QString()) + u'…';
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

void InsertFolding(QTextCursor &cursor, const QString &text, qsizetype from, qsizetype to)
{
    const QStringView piece = QStringView(text).sliced(from, to - from);
    if (piece.size() <= FoldedLineChars) {
        cursor.insertText(piece.toString());
        return;
    }
    // The text around a folded line takes the plain format, not the one
    // of the folded line before it.
    const QTextCharFormat plain;
    qsizetype done = 0;
    ForEachRun(piece, [&](qsizetype start, qsizetype end) {
        if (end - start <= FoldedLineChars)
            return;
        if (start > done)
            cursor.insertText(piece.sliced(done, start - done).toString(), plain);
        const QStringView line = piece.sliced(start, end - start);
        FoldedTexts &texts = FoldedTexts::Of(*cursor.document());
        texts.lines.append({line.size() == text.size() ? text : line.toString(), IsInert(line)});
        QTextCharFormat folded;
        folded.setObjectType(FoldedLineObject);
        folded.setProperty(FoldedLineId, int(texts.lines.size() - 1));
        cursor.insertText(QString(QChar::ObjectReplacementCharacter), folded);
        done = end;
    });
    if (done < piece.size())
        cursor.insertText(piece.sliced(done).toString(), plain);
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
    const FoldedTexts *texts = FoldedTexts::Find(document);
    return texts && !texts->lines.isEmpty();
}

qint64 FoldedCharacters(const QTextDocument &document)
{
    const FoldedTexts *texts = FoldedTexts::Find(document);
    qint64 characters = 0;
    if (texts) {
        for (const FoldedTexts::Line &line : texts->lines)
            characters += line.text.size();
    }
    return characters;
}

QString Unfold(const QTextDocument &document, QString text, int position)
{
    qsizetype object = text.indexOf(QChar::ObjectReplacementCharacter);
    if (object < 0)
        return text;
    QString unfolded;
    qsizetype done = 0;
    for (; object >= 0; object = text.indexOf(QChar::ObjectReplacementCharacter, object + 1)) {
        const FoldedTexts::Line *line = FoldedAt(document, position + int(object));
        if (!line)
            continue;
        unfolded += QStringView(text).sliced(done, object - done);
        unfolded += line->text;
        done = object + 1;
    }
    if (done == 0)
        return text;
    unfolded += QStringView(text).sliced(done);
    return unfolded;
}

bool HoldsInertFold(const QTextDocument &document, QStringView line, int position)
{
    for (qsizetype object = line.indexOf(QChar::ObjectReplacementCharacter); object >= 0;
         object = line.indexOf(QChar::ObjectReplacementCharacter, object + 1)) {
        const FoldedTexts::Line *folded = FoldedAt(document, position + int(object));
        if (folded && folded->inert)
            return true;
    }
    return false;
}

void FoldedLineView::Register(QTextDocument &document)
{
    document.documentLayout()->registerHandler(FoldedLineObject, this);
}

QSizeF FoldedLineView::intrinsicSize(QTextDocument *document, int, const QTextFormat &format)
{
    // As high as the text above its baseline, so the line keeps its height.
    const QFontMetricsF metrics(document->defaultFont());
    return {metrics.horizontalAdvance(MarkOf(*document, format)), metrics.ascent()};
}

void FoldedLineView::drawObject(QPainter *painter, const QRectF &rect, QTextDocument *document, int,
                                const QTextFormat &format)
{
    painter->save();
    painter->setFont(document->defaultFont());
    painter->setPen(QPalette().color(QPalette::Disabled, QPalette::Text));
    painter->drawText(rect.bottomLeft(), MarkOf(*document, format));
    painter->restore();
}

} // namespace trevolo
