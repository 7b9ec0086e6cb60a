#include "app/Environment.h"

#include "history/SpinSource.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

namespace trevolo {

namespace {

std::optional<FileChoice> runFileDialog(QWidget *parent, const FileDialogOptions &options,
                                        QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(options.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.promptOverwrite);
    dialog.setNameFilters(options.filters);
    if (!options.selectedFilter.isEmpty())
        dialog.selectNameFilter(options.selectedFilter);
    dialog.setDefaultSuffix(options.defaultSuffix);
    if (!options.initialFileName.isEmpty())
        dialog.selectFile(options.initialFileName);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    return FileChoice{files.first(), dialog.selectedNameFilter()};
}

} // namespace

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

quint32 QtEnvironment::clockSeed() const
{
    return SeedFromClock();
}

} // namespace trevolo
