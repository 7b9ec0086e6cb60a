#pragma once

#include "app/memo/DocumentDisposer.h"
#include "app/memo/DocumentSpins.h"
#include "app/memo/FoldedLines.h"
#include "app/memo/TextMirror.h"

#include <QList>
#include <QPlainTextEdit>
#include <memory>
#include <optional>
#include <vector>

namespace trevolo {

class Environment;
class SpinHistory;
struct MemoDocumentAccess;
struct ReadHistory;

// The history memo: plain text, one spin per line. Every write to the
// history goes through this class, and the spins of its text are kept in the
// SpinHistory it is given (edit by edit, through DocumentSpins), which raises
// `edited` for every change. historyEdited fires after every change of the
// text, whatever made it. textChanged() fires once for every keystroke that
// changes the text and once for every programmatic insertion or replacement
// made through this class; ClearSilently and ClearUndoably fire none.
class THistoryMemo : public QPlainTextEdit
{
    Q_OBJECT

public:
    // With an environment, a long paste or drop is built beside the events
    // with a progress view from it (see insertFromMimeData); without one,
    // Qt inserts every paste itself. `history` takes the text's spins and
    // must outlive the memo.
    explicit THistoryMemo(SpinHistory &history, QWidget *parent = nullptr,
                          Environment *environment = nullptr);
    ~THistoryMemo() override;

    // The whole text, lines separated by "\n", every other character as it
    // stands (unlike toPlainText, which turns no-break spaces into blanks).
    QString Text() const;
    // The document's raw text (paragraph breaks as U+2029, soft ones as
    // U+2028), folded lines put back.
    QString RawText() const;
    // The length of Text(), without a copy when no line is folded.
    qsizetype TextLength() const;
    // The same text as Text(), from the copy of the document's text that the
    // memo keeps (TextMirror): no pass over the document, so a long history
    // costs a moment here instead of tens of milliseconds. Folded lines are
    // put back.
    QString Snapshot();

    // True when the text is empty or its last character is a line break:
    // EndsWithLineBreak of Text(), read off the document without a copy.
    bool EndsWithLineBreak() const;

    // Inserts text at the end as one change and leaves the caret after it,
    // scrolled into view. Lines too long to lay out are folded. With
    // `joinPrevious`, Undo takes it back together with the change before.
    void InsertAtEnd(const QString &text, bool joinPrevious = false);

    // Appends one line by the history's append rule (TextToAppend): "line\n"
    // when the text is empty or ends with a line break, else "\nline", so a
    // text typed without a final break keeps ending without one. One change
    // (joined to the one before for Undo with `joinPrevious`).
    void AppendLine(const QString &line, bool joinPrevious = false);

    // Removes the last line that holds a spin together with the lines after
    // it (LastSpinCut) as one change, the caret at the end. Returns what was
    // removed, exactly (raw text, folded lines in full), for InsertAtEnd to
    // put back; nothing when no line holds a spin.
    std::optional<QString> TakeLastSpin();

    // The entry pad's "Отменить": TakeLastSpin, what it removed kept for
    // RedoLastSpin, which puts the latest of it back at the end
    // (InsertAtEnd) as long as nothing else has changed the history since.
    // One change each.
    void UndoLastSpin();
    void RedoLastSpin();
    bool CanRedoLastSpin() const { return !m_takenSpins.isEmpty(); }

    // The caret to the end of the text with the newest line in view, and the
    // keyboard focus here (in effect once the window is active), so a spin
    // can be typed at once. Changes no text.
    void FocusAtEnd();

    // Empties the memo without any change notification; nothing is left to
    // undo.
    void ClearSilently();

    // Empties the memo as one change that Undo takes back: the old document
    // is set aside as for a long paste. There is no textChanged (the caller
    // runs what follows a clearing); documentReplaced and historyEdited
    // fire. An empty memo is left as it is.
    void ClearUndoably();

    // Replaces the whole text; exactly one change notification.
    void ReplaceText(const QString &text);

