#include "settings/SettingsLocation.h"

#include <QDir>
#include <QFileInfo>

namespace trevolo {

namespace {

const QString FileName = QStringLiteral("default.ini");

} // namespace

SettingsLocation ResolveSettingsLocation(const QString &programFolder, bool programFolderWritable,
                                         const QString &userFolder)
{
    const QString besideProgram = QDir(programFolder).filePath(FileName);
    if (programFolderWritable)
        return {besideProgram, besideProgram, QString()};

    const QFileInfo folder(userFolder);
    QString problem;
    if (userFolder.isEmpty())
        problem = QStringLiteral("no configuration folder is known for this user");
    else if (folder.exists() && !folder.isDir())
        problem = QStringLiteral("\"%1\" is not a folder").arg(userFolder);
    else if (!QDir().mkpath(userFolder))
        problem = QStringLiteral("the folder \"%1\" cannot be created").arg(userFolder);
    else if (!QFileInfo(userFolder).isReadable())
        problem = QStringLiteral("the folder \"%1\" cannot be read").arg(userFolder);
    else if (!QFileInfo(userFolder).isWritable())
        problem = QStringLiteral("the folder \"%1\" cannot be written").arg(userFolder);
    const QString own = QDir(userFolder).filePath(FileName);
    if (!problem.isEmpty()) {
        // The user's last settings still apply when they can be read.
        return {QFileInfo(own).isFile() ? own : besideProgram, QString(),
                QStringLiteral("Settings cannot be kept: %1. Changes made now are not saved.")
                    .arg(problem)};
    }

    if (!QFileInfo::exists(own) && QFileInfo(besideProgram).isFile())
        return {besideProgram, own, QString()};
    return {own, own, QString()};
}

} // namespace trevolo
