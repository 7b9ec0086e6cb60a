#include "app/memo/HistoryMemo.h"

#include "analysis/Statistics.h"
#include "app/desktop/Guard.h"
#include "app/memo/MemoDocumentLayout.h"
#include "app/widgets/WindowBusy.h"
#include "common/Cp1251.h"
#include "history/HistoryText.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace trevolo {

THistoryMemo::THistoryMemo(SpinHistory &history, QWidget *parent, Environment *environment)
    : QPlainTextEdit(parent), m_environment(environment), m_spins(new DocumentSpins(history, this)),
      m_mirror(new TextMirror(this)), m_foldedLines(new FoldedLineView(this))
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Lines wrap at the edge, anywhere. In a column a few digits wide this
    // looks the same as wrapping at word boundaries, but the search for a
    // boundary makes laying out one long unbroken line quadratic: a loaded
    // line of a megabyte would freeze the window for minutes.
    setWordWrapMode(QTextOption::WrapAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab moves the focus on, as in the other text boxes; a tab character
    // would only spoil a line.
    setTabChangesFocus(true);

    // The first document is laid out by the keeper as well.
    m_layoutKeeper = MakeLayoutTwin();
    QTextDocument *first = NewDocument().release();
    first->setParent(this);
    StartLayingOut(first);
    StopLayingOut();
    setDocument(first);
    m_spins->Watch(first);
    m_mirror->Watch(first, QString());
    WatchDocument();

    // A fresh edit ends what Redo could bring back, as it does in Qt's own
    // undo history.
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_undoing)
            Drop(m_redoDocuments);
    });
    // Any other change (typing, a command, a spin entered, Undo) leaves
    // nothing for RedoLastSpin to put back where it belongs.
    connect(this, &THistoryMemo::historyEdited, this, [this] {
        if (!m_spinStep)
            m_takenSpins.clear();
    });
}

THistoryMemo::~THistoryMemo()
{
    Drop(m_undoDocuments);
    Drop(m_redoDocuments);
    // m_disposer, a member, then deletes what is left and is joined.
}

