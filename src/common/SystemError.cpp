#include "common/SystemError.h"

#include "common/Error.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace trevolo {

QString RunTimeIoMessage(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT:
        return QStringLiteral("File not found");
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("File access denied");
    case ENAMETOOLONG:
    case EINVAL:
    case ENOTDIR:
    case EISDIR:
        return QStringLiteral("Invalid filename");
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("Disk full");
    default:
        return QStringLiteral("I/O error %1").arg(errnoValue);
    }
}

void ThrowIoError(int errnoValue)
{
    throw IoError(RunTimeIoMessage(errnoValue));
}

namespace {

// A name the system would misread: empty, or cut short by a NUL character.
bool IsUnusableName(const QString &fileName)
{
    return fileName.isEmpty() || fileName.contains(QChar(u'\0'));
}

// The error number that a failed library call left behind; a failure that
// left none is reported as a plain input/output error.
int LastErrorOr(int fallback)
{
    return errno != 0 ? errno : fallback;
}

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

int ReadWholeFile(const QString &fileName, QByteArray &bytes)
{
    bytes.clear();
    if (IsUnusableName(fileName))
        return EINVAL;

    const QByteArray nativeName = QFile::encodeName(fileName);
    const FileDescriptor fd(::open(nativeName.constData(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        return LastErrorOr(EIO);

    struct stat info = {};
    constexpr qsizetype chunk = 64 * 1024;
    if (::fstat(fd.get(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
        info.st_size < qint64(1) << 30)
        bytes.reserve(qsizetype(info.st_size) + chunk);

    for (;;) {
        const qsizetype used = bytes.size();
        bytes.resize(used + chunk);
        const ssize_t got = ::read(fd.get(), bytes.data() + used, size_t(chunk));
        if (got < 0) {
            const int error = errno;
            bytes.resize(used);
            if (error == EINTR)
                continue;
            return error;
        }
        bytes.resize(used + qsizetype(got));
        if (got == 0)
            return 0;
    }
}

int SaveWholeFile(const QString &fileName, QByteArrayView bytes)
{
    if (IsUnusableName(fileName))
        return EINVAL;

    // Causes that the safe writer would report in words of its own are
    // looked at first, so that the error number is the system's.
    const QByteArray nativeName = QFile::encodeName(fileName);
    struct stat info = {};
    if (::stat(nativeName.constData(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return EISDIR;
        if (::access(nativeName.constData(), W_OK) != 0)
            return LastErrorOr(EACCES);
    } else if (errno != ENOENT) {
        return LastErrorOr(EIO);
    }

    QSaveFile file(fileName);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return LastErrorOr(EIO);

    const char *data = bytes.data();
    qint64 left = bytes.size();
    while (left > 0) {
        errno = 0;
        const qint64 written = file.write(data, left);
        if (written <= 0) {
            const int error = LastErrorOr(EIO);
            file.cancelWriting(); // the temporary file goes, the old one stays
            return error;
        }
        data += written;
        left -= written;
    }

    errno = 0;
    if (!file.commit())
        return LastErrorOr(EIO);
    return 0;
}

} // namespace trevolo
