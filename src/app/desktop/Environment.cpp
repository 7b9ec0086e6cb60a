#include "app/desktop/Environment.h"

#include "common/StateFolder.h"
#include "history/SpinSource.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace trevolo {

QString ApplicationTitle()
{
    return QStringLiteral("Trevolo");
}

namespace {

std::optional<FileChoice> runFileDialog(QWidget *parent, const FileDialogOptions &options,
                                        QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(options.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.promptOverwrite);
    QStringList shownFilters;
    for (const QString &filter : options.filters)
        shownFilters.append(DesktopNameFilter(filter));
    dialog.setNameFilters(shownFilters);
    if (!options.selectedFilter.isEmpty())
        dialog.selectNameFilter(DesktopNameFilter(options.selectedFilter));
    dialog.setDefaultSuffix(options.defaultSuffix);
    if (!options.initialFileName.isEmpty())
        dialog.selectFile(options.initialFileName);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    // The caller gets the filter back as it gave it.
    const qsizetype chosen = shownFilters.indexOf(dialog.selectedNameFilter());
    return FileChoice{files.first(), chosen >= 0 ? options.filters.at(chosen) : QString()};
}

// A window-modal progress dialog that shows itself when the task has run
// for 0.3 s and looks likely to run on.
class DialogProgress final : public ProgressView
{
public:
    DialogProgress(QWidget *parent, const QString &text)
        : m_dialog(text, QStringLiteral("Отмена"), 0, 100, parent)
    {
        m_dialog.setWindowTitle(QStringLiteral("Trevolo"));
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(300);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        m_dialog.setValue(0);
    }
    void setPercent(int percent) override { m_dialog.setValue(percent); }
    bool cancelled() override { return m_dialog.wasCanceled(); }

private:
    QProgressDialog m_dialog;
};

} // namespace

QString DesktopNameFilter(const QString &filter)
{
    // "Description (pattern pattern ...)": only the last parenthesis holds
    // patterns.
    if (!filter.endsWith(u')'))
        return filter;
    const qsizetype open = filter.lastIndexOf(u'(');
    if (open < 0)
        return filter;
    const QStringView patterns = QStringView(filter).sliced(open + 1, filter.size() - open - 2);
    QStringList shown;
    bool changed = false;
    for (const QStringView pattern : patterns.split(u' ', Qt::SkipEmptyParts)) {
        if (pattern == u"*.*") {
            shown.append(QStringLiteral("*"));
            changed = true;
        } else {
            shown.append(pattern.toString());
        }
    }
    if (!changed)
        return filter;
    return filter.left(open + 1) + shown.join(u' ') + u')';
}

void QtEnvironment::showError(QWidget *parent, const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtEnvironment::showMessage(QWidget *parent, const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

namespace {

// A question box with Russian buttons whatever translations Qt finds for its
// own: Да (the default), Нет and, when asked for, Отмена; Esc gives `escape`.
Answer Ask(QWidget *parent, const QString &caption, const QString &text, const QString &details,
           bool withCancel, QMessageBox::StandardButton escape)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, caption, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(details);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    if (withCancel)
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(escape);
    box.exec();
    const auto *clicked = box.clickedButton();
    if (clicked == box.button(QMessageBox::Yes))
        return Answer::Yes;
    if (clicked == box.button(QMessageBox::No))
        return Answer::No;
    return Answer::Cancel;
}

} // namespace

Answer QtEnvironment::askYesNoCancel(QWidget *parent, const QString &caption, const QString &text)
{
    return Ask(parent, caption, text, QString(), true, QMessageBox::Cancel);
}

Answer QtEnvironment::askYesNo(QWidget *parent, const QString &caption, const QString &text,
                               const QString &details)
{
    return Ask(parent, caption, text, details, false, QMessageBox::No);
}

std::optional<QString>
QtEnvironment::askText(QWidget *parent, const QString &caption, const QString &label,
                       const QString &text, const std::function<QString(const QString &)> &refusal)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(caption);
    auto *prompt = new QLabel(label);
    auto *field = new QLineEdit(text);
    field->selectAll();
    prompt->setBuddy(field);
    auto *reason = new QLabel;
    reason->setTextFormat(Qt::PlainText);
    reason->setStyleSheet(QStringLiteral("color: #b00000"));
    reason->hide();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(prompt);
    layout->addWidget(field);
    layout->addWidget(reason);
    layout->addWidget(buttons);
    const auto check = [&] {
        const QString why = refusal(field->text());
        reason->setText(why);
        reason->setVisible(!why.isEmpty());
        return why.isEmpty();
    };
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        if (check())
            dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(field, &QLineEdit::textChanged, &dialog, [&] { check(); });
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return field->text();
}

std::optional<FileChoice> QtEnvironment::chooseOpenFile(QWidget *parent,
                                                        const FileDialogOptions &options)
{
    return runFileDialog(parent, options, QFileDialog::AcceptOpen);
}

std::optional<FileChoice> QtEnvironment::chooseSaveFile(QWidget *parent,
                                                        const FileDialogOptions &options)
{
    return runFileDialog(parent, options, QFileDialog::AcceptSave);
}

void QtEnvironment::openUrl(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}

QString QtEnvironment::settingsFolder() const
{
    return QCoreApplication::applicationDirPath();
}

bool QtEnvironment::settingsFolderWritable() const
{
    // An installed copy lives under /usr, which the superuser could write
    // to; its settings still belong to the user.
    const QString folder = QFileInfo(settingsFolder()).canonicalFilePath();
    if (folder.startsWith(u"/usr/") || folder == u"/bin" || folder == u"/sbin")
        return false;
    return QFileInfo(folder).isWritable();
}

QString QtEnvironment::userSettingsFolder() const
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config.isEmpty() ? QString() : config + QStringLiteral("/trevolo");
}

QString QtEnvironment::stateFolder() const
{
    return StateFolderPath();
}

quint32 QtEnvironment::clockSeed() const
{
    return SeedFromClock();
}

} // namespace trevolo

namespace trevolo {

std::unique_ptr<ProgressView> QtEnvironment::showProgress(QWidget *parent, const QString &text)
{
    return std::make_unique<DialogProgress>(parent, text);
}

} // namespace trevolo