    // True when the memo holds exactly `text` (as Text() gives it); the
    // lengths are compared first.
    bool HoldsText(const QString &text) const;

    // Shows the history read in place of the current text as one change with
    // one change notification, without freezing the window: the new
    // document is built beside the old one in pieces of about 30 ms, with the
    // events handled between pieces and the progress shown through the
    // environment. The old document is set aside as for a long paste, so
    // Undo brings it back. The caret goes to the start, or with `caretAtEnd`
    // to the end with the newest line in view. When the user cancels, the
    // memo is left exactly as it was and false is returned. Needs the
    // environment.
    bool Load(const ReadHistory &history, bool caretAtEnd = false);

    // A paste or drop of text with at least this many line breaks (10,000
    // unless set), or with a line too long to lay out, is built beside the
    // events as a load is (with the environment's progress view), shown in
    // place of the current document, and Undo brings the old one back:
    // Qt's own insertion of a long text freezes the window for seconds.
    void SetLargeInsertBreaks(qsizetype lineBreaks) { m_largeInsertBreaks = lineBreaks; }

    // A text loaded or pasted as above keeps a block of the document for
    // each of its newest lines, this many (10,000 unless set), where spins
    // are entered and taken back; the lines before them share their blocks,
    // a few to a block, with soft line breaks between them (Qt builds a
    // block in microseconds, a million in seconds). Lines, text and positions
    // are the same either way.
    void SetOwnBlockLines(qsizetype lines) { m_ownBlockLines = lines; }

    // Undo and Redo (Ctrl+Z, Ctrl+Shift+Z, Ctrl+Y), the documents set aside
    // by a long paste, a load or a clearing included. Setting a document
    // aside ends what Redo could bring back in it, as any edit does.
    void Undo();
    void Redo();

    // The documents set aside are kept while there are at most four for
    // Undo and their estimated memory (SetAsideBytes) stays within this
    // budget (256 MiB unless set); beyond either, the oldest go first. The
    // one Undo or Redo brings next always stays.
    void SetSetAsideBudget(qint64 bytes) { m_setAsideBudget = bytes; }
    // Documents kept for Undo and for Redo.
    int SetAsideCount() const { return int(m_undoDocuments.size() + m_redoDocuments.size()); }
    // What a document costs in memory, about: its text, and for every block
    // what Qt keeps beside it (about 130 bytes, measured).
    static qint64 SetAsideBytes(const QTextDocument &document);

    // Times the spins were read again from the whole text because a change
    // of it went unreported.
    int HistoryRebuilds() const { return m_spins->Rebuilds(); }
    const TextMirror &Mirror() const { return *m_mirror; }

Q_SIGNALS:
    // The memo shows another document, just before the change notification
    // of that replacement.
    void documentReplaced();
    // After every change of the text, ClearSilently's included: the one
    // signal every change raises, whatever made it.
    void historyEdited();

protected:
    // What is typed, composed or pasted (or dropped) enters as code page 1251
    // holds it: a character the code page lacks becomes "?", so the memo
    // shows what a saved history file will hold (LimitToCp1251).
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    // What is copied or dragged holds the folded lines in full.
    QMimeData *createMimeDataFromSelection() const override;
    void resizeEvent(QResizeEvent *event) override;
    // A triple click selects the line under it with its break, also where
    // older lines share a block (Qt's own would take the whole block).
    void mousePressEvent(QMouseEvent *event) override;

private:
    // Benchmarks measure the document swap on its own.
    friend struct MemoDocumentAccess;

    // A document set aside by ReplaceDocumentUndoably, with its lines, its
    // text when the mirror knew it, and where its caret and view were.
    struct SetAside
    {
        QTextDocument *document;
        std::vector<quint8> codes;
        std::optional<QString> text;
        int anchor;
        int position;
        int top;
        int width; // the width it was laid out at
    };

    // A new, empty document with the memo's layout and look, to be shown in
    // it later (ReplaceDocument).
    std::unique_ptr<QTextDocument> NewDocument() const;

