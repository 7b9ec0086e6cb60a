// The history commands: clear, append random spins, load, save, exit.
#include "app/mainwindow/Unit1.h"

#include "app/entrypad/EntryPadForm.h"
#include "app/memo/HistoryLoad.h"
#include "app/widgets/ChildWindow.h"
#include "app/widgets/WindowBusy.h"
#include "common/IntegerText.h"
#include "history/HistoryFile.h"

#include <QApplication>
#include <QCheckBox>

namespace trevolo {

namespace {

// Appends `count` spins from the source, one line each. Every line is one
// change of the memo, so the statistics pass runs once per spin, before the
// next one is appended; the caret ends after the newest line. Undo takes
// them back as one step.
void AppendSpins(THistoryMemo &memo, SpinSource &spins, int count)
{
    for (int i = 0; i < count; ++i)
        memo.AppendLine(IntToStr(spins.Draw()), i > 0);
}

} // namespace

void TForm1::ConnectHistoryCommands()
{
    // The popup items and their main-menu twins share one handler.
    OnClick(n1, &TForm1::N1Click);
    OnClick(n16, &TForm1::N1Click);
    OnClick(n51, &TForm1::N51Click);
    OnClick(n52, &TForm1::N51Click);
    OnClick(n101, &TForm1::N101Click);
    OnClick(n102, &TForm1::N101Click);
    OnClick(n251, &TForm1::N251Click);
    OnClick(n252, &TForm1::N251Click);
    OnClick(n501, &TForm1::N501Click);
    OnClick(n502, &TForm1::N501Click);
    OnClick(n5, &TForm1::N5Click);
    OnClick(n6, &TForm1::N6Click);
    OnClick(n9, &TForm1::N9Click);
    OnClick(n28, &TForm1::N28Click);
}

void TForm1::N1Click()
{
    // One step that Undo takes back. Emptying the memo raises no change, so
    // the pass is run here. An unsaved text it empties is kept for recovery.
    KeepReplacedText(listBox1->Snapshot(), Replacement{QString(), QDateTime::currentDateTime()});
    listBox1->ClearUndoably();
    MarkHistorySaved(QStringView());
    FocusHistoryEnd();
    Calc();
}

void TForm1::N51Click()
{
    AppendSpins(*listBox1, Spins(), 5);
}

void TForm1::N101Click()
{
    AppendSpins(*listBox1, Spins(), 10);
}

void TForm1::N251Click()
{
    AppendSpins(*listBox1, Spins(), 25);
}

void TForm1::N501Click()
{
    AppendSpins(*listBox1, Spins(), 50);
}

void TForm1::N5Click()
{
    if (const auto path = openDialog2->Execute(environment(), this))
        LoadHistoryFrom(*path);
    else
        Calc();
}

void TForm1::LoadHistoryFrom(const QString &path)
{
    enum class Outcome
    {
        Same,
        Loaded,
        Cancelled
    };
    ReadHistory read;
    QString replaced;
    const Outcome outcome = [&] {
        const WindowBusy busy(*this);
        // A failed read leaves here, with the history untouched.
        read = ReadHistoryBesideEvents(path);
        // The same text again is left alone: no change. A new one is one
        // change, whose notification runs the one pass. A cancelled load
        // changes nothing and ends as the same text does.
        if (listBox1->HoldsText(read.text))
            return Outcome::Same;
        replaced = listBox1->Snapshot();
        return listBox1->Load(read) ? Outcome::Loaded : Outcome::Cancelled;
    }();
    // The text the load replaced stays for recovery unless it was saved.
    if (outcome == Outcome::Loaded)
        KeepReplacedText(replaced, Replacement{path, QDateTime::currentDateTime()});
    replaced = QString();
    // The text read has its line breaks as the memo gives them back ("\n"
    // only), so it is what the memo now holds: its mark was taken as it was
    // read, and the memo's text is not copied again.
    if (outcome != Outcome::Cancelled) {
        SetSavedHistory({read.text.size(), read.hash});
        NameTableAfterFile(path);
    }
    FocusHistoryEnd();
    if (outcome != Outcome::Loaded)
        Calc();
}

void TForm1::N6Click()
{
    SaveHistory();
}

bool TForm1::SaveHistory()
{
    const auto path = saveDialog2->Execute(environment(), this);
    if (!path)
        return false;
    const QString history = listBox1->Text();
    // A failed write leaves the handler here, and the text counts as unsaved.
    // Its message names the copy of the old file that a failed rewrite in
    // place keeps in the state folder.
    SaveHistoryFile(*path, history, environment().stateFolder());
    MarkHistorySaved(history);
    m_tables.SetFilePath(m_tables.CurrentIndex(), *path);
    return true;
}

void TForm1::EnterSpin(int number)
{
    if (number < 0 || number > 36)
        return;
    listBox1->AppendLine(IntToStr(number));
}

void TForm1::N28Click()
{
    // Its key pressed in the pad closes it again: the pad, a tool window,
    // leaves the main window's keys working, so the key arrives here.
    if (m_entryPad && m_entryPad->isVisible() && QApplication::activeWindow() == m_entryPad) {
        CloseToParent(*m_entryPad);
        return;
    }
    OpenChildWindow(
        m_entryPad,
        [this] {
            auto *pad = new EntryPadForm(History(), environment(), this);
            pad->FollowHistory(History(), TitleTableName());
            AddHelpKeyTo(*pad, QStringLiteral("pad"));
            // "Вернуть" is there to press as long as the memo keeps what the
            // pad's last undo took: after each of the pad's steps and after
            // any other change, once the memo has settled it.
            const auto showRedo = [this, pad] {
                pad->SetRedoAvailable(listBox1->CanRedoLastSpin());
            };
            const auto guarded = [this, showRedo](void (THistoryMemo::*edit)()) {
                return [this, edit, showRedo] {
                    Guard([this, edit] { (listBox1->*edit)(); });
                    showRedo();
                };
            };
            connect(pad, &EntryPadForm::spinEntered, this,
                    [this](int number) { Guard([this, number] { EnterSpin(number); }); });
            connect(pad, &EntryPadForm::undoRequested, this, guarded(&THistoryMemo::UndoLastSpin));
            connect(pad, &EntryPadForm::redoRequested, this, guarded(&THistoryMemo::RedoLastSpin));
            connect(this, &TForm1::currentHistoryEdited, pad, showRedo);
            pad->SetStayOnTop(checkBox2->isChecked());
            PlaceChildWindow(*pad, *this, EntryPadForm::Placing(pad->sizeHint()));
            return pad;
        },
        {})
        .setFocus();
}

void TForm1::N9Click()
{
    // The main window: closing it ends the message loop and so the program.
    close();
}

} // namespace trevolo
