#include "common/StateFolder.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace trevolo {

namespace {

using Step = FileFailure::Step;

int ErrorOr(int fallback)
{
    return errno != 0 ? errno : fallback;
}

} // namespace

QString StateFolderPath()
{
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!state.isEmpty() && QDir::isAbsolutePath(state))
        return QDir::cleanPath(state + QStringLiteral("/trevolo"));
    return QDir::cleanPath(QDir::homePath() + QStringLiteral("/.local/state/trevolo"));
}

std::optional<FileFailure> MakePrivateFolder(const QString &folder)
{
    if (folder.isEmpty() || folder.contains(QChar(u'\0')))
        return FileFailure{Step::Open, EINVAL};
    const QString absolute = QDir::cleanPath(QDir(folder).absolutePath());

    // From the top down, each missing folder made by the user alone.
    qsizetype from = 1;
    for (;;) {
        const qsizetype slash = absolute.indexOf(u'/', from);
        const QString part = slash < 0 ? absolute : absolute.left(slash);
        errno = 0;
        if (::mkdir(QFile::encodeName(part).constData(), 0700) != 0 && errno != EEXIST)
            return FileFailure{Step::Open, ErrorOr(EIO)};
        if (slash < 0)
            break;
        from = slash + 1;
    }

    const QByteArray nativeName = QFile::encodeName(absolute);
    struct stat info = {};
    errno = 0;
    if (::stat(nativeName.constData(), &info) != 0)
        return FileFailure{Step::Open, ErrorOr(EIO)};
    if (!S_ISDIR(info.st_mode))
        return FileFailure{Step::Open, ENOTDIR};
    errno = 0;
    if (::access(nativeName.constData(), W_OK | X_OK) != 0)
        return FileFailure{Step::Open, ErrorOr(EACCES)};
    return std::nullopt;
}

FolderTrust TrustOfFolder(const QString &folder, qint64 owner)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return FolderTrust::Unknown;
    if (qint64(info.st_uid) != (owner < 0 ? qint64(::geteuid()) : owner))
        return FolderTrust::ForeignOwner;
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return FolderTrust::WritableByOthers;
    return FolderTrust::Private;
}

std::optional<FileFailure> SyncFolder(const QString &folder)
{
    errno = 0;
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return FileFailure{Step::Open, ErrorOr(EIO)};
    errno = 0;
    const bool synced = ::fsync(fd) == 0;
    const int error = ErrorOr(EIO);
    ::close(fd);
    if (!synced)
        return FileFailure{Step::Transfer, error};
    return std::nullopt;
}

} // namespace trevolo
