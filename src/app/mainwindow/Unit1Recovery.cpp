// The recovery file: what the window shows, kept so that no spin is lost.
#include "app/mainwindow/Unit1.h"

#include "app/mainwindow/RecoveryTexts.h"

#include "app/memo/HistoryLoad.h"
#include "app/widgets/WindowBusy.h"

#include <QTimer>

namespace trevolo {

void TForm1::StartRecovery()
{
    QString problem;
    m_recovery = RecoveryStore::Open(m_environment.stateFolder(), problem);
    if (!m_recovery) {
        m_environment.showError(this, ApplicationTitle(), problem);
        return;
    }
    std::vector<LeftOverHistory> leftOvers = m_recovery->TakeLeftOvers();
    for (LeftOverHistory &leftOver : leftOvers) {
        // A termination signal while a question was open ends the asking.
        if (m_closingWithoutQuestions)
            break;
        const Answer answer =
            m_environment.askYesNo(this, ApplicationTitle(),
                                   QStringLiteral("Восстановить несохранённую последовательность?"),
                                   RecoveryDetails(leftOver.lines, leftOver.modified));
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
}

bool TForm1::Recover(LeftOverHistory &leftOver)
{
    ReadHistory read;
    read.text = std::move(leftOver.text);
    read.codes.reserve(size_t(read.text.size() / 2 + 1));
    SpinHistoryModel::AppendCodes(read.text, read.codes);
    bool shown = false;
    Guard([this, &read, &shown] {
        const WindowBusy busy(*this);
        shown = listBox1->Load(read, true);
    });
    if (!shown) {
        leftOver.text = std::move(read.text);
        return false;
    }
    // The left-over becomes this run's file: it holds the text shown, so the
    // write the change asked for is not needed. Should that fail, the text is
    // written anew, and the left-over stays for a later start too.
    if (m_recovery->Adopt(leftOver))
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
    if (history.size() == m_savedHistory.length && MarkOf(history).hash == m_savedHistory.hash)
        m_recovery->Remove();
    else
        m_recovery->Submit(std::move(history));
}

void TForm1::CloseWithoutQuestions()
{
    m_closingWithoutQuestions = true;
    if (m_recoveryTimer->isActive())
        Guard([this] { KeepForRecovery(); });
}

} // namespace trevolo
