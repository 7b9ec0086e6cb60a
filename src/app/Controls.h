#pragma once

#include "app/DocumentSpins.h"
#include "app/Environment.h"
#include "app/FoldedLines.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSlider>
#include <QStatusBar>
#include <functional>
#include <memory>
#include <optional>

namespace trevolo {

// Gives a text box the tooltip background colour (pale yellow).
void SetTooltipBackground(QWidget *widget);

// Sets a label's caption as plain text and sizes the label the way the
// layout's labels size themselves: a label of fixed width keeps its geometry
// (a word-wrapped one grows in height when the text needs it), a
// right-aligned label keeps its right edge, any other keeps its top left
// corner and takes the size of its text.
void SetLabelCaption(QLabel &label, const QString &caption);

// Sets a read-only line edit's text, in a font made just small enough for the
// whole text to show (the window's own size at most), from its first
// character. The text is written only when it changes.
void SetFittingText(QLineEdit &edit, const QString &text);

// Makes a label's font bold or regular; the font is written only when that
// changes.
void SetLabelBold(QLabel &label, bool bold);

// Horizontal slider over an integer range with the rules the window relies
// on: a new minimum above the maximum, or a new maximum below the minimum, is
// ignored; a position is always clamped into the range; and valueChanged(int)
// fires at once, inside the operation, exactly when the position changes
// (also when a new limit moves it, and when the user drags the thumb).
// Use Min/Max/Position and their setters; QSlider's own range setters, which
// move the other limit instead of refusing, are hidden.
class TTrackBar : public QSlider
{
    Q_OBJECT

public:
    explicit TTrackBar(QWidget *parent = nullptr);

    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    int Position() const { return value(); }

    void SetMin(int value);
    void SetMax(int value);
    void SetPosition(int value);
    void SetFrequency(int ticks) { setTickInterval(ticks); }

    // The x coordinate, in this widget, of the tick drawn for a value.
    int TickX(int value) const;

    void setMinimum(int) = delete;
    void setMaximum(int) = delete;
    void setRange(int, int) = delete;
    void setValue(int) = delete;
};

// Drop-down list that cannot be edited. ItemIndex is 0..count-1, or -1 when
// nothing is selected; SetItemIndex with an index outside the items selects
// nothing. userChanged() fires only when the user picks an item, never when
// the program sets the selection.
class TComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit TComboBox(QWidget *parent = nullptr);

    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int index);

Q_SIGNALS:
    void userChanged();
};

// A 16 x 16 picture. A label that only ever shows a pixmap, kept as a kind
// of its own so that code walking the window's labels can leave it alone.
class TImage : public QLabel
{
    Q_OBJECT

public:
    explicit TImage(QWidget *parent = nullptr);

    QPixmap Picture() const { return pixmap(); }
    void SetPicture(const QPixmap &picture);
};

// The history memo: plain text, one spin per line. textChanged() fires once
// for every keystroke that changes the text and once for every programmatic
// insertion or replacement made through this class; ClearSilently fires none.
class THistoryMemo : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit THistoryMemo(QWidget *parent = nullptr);
    ~THistoryMemo() override;

    // The whole text, lines separated by "\n", every other character as it
    // stands (unlike toPlainText, which turns no-break spaces into blanks).
    QString Text() const;
    // The document's raw text (paragraph breaks as U+2029, soft ones as
    // U+2028), folded lines put back.
    QString RawText() const;
    // The length of Text(), without a copy when no line is folded.
    qsizetype TextLength() const;

    // True when the text is empty or its last character is a line break:
    // EndsWithLineBreak of Text(), read off the document without a copy.
    bool EndsWithLineBreak() const;

    // Inserts text at the end as one change and leaves the caret after it,
    // scrolled into view.
    void InsertAtEnd(const QString &text);

    // Appends one line by the history's append rule (TextToAppend): "line\n"
    // when the text is empty or ends with a line break, else "\nline", so a
    // text typed without a final break keeps ending without one. One change.
    void AppendLine(const QString &line);

    // Empties the memo without any change notification.
    void ClearSilently();

    // Replaces the whole text; exactly one change notification.
    void ReplaceText(const QString &text);

    // True when the memo holds exactly `text` (as Text() gives it); the
    // lengths are compared first.
    bool HoldsText(const QString &text) const;

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

    // Shows `document` (a plain text document, taken over) in place of the
    // current one as one change with one change notification; `codes` hold
    // its lines (SpinHistoryModel). The old document is let go on a worker
    // thread, so a long one costs the window nothing.
    void ReplaceDocument(QTextDocument *document, std::vector<quint8> &&codes);

    // The same as an edit that Undo takes back: the current document is set
    // aside with its own undo history, and Undo brings it back once the new
    // one has nothing left to undo (Redo then shows the new one again). The
    // caret goes to `cursorPosition` of the new document.
    void ReplaceDocumentUndoably(QTextDocument *document, std::vector<quint8> &&codes,
                                 int cursorPosition);

    // A paste or drop of text with at least SetLargeInsertBreaks line breaks
    // (10,000 unless set)
    // goes to `insert` (already held to code page 1251) instead of into the
    // document at the caret: Qt's own insertion of a long text freezes the
    // window for seconds (about 8 s for a million lines).
    void SetLargeInsert(std::function<void(const QString &)> insert);
    void SetLargeInsertBreaks(qsizetype lineBreaks) { m_largeInsertBreaks = lineBreaks; }

    // Undo and Redo (Ctrl+Z, Ctrl+Shift+Z, Ctrl+Y), the documents set aside
    // by ReplaceDocumentUndoably included.
    void Undo();
    void Redo();

    // The statistics model of the text, following every change of it.
    const SpinHistoryModel &Spins() { return m_spins->Model(); }
    DocumentSpins &SpinFeed() { return *m_spins; }