namespace {

// One line of the document as the backward walk meets it.
struct DocumentLine
{
    QStringView text; // valid during the visit only
    int start;        // document position of its first character
    int breakBefore;  // position of the line break before it; -1 for the first line
};

// Visits the lines of the document newest first until visit returns false,
// without a copy of the whole text. Lines are those of Text(): blocks, and
// soft line breaks (U+2028) inside a block, separate them; an empty last
// line (the text is empty or ends with a break) is no line.
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

// Where the last spin line begins, with what follows it, as the text to cut
// from there to the end: its start when the text ends with a line break, else
// the line break before it (so the shorter text also ends without one), or 0
// for the first line. Nothing when no line holds a spin.
std::optional<int> LastSpinCut(const QTextDocument &document, bool endsWithLineBreak)
{
    std::optional<int> cut;
    ForEachLineBackwards(document, [&](const DocumentLine &line) {
        if (SpinOfLine(line.text) < 0)
            return true;
        cut = endsWithLineBreak ? line.start : std::max(line.breakBefore, 0);
        return false;
    });
    return cut;
}

// Paragraph separators and soft line breaks (U+2028) as "\n".
QString WithLineFeeds(QString text)
{
    for (QChar &c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return text;
}

// Documents set aside for Undo at most; the oldest goes first.
constexpr size_t MaxSetAside = 4;

// The line breaks of `text` ("\r\n", a lone "\r", "\n"), counted up to
// `enough`.
qsizetype CountLineBreaks(QStringView text, qsizetype enough)
{
    qsizetype breaks = 0;
    for (qsizetype i = 0; i < text.size() && breaks < enough; ++i) {
        if (text[i] == u'\n' ||
            (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n')))
            ++breaks;
    }
    return breaks;
}

} // namespace

QString THistoryMemo::Text() const
{
    // toPlainText() would also turn no-break spaces into blanks, so a loaded
    // file would not be saved back byte for byte. Only the separators of
    // paragraphs and of soft lines (Shift+Enter) become line breaks.
    return WithLineFeeds(RawText());
}

QString THistoryMemo::RawText() const
{
    QString raw = document()->toRawText();
    if (!MayHoldFoldedLines(*document()))
        return raw;
    return Unfold(*document(), std::move(raw), 0);
}

QString THistoryMemo::Snapshot()
{
    QString text = m_mirror->Text();
    if (!MayHoldFoldedLines(*document()))
        return text;
    return Unfold(*document(), std::move(text), 0);
}

qsizetype THistoryMemo::TextLength() const
{
    if (!MayHoldFoldedLines(*document()))
        return document()->characterCount() - 1;
    return RawText().size();
}

bool THistoryMemo::EndsWithLineBreak() const
{
    // The document's last block is empty exactly when the text is empty or
    // ends with a paragraph break; a soft line break (Shift+Enter) as the last
    // character is a break as well, as Text() shows it. No copy of the text.
    const QTextDocument *text = document();
    if (text->lastBlock().length() <= 1)
        return true;
    return text->characterAt(text->characterCount() - 2) == QChar::LineSeparator;
}

void THistoryMemo::InsertAtEnd(const QString &text, bool joinPrevious)
{
    if (text.isEmpty())
        return;
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (joinPrevious)
        cursor.joinPreviousEditBlock();
    else
        cursor.beginEditBlock();
    InsertFolding(cursor, text, 0, text.size());
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

std::optional<QString> THistoryMemo::TakeLastSpin()
{
    const auto cut = LastSpinCut(*document(), EndsWithLineBreak());
    if (!cut)
        return std::nullopt;
    QTextCursor cursor(document());
    cursor.setPosition(*cut);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    // Block breaks come out as U+2029, which an insertion turns back into
    // block breaks; a folded line comes out in full, to be folded again.
    QString removed = Unfold(*document(), cursor.selectedText(), *cut);
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
    return removed;
}

void THistoryMemo::UndoLastSpin()
{
    const QScopedValueRollback<bool> own(m_spinStep, true);
    if (auto removed = TakeLastSpin())
        m_takenSpins.append(std::move(*removed));
}

void THistoryMemo::RedoLastSpin()
{
    if (m_takenSpins.isEmpty())
        return;
    const QString text = m_takenSpins.takeLast();
    const QScopedValueRollback<bool> own(m_spinStep, true);
    InsertAtEnd(text);
}

void THistoryMemo::AppendLine(const QString &line, bool joinPrevious)
{
    InsertAtEnd(TextToAppend(EndsWithLineBreak(), line), joinPrevious);
}

void THistoryMemo::FocusAtEnd()
{
    QTextCursor cursor = textCursor();
    cursor.movePosition(QTextCursor::End);
    setTextCursor(cursor);
    ensureCursorVisible();
    setFocus(Qt::OtherFocusReason);
}

void THistoryMemo::ClearSilently()
{
    // Qt reports the clearing of a document as two changes that do not add
    // up; the empty text's one line is known without them.
    {
        const QSignalBlocker blocker(this);
        Drop(m_undoDocuments);
        Drop(m_redoDocuments);
        m_spins->Suspend();
        clear();
        m_spins->Resume({SpinHistoryModel::EmptyLine});
        m_mirror->Watch(document(), QString());
    }
    Q_EMIT historyEdited();
}

void THistoryMemo::ClearUndoably()
{
    if (document()->isEmpty())
        return;
    std::unique_ptr<QTextDocument> empty = NewDocument();
    StartLayingOut(empty.get());
    StopLayingOut();
    ReplaceDocumentUndoably(empty.release(), {SpinHistoryModel::EmptyLine}, 0, QString(), false);
}

void THistoryMemo::ReplaceText(const QString &text)
{
    {
        // The lines are read off the text itself, which costs a fraction of
        // reading them back block by block from the document.
        std::vector<quint8> codes;
        codes.reserve(size_t(text.size() / 2 + 1));
        SpinHistoryModel::AppendCodes(text, codes);
        const QSignalBlocker blocker(this);
        Drop(m_undoDocuments);
        Drop(m_redoDocuments);
        m_spins->Suspend();
        // Not followed while the text goes in: it is known.
        m_mirror->Watch(document());
        const bool folding = HasFoldableLine(text);
        if (folding) {
            setPlainText(QString());
            document()->setUndoRedoEnabled(false);
            QTextCursor cursor(document());
            InsertFolding(cursor, text, 0, text.size());
            document()->setUndoRedoEnabled(true);
        } else {
            setPlainText(text);
        }
        m_spins->Resume(std::move(codes));
        if (!folding)
            m_mirror->Watch(document(), TextMirror::FormOf(text));
    }
    Q_EMIT historyEdited();
    Q_EMIT textChanged();
}

bool THistoryMemo::HoldsText(const QString &text) const
{
    return text.size() == TextLength() && text == Text();
}

std::unique_ptr<QPlainTextEdit> THistoryMemo::MakeLayoutTwin() const
{
    auto twin = std::make_unique<QPlainTextEdit>();
    twin->setAttribute(Qt::WA_DontShowOnScreen);
    twin->setFocusPolicy(Qt::NoFocus);
    twin->setFont(font());
    twin->setFrameStyle(frameStyle());
    twin->setLineWrapMode(lineWrapMode());
    twin->setWordWrapMode(wordWrapMode());
    twin->setVerticalScrollBarPolicy(verticalScrollBarPolicy());
    twin->setHorizontalScrollBarPolicy(horizontalScrollBarPolicy());
    twin->resize(size());
    twin->setAttribute(Qt::WA_QuitOnClose, false);
    twin->show();
    return twin;
}

std::unique_ptr<QTextDocument> THistoryMemo::NewDocument() const
{
    auto made = std::make_unique<QTextDocument>();
    made->setDocumentLayout(new MemoDocumentLayout(made.get()));
    made->setDefaultFont(document()->defaultFont());
    made->setDefaultTextOption(document()->defaultTextOption());
    made->setDocumentMargin(document()->documentMargin());
    return made;
}

void THistoryMemo::StartLayingOut(QTextDocument *document)
{
    m_foldedLines->Register(*document);
    // The keeper's text area as wide as the memo's, frames and bars aside.
    const int wider = viewport()->width() - m_layoutKeeper->viewport()->width();
    if (wider != 0)
        m_layoutKeeper->resize(m_layoutKeeper->width() + wider, height());
    m_layoutKeeper->setDocument(document);
}

void THistoryMemo::StopLayingOut()
{
    m_layoutKeeper->setDocument(nullptr);
}

void THistoryMemo::resizeEvent(QResizeEvent *event)
{
    if (event->oldSize().width() != event->size().width()) {
        // The document follows the keeper's width, so the keeper lays it out
        // again, once.
        StartLayingOut(document());
        StopLayingOut();
    }
    QPlainTextEdit::resizeEvent(event);
}

void THistoryMemo::mousePressEvent(QMouseEvent *event)
{
    QPlainTextEdit::mousePressEvent(event);
    // A press without Shift that leaves a block and its break selected is
    // the third click of a triple click.
    const QTextCursor selected = textCursor();
    const QTextBlock block = document()->findBlock(selected.selectionStart());
    const QString text = block.text();
    const int last = document()->characterCount() - 1;
    if ((event->modifiers() & Qt::ShiftModifier) || !text.contains(QChar::LineSeparator) ||
        selected.selectionStart() != block.position() ||
        selected.selectionEnd() != std::min(block.position() + block.length(), last))
        return;
    const int at = cursorForPosition(event->position().toPoint()).position() - block.position();
    const qsizetype start = at > 0 ? text.lastIndexOf(QChar::LineSeparator, at - 1) + 1 : 0;
    qsizetype end = text.indexOf(QChar::LineSeparator, at);
    end = end < 0 ? text.size() : end;
    QTextCursor line(document());
    line.setPosition(block.position() + int(start));
    line.setPosition(std::min(block.position() + int(end) + 1, last), QTextCursor::KeepAnchor);
    setTextCursor(line);
}

QTextDocument *THistoryMemo::Swap(QTextDocument *replacement, std::vector<quint8> &&codes,
                                  std::optional<QString> text)
{
    QTextDocument *old = document();
    const QSignalBlocker blocker(this);
    old->setParent(nullptr); // else it would be deleted here and now
    StopLayingOut();
    setDocument(replacement);
    replacement->setParent(this);
    replacement->setUndoRedoEnabled(true);
    m_spins->Watch(replacement, std::move(codes));
    m_mirror->Watch(replacement, std::move(text));
    WatchDocument();
    // The replacement was laid out by the keeper, not in this view, which so
    // learns of no change: the whole view is painted afresh, or it would
    // keep showing the old document's lines.
    viewport()->update();
    return old;
}

void THistoryMemo::WatchDocument()
{
    disconnect(m_watch);
    m_watch = connect(document(), &QTextDocument::contentsChange, this,
                      [this] { Q_EMIT historyEdited(); });
}

void THistoryMemo::ReplaceDocument(QTextDocument *replacement, std::vector<quint8> &&codes)
{
    Drop(m_undoDocuments);
    Drop(m_redoDocuments);
    m_disposer.Dispose(Swap(replacement, std::move(codes), std::nullopt));
    replacement->setModified(false);
    Q_EMIT documentReplaced();
    Q_EMIT historyEdited();
    Q_EMIT textChanged();
}

void THistoryMemo::ReplaceDocumentUndoably(QTextDocument *replacement, std::vector<quint8> &&codes,
                                           int cursorPosition, std::optional<QString> text,
                                           bool changed)
{
    SetAside current = Shown();
    Drop(m_redoDocuments);
    // As after any edit, what Redo could bring back in the old document is
    // gone: Redo after Undo shows the new document, not an older step.
    current.document->clearUndoRedoStacks(QTextDocument::RedoStack);
    current.document = Swap(replacement, std::move(codes), std::move(text));
    m_undoDocuments.push_back(std::move(current));
    TrimSetAside();
    QTextCursor moved(replacement);
    moved.setPosition(std::clamp(cursorPosition, 0, replacement->characterCount() - 1));
    setTextCursor(moved);
    ensureCursorVisible();
    AnnounceSwap(changed);
}

qint64 THistoryMemo::SetAsideBytes(const QTextDocument &document)
{
    constexpr qint64 PerBlock = 130;
    return 2 * (qint64(document.characterCount()) + FoldedCharacters(document)) +
           PerBlock * document.blockCount();
}

void THistoryMemo::TrimSetAside()
{
    qint64 total = 0;
    for (const auto *documents : {&m_undoDocuments, &m_redoDocuments}) {
        for (const SetAside &aside : *documents)
            total += SetAsideBytes(*aside.document);
    }
    // From the far end of each: the oldest for Undo, the last for Redo.
    const auto dropFarthest = [&](std::vector<SetAside> &documents) {
        total -= SetAsideBytes(*documents.front().document);
        m_disposer.Dispose(documents.front().document);
        documents.erase(documents.begin());
    };
    while (m_undoDocuments.size() > MaxSetAside ||
           (total > m_setAsideBudget && m_undoDocuments.size() > 1))
        dropFarthest(m_undoDocuments);
    while (total > m_setAsideBudget && m_redoDocuments.size() > 1)
        dropFarthest(m_redoDocuments);
}

void THistoryMemo::SwapBack(std::vector<SetAside> &from, std::vector<SetAside> &into)
{
    SetAside shown = std::move(from.back());
    from.pop_back();
    if (shown.width != viewport()->width()) {
        // Laid out at a width the memo no longer has.
        StartLayingOut(shown.document);
        StopLayingOut();
    }
    SetAside current = Shown();
    current.document = Swap(shown.document, std::move(shown.codes), std::move(shown.text));
    into.push_back(std::move(current));
    TrimSetAside();
    QTextCursor restored(shown.document);
    restored.setPosition(shown.anchor);
    restored.setPosition(shown.position, QTextCursor::KeepAnchor);
    setTextCursor(restored);
    // Scrolling moves the pixels on the screen, which are the old document's:
    // painted afresh as a whole once more.
    verticalScrollBar()->setValue(shown.top);
    viewport()->update();
    AnnounceSwap();
}

THistoryMemo::SetAside THistoryMemo::Shown()
{
    const QTextCursor caret = textCursor();
    const std::span<const quint8> codes = m_spins->History().Codes();
    return {document(),         std::vector<quint8>(codes.begin(), codes.end()),
            m_mirror->Known(),  caret.anchor(),
            caret.position(),   verticalScrollBar()->value(),
            viewport()->width()};
}

void THistoryMemo::AnnounceSwap(bool changed)
{
    // Neither signal ends what Redo could bring back.
    m_undoing = true;
    Q_EMIT documentReplaced();
    Q_EMIT historyEdited();
    if (changed)
        Q_EMIT textChanged();
    m_undoing = false;
}

void THistoryMemo::Drop(std::vector<SetAside> &documents)
{
    for (SetAside &aside : documents)
        m_disposer.Dispose(aside.document);
    documents.clear();
}

void THistoryMemo::Undo()
{
    Step(document()->isUndoAvailable(), &QPlainTextEdit::undo, m_undoDocuments, m_redoDocuments);
}

void THistoryMemo::Redo()
{
    Step(document()->isRedoAvailable(), &QPlainTextEdit::redo, m_redoDocuments, m_undoDocuments);
}

void THistoryMemo::Step(bool ownStep, void (QPlainTextEdit::*own)(), std::vector<SetAside> &from,
                        std::vector<SetAside> &into)
{
    // The document's own history first, then the documents set aside.
    if (ownStep || from.empty()) {
        m_undoing = true;
        (this->*own)();
        m_undoing = false;
        return;
    }
    SwapBack(from, into);
}

void THistoryMemo::keyPressEvent(QKeyEvent *event)
{
    if (!isReadOnly() &&
        (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo))) {
        if (event->matches(QKeySequence::Undo))
            Undo();
        else
            Redo();
        event->accept();
        return;
    }
    const QString held = LimitToCp1251(event->text());
    if (held == event->text()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent limited(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                      event->nativeVirtualKey(), event->nativeModifiers(), held,
                      event->isAutoRepeat(), quint16(event->count()), event->device());
    QPlainTextEdit::keyPressEvent(&limited);
    event->setAccepted(limited.isAccepted());
}

void THistoryMemo::inputMethodEvent(QInputMethodEvent *event)
{
    // The text being composed only shows until it is committed.
    const QString held = LimitToCp1251(event->commitString());
    if (held == event->commitString()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent limited(event->preeditString(), event->attributes());
    limited.setCommitString(held, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&limited);
    event->setAccepted(limited.isAccepted());
}

void THistoryMemo::insertFromMimeData(const QMimeData *source)
{
    // A plain-text box takes only the text of what is pasted or dropped,
    // whatever other formats the data offers or does not offer. The data is
    // asked for its text once and not looked at again: what another program
    // hands over may arrive in parts, and go, while it arrives.
    const QString text = source ? LimitToCp1251(source->text()) : QString();
    if (text.isEmpty())
        return;
    if (m_environment && (CountLineBreaks(text, m_largeInsertBreaks) >= m_largeInsertBreaks ||
                          HasFoldableLine(text))) {
        RunGuarded(*m_environment, window(), [this, &text] {
            std::optional<WindowBusy> busy;
            if (auto *mainWindow = qobject_cast<QMainWindow *>(window()))
                busy.emplace(*mainWindow);
            PasteBesideEvents(text);
        });
        return;
    }
    QMimeData limited;
    limited.setText(text);
    QPlainTextEdit::insertFromMimeData(&limited);
}

QMimeData *THistoryMemo::createMimeDataFromSelection() const
{
    if (!MayHoldFoldedLines(*document()))
        return QPlainTextEdit::createMimeDataFromSelection();
    // As Qt's own plain text of a selection, folded lines put back.
    const QTextCursor selection = textCursor();
    QString text =
        WithLineFeeds(Unfold(*document(), selection.selectedText(), selection.selectionStart()));
    text.replace(QChar::Nbsp, u' ');
    auto *data = new QMimeData;
    data->setText(text);
    return data;
}

} // namespace trevolo