    // From Start to Stop, `document` (a new plain text document, still
    // empty) is laid out at the memo's width as it grows, by an editor that
    // is never on screen. Shown in the memo afterwards, it then needs no
    // layout pass over every line, which for a long text would freeze the
    // window as long as building it did.
    void StartLayingOut(QTextDocument *document);
    void StopLayingOut();

    // A document of `text` built beside the events, in pieces of about
    // 30 ms, the progress counted against `lines`, blocks shared as
    // SetOwnBlockLines says. Null when the user cancels. HistoryLoad.cpp.
    std::unique_ptr<QTextDocument> BuildDocument(const QString &text, const QString &progressText,
                                                 qint64 lines);

    // Pastes `pasted` over the selection the way Load loads; the old
    // document is set aside for Undo. False when cancelled, with the memo as
    // it was. HistoryLoad.cpp.
    bool PasteBesideEvents(const QString &pasted);

    // Shows `document` (a plain text document, taken over) in place of the
    // current one as one change with one change notification; `codes` hold
    // its lines (SpinHistoryModel). The old document is let go to the
    // disposer's worker, so a long one costs the window nothing.
    void ReplaceDocument(QTextDocument *document, std::vector<quint8> &&codes);

    // The same as an edit that Undo takes back: the current document is set
    // aside with its own undo history (its redo steps end here), and Undo
    // brings it back once the new one has nothing left to undo (Redo then
    // shows the new one again). The caret goes to `cursorPosition` of the new
    // document, scrolled into view. `text` is the new document's text in the
    // mirror's form, when known. With `changed` false the change
    // notification (textChanged) is left out.
    void ReplaceDocumentUndoably(QTextDocument *document, std::vector<quint8> &&codes,
                                 int cursorPosition, std::optional<QString> text,
                                 bool changed = true);

    std::unique_ptr<QPlainTextEdit> MakeLayoutTwin() const;
    // Shows `replacement` and returns the document shown before, no longer
    // owned by the memo.
    QTextDocument *Swap(QTextDocument *replacement, std::vector<quint8> &&codes,
                        std::optional<QString> text);
    // Sets the current document aside on `into` and shows the last of `from`.
    void SwapBack(std::vector<SetAside> &from, std::vector<SetAside> &into);
    void Drop(std::vector<SetAside> &documents);
    // The shown document as it would be set aside.
    SetAside Shown();
    // The change notifications of a swap; textChanged only when `changed`.
    void AnnounceSwap(bool changed = true);
    // Keeps the documents set aside within their number and budget.
    void TrimSetAside();
    // One Undo (own: QPlainTextEdit::undo) or Redo step.
    void Step(bool ownStep, void (QPlainTextEdit::*own)(), std::vector<SetAside> &from,
              std::vector<SetAside> &into);
    // Follows the changes of the document shown now (historyEdited).
    void WatchDocument();

    Environment *m_environment;
    DocumentSpins *m_spins;
    // What UndoLastSpin removed, the latest last, exactly as it stood.
    QList<QString> m_takenSpins;
    bool m_spinStep = false; // an UndoLastSpin or RedoLastSpin runs
    TextMirror *m_mirror;
    FoldedLineView *m_foldedLines;
    // An editor set up as this memo and of its size, never on screen. Every
    // document the memo shows was laid out by it first, so it, not the memo,
    // is the view whose width the document's layout follows: Qt lays out
    // every block again when a document comes into its own view.
    std::unique_ptr<QPlainTextEdit> m_layoutKeeper;
    std::vector<SetAside> m_undoDocuments;
    std::vector<SetAside> m_redoDocuments;
    QMetaObject::Connection m_watch;
    // Set while the memo's own undo or redo, or a swap, changes the text.
    bool m_undoing = false;
    qsizetype m_largeInsertBreaks = 10000;
    qsizetype m_ownBlockLines = 10000;
    qint64 m_setAsideBudget = qint64(256) * 1024 * 1024;
    // Declared last, so it goes first after the destructor has handed it
    // every document set aside, and is joined then.
    DocumentDisposer m_disposer;
};

} // namespace trevolo
