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

bool TForm1::Unchanged(const THistoryMemo &memo, const HistoryMark &saved,
                       const std::optional<HistoryMark> &declined)
{
    // The length is known without a copy of the text; the hash, which needs
    // one, is taken only when a length matches, and at most once.
    const qsizetype length = memo.TextLength();
    std::optional<size_t> hash;
    const auto unchangedSince = [&](const HistoryMark &mark) {
        if (mark.length != length)
            return false;
        if (!hash)
            hash = MarkOf(memo.Text()).hash;
        return *hash == mark.hash;
    };
    return unchangedSince(saved) || (declined && unchangedSince(*declined));
}

bool TForm1::MayClose()
{
    if (Unchanged(*listBox1, m_savedHistory, m_declinedHistory))
        return true;

    // With several tables the question names the one it is about.
    const QString question =
        m_tables.Count() >= 2
            ? QStringLiteral("Сохранить последовательность «%1»?").arg(m_tables.Current().name)
            : QStringLiteral("Сохранить последовательность?");
    switch (m_environment.askYesNoCancel(this, ApplicationTitle(), question)) {
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
    if (!MayCloseAll()) {
        event->ignore();
        return;
    }
    event->accept();
    // Saved, declined or unchanged: nothing is left to recover.
    m_recoveryTimer->stop();
    if (m_recovery)
        m_recovery->RemoveAll();
    for (TablePage &page : m_pages)
        if (page.recovery)
            page.recovery->RemoveAll();
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
                const bool mayEnd = MayCloseAll();
                session.release();
                if (!mayEnd) {
                    session.cancel();
                    return;
                }
                // Нет, or a text that needed no question: closing asks no more.
                m_declinedHistory = MarkOf(listBox1->Text());
                for (TablePage &page : m_pages)
                    if (page.memo != listBox1)
                        page.declined = MarkOf(page.memo->Text());
            });
#endif
}

} // namespace trevolo
