#pragma once

#include "app/desktop/Environment.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>
#include <deque>
#include <functional>

namespace trevolo {

// Records what the window asks of the desktop and answers the file dialogs
// and questions from queues filled by the test (an empty queue answers
// "cancelled", and Отмена).
class FakeEnvironment final : public Environment
{
public:
    struct Box
    {
        bool error; // error box, else simple message box
        QString caption;
        QString text;
        QString details = QString(); // a Да/Нет question's informative text
    };

    QList<Box> boxes;
    QList<Box> questions;       // error is always false
    std::deque<Answer> answers; // for both kinds of question
    QList<FileDialogOptions> openRequests;
    QList<FileDialogOptions> saveRequests;
    std::deque<std::optional<FileChoice>> openAnswers;
    std::deque<std::optional<FileChoice>> saveAnswers;
    QList<QUrl> openedUrls;
    QString folder = QStringLiteral("/nonexistent/trevolo");
    bool folderWritable = true;
    QString userFolder = QStringLiteral("/nonexistent/home/.config/trevolo");
    quint32 seed = 12345;
    // A folder of its own, removed with the fake; "trevolo" in it is the
    // state folder, made when the program needs it.
    QTemporaryDir stateRoot;
    QString state = stateRoot.filePath(QStringLiteral("trevolo"));

    void showError(QWidget *, const QString &caption, const QString &text) override
    {
        boxes.append({true, caption, text});
    }
    void showMessage(QWidget *, const QString &caption, const QString &text) override
    {
        boxes.append({false, caption, text});
    }
    Answer askYesNoCancel(QWidget *, const QString &caption, const QString &text) override
    {
        questions.append({false, caption, text});
        return nextAnswer();
    }
    Answer askYesNo(QWidget *, const QString &caption, const QString &text,
                    const QString &details) override
    {
        questions.append({false, caption, text, details});
        return nextAnswer();
    }
    // Texts typed into askText boxes, in turn: a text refused is recorded
    // with its reason in `refusals`, and the next one typed (none left:
    // cancelled).
    std::deque<QString> texts;
    QStringList refusals;
    std::optional<QString> askText(QWidget *, const QString &caption, const QString &label,
                                   const QString &,
                                   const std::function<QString(const QString &)> &refusal) override
    {
        questions.append({false, caption, label});
        for (; !texts.empty(); texts.pop_front()) {
            const QString why = refusal(texts.front());
            if (why.isEmpty()) {
                const QString taken = texts.front();
                texts.pop_front();
                return taken;
            }
            refusals.append(why);
        }
        return std::nullopt;
    }
    std::optional<FileChoice> chooseOpenFile(QWidget *, const FileDialogOptions &options) override
    {
        openRequests.append(options);
        return next(openAnswers);
    }
    std::optional<FileChoice> chooseSaveFile(QWidget *, const FileDialogOptions &options) override
    {
        saveRequests.append(options);
        return next(saveAnswers);
    }
    void openUrl(const QUrl &url) override { openedUrls.append(url); }

    // The one box shown so far as "error|caption|text" or
    // "message|caption|text"; "<n boxes>" when there was not exactly one.
    QString onlyBox() const
    {
        if (boxes.size() != 1)
            return QStringLiteral("<%1 boxes>").arg(boxes.size());
        const Box &box = boxes.front();
        return (box.error ? QStringLiteral("error|") : QStringLiteral("message|")) + box.caption +
               u'|' + box.text;
    }
    // What onlyBox gives for the program's error box and simple message box.
    static QString ErrorBox(const QString &text) { return QStringLiteral("error|Trevolo|") + text; }
    static QString MessageBox(const QString &text)
    {
        return QStringLiteral("message|Trevolo|") + text;
    }
    // Every percent a progress view was given, a view's start shown as "start".
    QStringList progress;
    // The view reports "cancelled" once it has been given this percent.
    int cancelAtPercent = 1000;
    // Called with each percent, while the task waits for it.
    std::function<void(int)> onProgress;

    std::unique_ptr<ProgressView> showProgress(QWidget *, const QString &text) override
    {
        progress.append(QStringLiteral("start ") + text);
        return std::make_unique<FakeProgress>(*this);
    }

    QString settingsFolder() const override { return folder; }
    bool settingsFolderWritable() const override { return folderWritable; }
    QString userSettingsFolder() const override { return userFolder; }
    QString stateFolder() const override { return state; }
    quint32 clockSeed() const override { return seed; }

private:
    class FakeProgress final : public ProgressView
    {
    public:
        explicit FakeProgress(FakeEnvironment &owner) : m_owner(owner) {}
        void setPercent(int percent) override
        {
            m_owner.progress.append(QString::number(percent));
            m_cancelled = m_cancelled || percent >= m_owner.cancelAtPercent;
            if (m_owner.onProgress)
                m_owner.onProgress(percent);
        }
        bool cancelled() override { return m_cancelled; }

    private:
        FakeEnvironment &m_owner;
        bool m_cancelled = false;
    };

    Answer nextAnswer()
    {
        if (answers.empty())
            return Answer::Cancel;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    static std::optional<FileChoice> next(std::deque<std::optional<FileChoice>> &answers)
    {
        if (answers.empty() || !answers.front()) {
            if (!answers.empty())
                answers.pop_front();
            return std::nullopt;
        }
        FileChoice choice = std::move(*answers.front());
        answers.pop_front();
        return choice;
    }
};

} // namespace trevolo
