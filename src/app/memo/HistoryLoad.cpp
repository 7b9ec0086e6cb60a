// Long texts into the history memo beside the events: a load, a long paste.
#include "app/memo/HistoryLoad.h"

#include "app/desktop/Environment.h"
#include "app/memo/FoldedLines.h"
#include "app/memo/HistoryMemo.h"
#include "history/HistoryFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScopeGuard>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>
#include <algorithm>
#include <exception>
#include <memory>

namespace trevolo {

namespace {

// A piece of the document takes about this long to build.
constexpr qint64 PieceNanoseconds = 30'000'000;
constexpr qsizetype FirstPieceLines = 2000;

// Qt spends some microseconds on every block of a document it builds, which
// for a million lines is seconds. The older lines of a long text share their
// blocks, this many to a block, separated by soft line breaks (U+2028),
// which the memo reads as line breaks wherever it reads the text: the same
// text, lines and positions in a sixteenth of the blocks.
constexpr int LinesPerSharedBlock = 16;

// `text` as the document is built from it: line feeds before the newest
// `ownBlockLines` lines turned into soft line breaks, but every
// LinesPerSharedBlock-th. Nothing else changes, so every index of `text` is
// the same position of the document as before. A "\r\n" stays a paragraph
// break, as every other break that is not a line feed does.
QString ShareOlderBlocks(const QString &text, qsizetype ownBlockLines)
{
    qsizetype newest = text.size();
    for (qsizetype left = ownBlockLines; left > 0; --left) {
        newest = newest > 0 ? text.lastIndexOf(u'\n', newest - 1) : -1;
        if (newest < 0)
            return text;
    }
    QString shared = text;
    QChar *c = shared.data();
    int lines = 0;
    for (qsizetype i = 0; i < newest; ++i) {
        switch (c[i].unicode()) {
        case u'\n':
            if (i > 0 && c[i - 1] == u'\r')
                lines = 0;
            else if (++lines < LinesPerSharedBlock)
                c[i] = QChar::LineSeparator;
            else
                lines = 0;
            break;
        case u'\r':
        case QChar::ParagraphSeparator:
        case 0xFDD0: // the frame marks, which an insertion takes as breaks
        case 0xFDD1:
            lines = 0;
            break;
        case QChar::LineSeparator:
            ++lines;
            break;
        default:
            break;
        }
    }
    return shared;
}

} // namespace

ReadHistory ReadHistoryBesideEvents(const QString &path)
{
    ReadHistory read;
    std::exception_ptr failure;
    QEventLoop loop;
    std::unique_ptr<QThread> reader(QThread::create([&] {
        try {
            read.text = LoadHistoryFile(path);
            read.codes.reserve(size_t(read.text.size() / 2 + 1));
            SpinHistoryModel::AppendCodes(read.text, read.codes);
            read.hash = qHash(read.text);
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    QObject::connect(reader.get(), &QThread::finished, &loop, &QEventLoop::quit);
    reader->start();
    // User input is shut out by the caller; only what the window must do
    // to stay alive is handled here.
    loop.exec();
    reader->wait();
    if (failure)
        std::rethrow_exception(failure);
    return read;
}

std::unique_ptr<QTextDocument>
THistoryMemo::BuildDocument(const QString &text, const QString &progressText, qint64 lines)
{
    const std::unique_ptr<ProgressView> progress =
        m_environment->showProgress(window(), progressText);
    progress->setPercent(0);

    std::unique_ptr<QTextDocument> document = NewDocument();
    document->setUndoRedoEnabled(false);

    StartLayingOut(document.get());
    const auto stop = qScopeGuard([this] { StopLayingOut(); });

    const QString shared = ShareOlderBlocks(text, m_ownBlockLines);
    const qsizetype total = text.size();
    QTextCursor cursor(document.get());
    qsizetype pieceLines = FirstPieceLines;
    qint64 linesDone = 0;
    for (qsizetype at = 0; at < total;) {
        // A piece ends after a line break. A line is never cut: a piece
        // that adds no block has its block laid out at once, so a long line
        // added in parts would be laid out again and again.
        qsizetype end = at;
        qsizetype breaks = 0;
        while (breaks < pieceLines && end < total) {
            const qsizetype found = text.indexOf(u'\n', end);
            if (found < 0) {
                end = total;
                break;
            }
            end = found + 1;
            ++breaks;
        }
        QElapsedTimer timer;
        timer.start();
        InsertFolding(cursor, shared, at, end);
        linesDone += breaks;
        at = end;

        // Aim the next piece at the time a piece should take.
        const qint64 spent = std::max<qint64>(timer.nsecsElapsed(), 1);
        pieceLines = qsizetype(
            std::clamp<qint64>(pieceLines * PieceNanoseconds / spent, 200, qint64(pieceLines) * 4));
        progress->setPercent(
            int(std::min(linesDone * 100 / std::max<qint64>(lines, 1), qint64(100))));
        QApplication::processEvents();
        if (progress->cancelled())
            return nullptr;
    }
    progress->setPercent(100);
    return document;
}

bool THistoryMemo::Load(const ReadHistory &history, bool caretAtEnd)
{
    std::unique_ptr<QTextDocument> document = BuildDocument(
        history.text, QStringLiteral("Загрузка истории..."), qint64(history.codes.size()));
    if (!document)
        return false;
    std::vector<quint8> codes = history.codes;
    const int caret = caretAtEnd ? document->characterCount() - 1 : 0;
    std::optional<QString> text;
    if (!MayHoldFoldedLines(*document))
        text = TextMirror::FormOf(history.text);
    ReplaceDocumentUndoably(document.release(), std::move(codes), caret, std::move(text));
    return true;
}

bool THistoryMemo::PasteBesideEvents(const QString &pasted)
{
    // The text as the paste leaves it. Paragraph breaks become "\n", which
    // the document takes the same way; soft breaks (U+2028) stay as they are.
    const QTextCursor caret = textCursor();
    const QTextDocument &shown = *document();
    const QString raw = shown.toRawText();
    const int start = caret.selectionStart();
    const int end = caret.selectionEnd();
    QString text = Unfold(shown, raw.first(start), 0);
    const qsizetype pastedAt = text.size();
    text += pasted;
    const qsizetype pastedEnd = text.size();
    text += Unfold(shown, raw.sliced(end), end);
    const auto toLineFeed = [](QChar &c) {
        if (c == QChar::ParagraphSeparator)
            c = u'\n';
    };
    std::for_each(text.begin(), text.begin() + pastedAt, toLineFeed);
    std::for_each(text.begin() + pastedEnd, text.end(), toLineFeed);
    // A lone "\r" at the end of the paste is a break of its own, not the
    // first half of one with the break after it.
    if (pasted.endsWith(u'\r'))
        text[pastedEnd - 1] = u'\n';

    // Its lines at once: a pass over the text costs about 9 ms a million lines.
    std::vector<quint8> codes;
    SpinHistoryModel::AppendCodes(text, codes);
    std::unique_ptr<QTextDocument> built =
        BuildDocument(text, QStringLiteral("Вставка текста..."), qint64(codes.size()));
    if (!built)
        return false;
    const int caretAfter = int(FoldedPosition(text, pastedEnd));
    std::optional<QString> mirrored;
    if (!MayHoldFoldedLines(*built))
        mirrored = TextMirror::FormOf(std::move(text));
    ReplaceDocumentUndoably(built.release(), std::move(codes), caretAfter, std::move(mirrored));
    return true;
}

} // namespace trevolo
