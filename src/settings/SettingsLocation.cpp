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
    if (!problem.isEmpty()) {
        return {besideProgram, QString(),
                QStringLiteral("Settings cannot be kept: %1. Changes made now are not saved.")
                    .arg(problem)};
    }

    const QString own = QDir(userFolder).filePath(FileName);
    if (!QFileInfo::exists(own) && QFileInfo(besideProgram).isFile())
        return {besideProgram, own, QString()};
    return {own, own, QString()};
}

} // namespace trevolo
