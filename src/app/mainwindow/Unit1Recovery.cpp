// The recovery file: what the window shows, kept so that no spin is lost.
#include "app/mainwindow/Unit1.h"

#include "app/mainwindow/RecoveryTexts.h"
#include "app/memo/HistoryLoad.h"
#include "app/widgets/WindowBusy.h"
#include "common/InterruptedSave.h"

#include <QTimer>

#include <algorithm>
#include <cerrno>

namespace trevolo {

void TForm1::StartRecovery()
{
    RecoveryStore::Problem problem;
    m_recovery = RecoveryStore::Open(m_environment.stateFolder(), problem);
    if (!m_recovery) {
        m_environment.showError(this, ApplicationTitle(),
                                RecoveryWriteFailed(StateFolderReason(problem)));
        return;
    }
    ReportRecoveryTo(*m_recovery);
    // Tables opened before (none at a normal start) get files of their own.
    for (TablePage &page : m_pages)
        if (page.memo != listBox1)
            page.recovery = OpenTableRecovery();
    std::vector<LeftOverHistory> leftOvers = m_recovery->TakeLeftOvers();
    // The tables of a run come back together; the other files wait then.
    const bool restoredTables = OfferTables(leftOvers);
    for (LeftOverHistory &leftOver : leftOvers) {
        if (restoredTables)
            break;
        // Taken already, or one of the tables declined.
        if (!leftOver.lock)
            continue;
        // A termination signal while a question was open ends the asking.
        if (m_closingWithoutQuestions)
            break;
        const Answer answer =
            m_environment.askYesNo(this, ApplicationTitle(),
                                   QStringLiteral("Восстановить несохранённую последовательность?"),
                                   LeftOverDetails(leftOver));
        // The box gone without an answer: the file waits for a later start.
        if (answer == Answer::Cancel)
            continue;
        if (answer == Answer::No) {
            m_recovery->Discard(leftOver);
            continue;
        }
        // One history at a time: the others wait for a later start.
        if (Recover(leftOver))
            break;
    }
    // Files not taken are let go here, for a later start to offer.
    if (!m_closingWithoutQuestions)
        OfferInterruptedSaves();
}

void TForm1::ReportRecoveryTo(RecoveryStore &store)
{
    // Each write's outcome reaches the window on its own thread.
    store.SetReport([this](int error) {
        QMetaObject::invokeMethod(
            this, [this, error] { Guard([this, error] { RecoveryWritten(error); }); },
            Qt::QueuedConnection);
    });
}

std::unique_ptr<RecoveryStore> TForm1::OpenTableRecovery()
{
    const RecoveryStore *first = m_recovery.get();
    for (const TablePage &page : m_pages)
        if (!first && page.recovery)
            first = page.recovery.get();
    if (!first)
        return nullptr;
    RecoveryStore::Problem problem;
    std::unique_ptr<RecoveryStore> store = RecoveryStore::OpenBeside(*first, problem);
    if (store)
        ReportRecoveryTo(*store);
    else
        RecoveryWritten(problem.error ? problem.error : EIO);
    return store;
}

bool TForm1::OfferTables(std::vector<LeftOverHistory> &leftOvers)
{
    // The newest run that kept tables, and its files in the tables' order.
    QString run;
    for (const LeftOverHistory &leftOver : leftOvers)
        if (leftOver.tableOrder >= 0) {
            run = leftOver.run;
            break;
        }
    std::vector<LeftOverHistory *> tables;
    for (LeftOverHistory &leftOver : leftOvers)
        if (leftOver.tableOrder >= 0 && leftOver.run == run)
            tables.push_back(&leftOver);
    // One table's file is asked about as a history of its own.
    if (tables.size() < 2 || m_closingWithoutQuestions)
        return false;
    std::stable_sort(tables.begin(), tables.end(), [](const auto *a, const auto *b) {
        return a->tableOrder < b->tableOrder;
    });
    const Answer answer =
        m_environment.askYesNo(this, ApplicationTitle(),
                               QStringLiteral("Восстановить несохранённые столы?"),
                               TablesDetails(tables));
    if (answer == Answer::Cancel) {
        for (LeftOverHistory *table : tables)
            table->lock.reset(); // they wait for a later start
        return false;
    }
    if (answer == Answer::No) {
        for (LeftOverHistory *table : tables) {
            m_recovery->Discard(*table);
            table->lock.reset();
        }
        return false;
    }
    const int first = m_tables.CurrentIndex();
    bool restored = false;
    for (LeftOverHistory *table : tables) {
        // The first into the table shown (empty at start), each other one
        // into a table of its own.
        if (restored) {
            const int before = m_tables.Count();
            N31Click();
            if (m_tables.Count() == before)
                break;
        }
        const QString name = table->tableName;
        if (!Recover(*table))
            break;
        restored = true;
        m_tables.Rename(m_tables.CurrentIndex(), name);
    }
    SelectTable(first);
    RefreshTablesBar();
    LabelRecoveryFiles();
    return restored;
}

void TForm1::LabelRecoveryFiles()
{
    const bool several = m_tables.Count() >= 2;
    for (int i = 0; i < m_tables.Count(); ++i) {
        TablePage &page = m_pages[size_t(i)];
        const bool current = page.memo == listBox1;
        RecoveryStore *store = current ? m_recovery.get() : page.recovery.get();
        const auto &holds = current ? m_recoveryHolds : page.recoveryHolds;
        if (store && holds && store->SetTable(several ? i : -1, m_tables.At(i).name))
            store->Submit(page.memo->Snapshot());
    }
}

void TForm1::OfferInterruptedSaves()
{
    for (const InterruptedSave &save : FindInterruptedSaves(m_recovery->Folder())) {
        if (m_closingWithoutQuestions)
            break;
        const Answer answer = m_environment.askYesNo(
            this, ApplicationTitle(), InterruptedSaveQuestion(save.file), QString());
        if (answer == Answer::Cancel)
            continue;
        if (answer == Answer::No) {
            if (m_recovery->DiscardFile(save.copy))
                ForgetInterruptedSave(save);
            continue;
        }
        if (const int error = RestoreInterruptedSave(save, m_recovery->Folder()))
            m_environment.showError(this, ApplicationTitle(),
                                    InterruptedSaveNotRestored(save.file, error));
    }
}

bool TForm1::Recover(LeftOverHistory &leftOver)
{
    ReadHistory read;
    read.text = std::move(leftOver.text);
    read.codes.reserve(size_t(read.text.size() / 2 + 1));
    SpinHistoryModel::AppendCodes(read.text, read.codes);
    // What it replaces (at start nothing, unless typed meanwhile) is kept.
    KeepReplacedText(listBox1->Snapshot(), Replacement{QString(), QDateTime::currentDateTime()});
    bool shown = false;
    Guard([this, &read, &shown] {
        const WindowBusy busy(*this);
        shown = listBox1->Load(read, true);
    });
    if (!shown) {
        leftOver.text = std::move(read.text);
        return false;
    }
    m_recoveryHolds = MarkOf(read.text);
    FocusHistoryEnd();
    // The left-over becomes this run's file: it holds the text shown, so the
    // write the change asked for is not needed. Should that fail, the text is
    // written anew, and the left-over stays for a later start too.
    if (m_recovery && m_recovery->Adopt(leftOver))
        m_recoveryTimer->stop();
    return true;
}

void TForm1::ScheduleRecovery()
{
    if (m_recovery && !m_recoveryTimer->isActive())
        m_recoveryTimer->start();
}

void TForm1::SetSavedHistory(const HistoryMark &mark)
{
    m_savedHistory = mark;
    MarkCurrentUnsaved();
    ScheduleRecovery();
}

void TForm1::KeepForRecovery()
{
    m_recoveryTimer->stop();
    if (!m_recovery)
        return;
    // The copy of the text is at hand without a pass over the document;
    // converting and writing it is the store's own thread's work.
    QString history = listBox1->Snapshot();
    const HistoryMark mark = MarkOf(history);
    if (!SameMark(mark, m_savedHistory)) {
        m_recoveryHolds = mark;
        // With several tables the file says which one it is.
        m_recovery->SetTable(m_tables.Count() >= 2 ? m_tables.CurrentIndex() : -1,
                             m_tables.Current().name);
        m_recovery->Submit(std::move(history));
        return;
    }
    // Back at the saved text: the file goes, unless it holds a text that was
    // never saved and that Undo or Redo can still bring back.
    const bool reachable = listBox1->document()->isUndoAvailable() ||
                           listBox1->document()->isRedoAvailable() ||
                           listBox1->SetAsideCount() > 0;
    if (m_recoveryHolds && reachable && !SameMark(*m_recoveryHolds, m_savedHistory) &&
        !IsKeptReplaced(*m_recoveryHolds))
        return;
    m_recoveryHolds.reset();
    m_recovery->Remove();
}

bool TForm1::IsKeptReplaced(const HistoryMark &mark) const
{
    return std::any_of(m_keptReplaced.begin(), m_keptReplaced.end(),
                       [&](const HistoryMark &kept) { return SameMark(kept, mark); });
}

void TForm1::KeepReplacedText(const QString &replaced, const Replacement &by)
{
    if (!m_recovery || replaced.isEmpty())
        return;
    const HistoryMark mark = MarkOf(replaced);
    if (SameMark(mark, m_savedHistory) || IsKeptReplaced(mark))
        return;
    m_keptReplaced.push_back(mark);
    m_recovery->KeepReplaced(replaced, by);
}

void TForm1::RecoveryWritten(int error)
{
    if (error == 0) {
        if (m_recoveryFailing)
            statusBar1->clearMessage();
        m_recoveryFailing = false;
        return;
    }
    // Said once, and again only after a write succeeded in between.
    if (m_recoveryFailing)
        return;
    m_recoveryFailing = true;
    const QString message = RecoveryWriteFailed(StateFolderReason(error));
    statusBar1->showMessage(message);
    m_environment.showError(this, ApplicationTitle(), message);
}

void TForm1::CloseWithoutQuestions()
{
    m_closingWithoutQuestions = true;
    if (m_recoveryTimer->isActive())
        Guard([this] { KeepForRecovery(); });
}

} // namespace trevolo
