#include "common/InterruptedSave.h"

#include "common/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace trevolo {

QString SaveUnderWayNote(const QString &copy)
{
    return copy + QStringLiteral(".file");
}

std::vector<InterruptedSave> FindInterruptedSaves(const QString &backupFolder)
{
    std::vector<InterruptedSave> found;
    const QDir folder(backupFolder);
    const QFileInfoList notes = folder.entryInfoList({QStringLiteral("*.old.file")}, QDir::Files,
                                                     QDir::Time | QDir::Reversed);
    for (const QFileInfo &note : notes) {
        const QString copy = note.filePath().chopped(5);
        QByteArray path;
        if (!QFileInfo(copy).isFile() || ReadWholeFile(note.filePath(), path, 64 * 1024) ||
            path.isEmpty()) {
            QFile::remove(note.filePath());
            continue;
        }
        found.push_back({QString::fromUtf8(path), copy});
    }
    return found;
}

int RestoreInterruptedSave(const InterruptedSave &save, const QString &backupFolder)
{
    QByteArray old;
    if (const auto failure = ReadWholeFile(save.copy, old))
        return failure->error;
    if (const auto failure = SaveWholeFile(save.file, old, backupFolder))
        return failure->error;
    QFile::remove(SaveUnderWayNote(save.copy));
    QFile::remove(save.copy);
    return 0;
}

void ForgetInterruptedSave(const InterruptedSave &save)
{
    QFile::remove(SaveUnderWayNote(save.copy));
}

} // namespace trevolo
