#pragma once

// File helpers of the tests that read and write files: raw bytes in and out,
// the IoError an action throws, the messages of a failed open or create, a
// folder laid out to make them fail, and a disk that fills up.
#include "common/Error.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QString>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Sets the file's modification time `seconds` back; false when that fails.
inline bool Backdate(const QString &path, qint64 seconds)
{
    QFile file(path);
    return file.open(QIODevice::Append) &&
           file.setFileTime(QDateTime::currentDateTime().addSecs(-seconds),
                            QFileDevice::FileModificationTime);
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

// The copy of the old content that a failed rewrite in place names after
// `message` ("<message>. The old content is kept in "<copy>""), or "" when
// the error message is not of that form.
inline QString KeptCopyIn(const QString &error, const QString &message)
{
    const QString lead = message + QStringLiteral(". The old content is kept in \"");
    if (!error.startsWith(lead) || !error.endsWith(u'"'))
        return QString();
    return error.mid(lead.size(), error.size() - lead.size() - 1);
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

// Lays out in `folder` what is no regular file: a named pipe "fifo" and a
// symlink "link" to it. Opening the pipe for reading would wait for a writer.
inline bool MakeNamedPipe(const QString &folder)
{
    return ::mkfifo(QFile::encodeName(folder + QStringLiteral("/fifo")).constData(), 0666) == 0 &&
           QFile::link(folder + QStringLiteral("/fifo"), folder + QStringLiteral("/link"));
}

// True when the name leads (through symlinks) to a named pipe.
inline bool IsNamedPipe(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

// Closes a folder to new files while it lives; the files in it stay
// writable. Taking away the write permission stops everyone but the
// superuser, whom the immutable attribute stops instead. Refusal() is the
// errno that creating a file then meets, 0 when neither way works here.
class FolderWithoutNewFiles
{
public:
    explicit FolderWithoutNewFiles(const QString &folder) : m_folder(QFile::encodeName(folder))
    {
        ::chmod(m_folder.constData(), 0555);
        m_refusal = Probe();
        if (m_refusal == 0 && SetImmutable(true)) {
            m_immutable = true;
            m_refusal = Probe();
        }
    }
    ~FolderWithoutNewFiles()
    {
        if (m_immutable)
            SetImmutable(false);
        ::chmod(m_folder.constData(), 0755);
    }
    FolderWithoutNewFiles(const FolderWithoutNewFiles &) = delete;
    FolderWithoutNewFiles &operator=(const FolderWithoutNewFiles &) = delete;

    int Refusal() const { return m_refusal; }

private:
    int Probe() const
    {
        const QByteArray probe = m_folder + "/.probe";
        const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0)
            return errno;
        ::close(fd);
        ::unlink(probe.constData());
        return 0;
    }
    bool SetImmutable(bool on) const
    {
        const int fd = ::open(m_folder.constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
    }

    QByteArray m_folder;
    int m_refusal = 0;
    bool m_immutable = false;
};
