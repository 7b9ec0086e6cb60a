#include "history/HistoryFile.h"

#include "common/Error.h"
#include "history/HistoryText.h"

#include "common/WholeFile.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace trevolo {

namespace {

QString DisplayPath(const QString &path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

QString SystemDescription(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// What went wrong, in the words that follow the file name.
QString Description(const FileFailure &failure)
{
    if (failure.notRegularFile)
        return QStringLiteral("Not a regular file");
    return SystemDescription(failure.error);
}

IoError CannotOpen(const QString &path, const QString &description)
{
    return IoError(
        QStringLiteral("Cannot open file \"%1\". %2").arg(DisplayPath(path), description));
}

IoError CannotCreate(const QString &path, const QString &description)
{
    return IoError(
        QStringLiteral("Cannot create file \"%1\". %2").arg(DisplayPath(path), description));
}

IoError TooLarge()
{
    return IoError(QStringLiteral("Text exceeds memo capacity"));
}

} // namespace

QString LoadHistoryFile(const QString &path)
{
    QByteArray bytes;
    if (const auto failure = ReadWholeFile(path, bytes, MaxHistoryFileBytes)) {
        if (failure->error == EFBIG)
            throw TooLarge();
        if (failure->step == FileFailure::Step::Open)
            throw CannotOpen(path, Description(*failure));
        throw IoError(QStringLiteral("Stream read error"));
    }
    return HistoryFromFileBytes(bytes);
}

void SaveHistoryFile(const QString &path, QStringView history, const QString &backupFolder)
{
    SaveFileBytes(path, HistoryToFileBytes(history), backupFolder);
}

void SaveFileBytes(const QString &path, QByteArrayView bytes, const QString &backupFolder)
{
    if (const auto failure = SaveWholeFile(path, bytes, backupFolder)) {
        if (failure->step == FileFailure::Step::Open)
            throw CannotCreate(path, Description(*failure));
        throw IoError(WithKeptCopy(
            QStringLiteral("Stream write error. %1").arg(Description(*failure)), *failure));
    }
}

} // namespace trevolo
