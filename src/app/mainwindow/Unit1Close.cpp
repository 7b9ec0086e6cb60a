// Closing the window: the question about an unsaved history.
#include "app/mainwindow/Unit1.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHash>
#include <QTimer>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

namespace trevolo {

TForm1::HistoryMark TForm1::MarkOf(QStringView history)
{
    return {history.size(), qHash(history)};
}

bool TForm1::MayClose()
{
    // The length is known without a copy of the text; the hash, which needs
    // one, is taken only when a length matches, and at most once.
    const qsizetype length = listBox1->TextLength();
    std::optional<size_t> hash;
    const auto unchangedSince = [&](const HistoryMark &mark) {
        if (mark.length != length)
            return false;
        if (!hash)
            hash = MarkOf(listBox1->Text()).hash;
        return *hash == mark.hash;
    };
    if (unchangedSince(m_savedHistory) || (m_declinedHistory && unchangedSince(*m_declinedHistory)))
        return true;

    switch (m_environment.askYesNoCancel(this, ApplicationTitle(),
                                         QStringLiteral("Сохранить последовательность?"))) {
    case Answer::Yes: {
        // A cancelled dialog or a failed write (its error is shown) keeps
        // the window open.
        bool saved = false;
        Guard([this, &saved] { saved = SaveHistory(); });
        return saved;
    }
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (m_closingWithoutQuestions) {
        event->accept();
        return;
    }
    if (!MayClose()) {
        event->ignore();
        return;
    }
    event->accept();
    // Saved, declined or unchanged: nothing is left to recover.
    m_recoveryTimer->stop();
    if (m_recovery)
        m_recovery->RemoveAll();
}

void TForm1::ConnectClose()
{
#if QT_CONFIG(sessionmanager)
    // The session manager asks before it ends the session; the window is
    // closed afterwards without a second question about the same text.
    auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!application)
        return;
    connect(application, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager &session) {
                if (!session.allowsInteraction())
                    return;
                const bool mayEnd = MayClose();
                session.release();
                if (!mayEnd) {
                    session.cancel();
                    return;
                }
                // Нет, or a text that needed no question: closing asks no more.
                m_declinedHistory = MarkOf(listBox1->Text());
            });
#endif
}

} // namespace trevolo