Q_SIGNALS:
    // The memo shows another document (ReplaceDocument), just before the
    // change notification of that replacement.
    void documentReplaced();

private:
    // A document set aside by ReplaceDocumentUndoably, with its lines and
    // where its caret and view were.
    struct SetAside
    {
        QTextDocument *document;
        std::vector<quint8> codes;
        int anchor;
        int position;
        int top;
        int width; // the width it was laid out at
    };
    std::unique_ptr<QPlainTextEdit> MakeLayoutTwin() const;
    // Shows `replacement` and returns the document shown before, no longer
    // owned by the memo.
    QTextDocument *Swap(QTextDocument *replacement, std::vector<quint8> &&codes);
    // Sets the current document aside on `into` and shows the last of `from`.
    void SwapBack(std::vector<SetAside> &from, std::vector<SetAside> &into);
    void Drop(std::vector<SetAside> &documents);
    // The shown document as it would be set aside.
    SetAside Shown();
    // The change notifications of a swap.
    void AnnounceSwap();
    // One Undo (own: QPlainTextEdit::undo) or Redo step.
    void Step(bool ownStep, void (QPlainTextEdit::*own)(), std::vector<SetAside> &from,
              std::vector<SetAside> &into);

    DocumentSpins *m_spins;
    FoldedLineView *m_foldedLines;
    // An editor set up as this memo and of its size, never on screen. Every
    // document the memo shows was laid out by it first, so it, not the memo,
    // is the view whose width the document's layout follows: Qt lays out
    // every block again when a document comes into its own view.
    std::unique_ptr<QPlainTextEdit> m_layoutKeeper;
    std::vector<SetAside> m_undoDocuments;
    std::vector<SetAside> m_redoDocuments;
    // Set while the memo's own undo or redo, or a swap, changes the text.
    bool m_undoing = false;
    qsizetype m_largeInsertBreaks = 10000;
    std::function<void(const QString &)> m_largeInsert;

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
};

// Status bar with one simple text and no size grip. The text sits in a label
// of its own, so menu status tips cannot wipe it.
class TStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit TStatusBar(QWidget *parent = nullptr);

    QString SimpleText() const;
    void SetSimpleText(const QString &text);

private:
    QLabel *m_text;
};

// A standard file dialog's settings, kept between uses: filters, default
// extension, the filter and the file name last chosen in it.
class TFileDialog : public QObject
{
    Q_OBJECT

public:
    enum class Kind
    {
        Open,
        Save
    };

    TFileDialog(Kind kind, QObject *parent = nullptr);

    Kind kind() const { return m_kind; }
    FileDialogOptions &Options() { return m_options; }
    const FileDialogOptions &Options() const { return m_options; }

    // Shows the dialog; on confirmation remembers the file name and filter
    // for the next time and returns the chosen path.
    std::optional<QString> Execute(Environment &environment, QWidget *parent);

private:
    Kind m_kind;
    FileDialogOptions m_options;
};

} // namespace trevolo
