#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace trevolo {

// The application title: caption of the standard error box and of the
// program's own message boxes.
QString ApplicationTitle();

// What a file dialog is asked to offer.
struct FileDialogOptions
{
    QStringList filters;     // "Description (*.ext)" entries, in order
    QString selectedFilter;  // one of filters; empty for the first
    QString defaultSuffix;   // added when the chosen name has no extension
    QString initialFileName; // offered as the file name
    bool mustExist = false;  // only an existing file may be chosen
    bool promptOverwrite = false;
};

// A filter as the desktop's file dialog is given it. The pattern "*.*" of an
// "all files" entry would leave out every name without a dot here, so it
// becomes "*"; the description and the other patterns stay as they are.
// "Все файлы (*.*)" is shown as "Все файлы (*)".
QString DesktopNameFilter(const QString &filter);

// The file the user confirmed, and the filter that was selected then.
struct FileChoice
{
    QString path;
    QString selectedFilter;
};

// The answer to a question with the buttons Да, Нет and Отмена (or Да and
// Нет). Closing the box without a button counts as Отмена.
enum class Answer
{
    Yes,
    No,
    Cancel
};

// A long task's progress as the user sees it, from its start until the object
// is destroyed: the percent done, and whether the user asked to cancel.
class ProgressView
{
public:
    virtual ~ProgressView() = default;
    virtual void setPercent(int percent) = 0;
    virtual bool cancelled() = 0;
};

// Everything the window asks of the desktop: message boxes, file dialogs, the
// shell, the program folder and the clock. The program uses QtEnvironment;
// tests substitute a recording fake.
class Environment
{
public:
    virtual ~Environment() = default;

    // Modal box with the error icon and an OK button.
    virtual void showError(QWidget *parent, const QString &caption, const QString &text) = 0;
    // Modal box with an OK button only.
    virtual void showMessage(QWidget *parent, const QString &caption, const QString &text) = 0;
    // Modal box with the question icon and the buttons Да, Нет and Отмена.
    virtual Answer askYesNoCancel(QWidget *parent, const QString &caption, const QString &text) = 0;
    // Modal box with the question icon, `details` as the informative text
    // below `text`, and the buttons Да (the default) and Нет; Esc answers
    // Нет. Отмена when the box goes without an answer (the program ends).
    virtual Answer askYesNo(QWidget *parent, const QString &caption, const QString &text,
                            const QString &details) = 0;
    // Modal box with a text field under `label`, filled with `text`, and the
    // buttons OK and Отмена; while `refusal` gives a reason for the text in
    // the field, the reason shows under it and OK does nothing. The text
    // taken, or nothing when cancelled.
    virtual std::optional<QString>
    askText(QWidget *parent, const QString &caption, const QString &label, const QString &text,
            const std::function<QString(const QString &)> &refusal) = 0;

    // Standard open and save dialogs; nothing when the user cancels.
    virtual std::optional<FileChoice> chooseOpenFile(QWidget *parent,
                                                     const FileDialogOptions &options) = 0;
    virtual std::optional<FileChoice> chooseSaveFile(QWidget *parent,
                                                     const FileDialogOptions &options) = 0;

    // Hands an address to the desktop's default handler; does not wait.
    virtual void openUrl(const QUrl &url) = 0;

    // The folder of the running executable, without a trailing separator.
    virtual QString settingsFolder() const = 0;
    // Whether that folder may keep "default.ini": this user can write there
    // and it is no system folder of an installed copy.
    virtual bool settingsFolderWritable() const = 0;
    // The per-user configuration folder, "~/.config/trevolo".
    virtual QString userSettingsFolder() const = 0;
    // The folder for what must outlive a run (the recovery file, the copy of
    // a file being rewritten in place): StateFolderPath(). Not created here.
    virtual QString stateFolder() const = 0;

    // A clock reading for seeding the random spin source.
    virtual quint32 clockSeed() const = 0;

    // Progress of a long task, shown once it has taken about 0.3 s: the
    // text, the percent done and a Cancel button (Esc cancels too). The
    // window behind it takes no input meanwhile.
    virtual std::unique_ptr<ProgressView> showProgress(QWidget *parent, const QString &text) = 0;
};

// The desktop as Qt offers it.
class QtEnvironment final : public Environment
{
public:
    void showError(QWidget *parent, const QString &caption, const QString &text) override;
    void showMessage(QWidget *parent, const QString &caption, const QString &text) override;
    Answer askYesNoCancel(QWidget *parent, const QString &caption, const QString &text) override;
    Answer askYesNo(QWidget *parent, const QString &caption, const QString &text,
                    const QString &details) override;
    std::optional<QString> askText(QWidget *parent, const QString &caption, const QString &label,
                                   const QString &text,
                                   const std::function<QString(const QString &)> &refusal) override;
    std::optional<FileChoice> chooseOpenFile(QWidget *parent,
                                             const FileDialogOptions &options) override;
    std::optional<FileChoice> chooseSaveFile(QWidget *parent,
                                             const FileDialogOptions &options) override;
    void openUrl(const QUrl &url) override;
    QString settingsFolder() const override;
    bool settingsFolderWritable() const override;
    QString userSettingsFolder() const override;
    QString stateFolder() const override;
    quint32 clockSeed() const override;
    std::unique_ptr<ProgressView> showProgress(QWidget *parent, const QString &text) override;
};

} // namespace trevolo
