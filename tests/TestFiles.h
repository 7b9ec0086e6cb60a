#pragma once

// File helpers of the tests that read and write files: raw bytes in and out,
// the IoError an action throws, the messages of a failed open or create, a
// folder laid out to make them fail, and a disk that fills up.
#include "common/Error.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <csignal>
#include <cstring>
#include <sys/resource.h>

// Writes the file with exactly these bytes; false when that fails.
inline bool WriteRaw(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The file's bytes, or "<unreadable>".
inline QByteArray ReadRaw(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<unreadable>");
    return file.readAll();
}

// The message of the IoError that `action` throws, or "<no error>".
template <typename Action>
QString IoErrorOf(Action &&action)
{
    try {
        action();
    } catch (const trevolo::IoError &error) {
        return error.message();
    }
    return QStringLiteral("<no error>");
}

// The system's description of an errno value.
inline QString Describe(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// "Cannot open file "<path>". <description>" and "Cannot create file ...",
// as a failed open for reading or writing reports it.
inline QString CannotOpenMessage(const QString &path, int error)
{
    return QStringLiteral("Cannot open file \"") + QDir::toNativeSeparators(path) +
           QStringLiteral("\". ") + Describe(error);
}
inline QString CannotCreateMessage(const QString &path, int error)
{
    return QStringLiteral("Cannot create file \"") + QDir::toNativeSeparators(path) +
           QStringLiteral("\". ") + Describe(error);
}

// Lays out in `folder` what makes opening or creating a file fail: a folder
// "folder" (EISDIR) and a file "plain.txt" holding "1\r\n", so that a path
// below it fails with ENOTDIR. "missing.txt" and "nowhere/" do not exist.
inline bool MakeFailingPaths(const QString &folder)
{
    return QDir(folder).mkdir(QStringLiteral("folder")) &&
           WriteRaw(folder + QStringLiteral("/plain.txt"), QByteArrayLiteral("1\r\n"));
}

// A file of `size` bytes that starts with `start`; the rest is a hole and
// costs no disk space.
inline bool MakeSparseFile(const QString &path, qint64 size, const QByteArray &start = {})
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(start) == start.size() &&
           file.resize(size);
}

// Runs `action` while no file of this process may grow past `limit` bytes,
// as on a full disk: a write past it falls short with EFBIG instead of
// raising SIGXFSZ. False, and `action` not run, when the limit cannot be set.
template <typename Action>
bool WithFileSizeLimit(rlim_t limit, Action &&action)
{
    rlimit saved{};
    if (getrlimit(RLIMIT_FSIZE, &saved) != 0)
        return false;
    rlimit small = saved;
    small.rlim_cur = limit;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (setrlimit(RLIMIT_FSIZE, &small) != 0) {
        std::signal(SIGXFSZ, previousHandler);
        return false;
    }
    action();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    return true;
}
