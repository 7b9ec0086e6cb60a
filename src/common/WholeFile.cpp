#include "common/WholeFile.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace trevolo {

namespace {

using Step = FileFailure::Step;

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
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

// Opens without blocking and without handing the descriptor to children.
int OpenDescriptor(const QByteArray &nativeName, int flags)
{
    int descriptor = -1;
    do {
        errno = 0;
        descriptor = ::open(nativeName.constData(), flags | O_CLOEXEC | O_NONBLOCK);
    } while (descriptor < 0 && errno == EINTR);
    return descriptor;
}

// Only regular files are read or written whole; a folder has an error
// number of its own.
std::optional<FileFailure> RefuseUnlessRegular(const struct stat &info)
{
    if (S_ISDIR(info.st_mode))
        return FileFailure{Step::Open, EISDIR};
    if (!S_ISREG(info.st_mode))
        return FileFailure{Step::Open, EINVAL, true};
    return std::nullopt;
}

// Writes all of `bytes` to the descriptor, then puts them on disk.
std::optional<FileFailure> WriteAndSync(int fd, QByteArrayView bytes)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        errno = 0;
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return FileFailure{Step::Transfer, LastErrorOr(EIO)};
        data += written;
        left -= written;
    }
    errno = 0;
    if (::fsync(fd) != 0)
        return FileFailure{Step::Transfer, LastErrorOr(EIO)};
    return std::nullopt;
}

// The fallback for a folder that takes no new file: the existing file is
// cut to nothing and written again in place.
std::optional<FileFailure> RewriteInPlace(const QByteArray &nativeName, QByteArrayView bytes)
{
    FileDescriptor fd(OpenDescriptor(nativeName, O_WRONLY));
    if (fd.get() < 0)
        return FileFailure{Step::Open, LastErrorOr(EIO)};
    struct stat info = {};
    errno = 0;
    if (::fstat(fd.get(), &info) != 0)
        return FileFailure{Step::Open, LastErrorOr(EIO)};
    // Looked at again on the open file: the name may lead elsewhere by now.
    if (const auto refused = RefuseUnlessRegular(info))
        return refused;
    errno = 0;
    if (::ftruncate(fd.get(), 0) != 0)
        return FileFailure{Step::Transfer, LastErrorOr(EIO)};
    if (const auto failure = WriteAndSync(fd.get(), bytes))
        return failure;
    errno = 0;
    if (::close(fd.release()) != 0)
        return FileFailure{Step::Transfer, LastErrorOr(EIO)};
    return std::nullopt;
}

} // namespace

std::optional<FileFailure> ReadWholeFile(const QString &fileName, QByteArray &bytes, qint64 limit)
{
    bytes.clear();
    if (IsUnusableName(fileName))
        return FileFailure{Step::Open, EINVAL};

    // What is no regular file is not even opened: opening a device may do
    // something of its own. A name that cannot be looked at is left to open()
    // to report.
    const QByteArray nativeName = QFile::encodeName(fileName);
    struct stat info = {};
    if (::stat(nativeName.constData(), &info) == 0) {
        if (const auto refused = RefuseUnlessRegular(info))
            return refused;
    }

    // Without blocking all the same: should a named pipe take the file's
    // place meanwhile, opening it would wait for a writer, forever. A
    // regular file reads the same either way.
    const FileDescriptor fd(OpenDescriptor(nativeName, O_RDONLY));
    if (fd.get() < 0)
        return FileFailure{Step::Open, LastErrorOr(EIO)};

    constexpr qsizetype Chunk = 64 * 1024;
    if (::fstat(fd.get(), &info) != 0)
        return FileFailure{Step::Open, LastErrorOr(EIO)};
    if (const auto refused = RefuseUnlessRegular(info))
        return refused;
    if (info.st_size > limit)
        return FileFailure{Step::Open, EFBIG};
    if (info.st_size > 0 && info.st_size < qint64(1) << 30)
        bytes.reserve(qsizetype(info.st_size) + Chunk);

    // Read to the end rather than trusting the size: the file may grow while
    // it is read. The limit holds either way.
    for (;;) {
        const qsizetype used = bytes.size();
        bytes.resize(used + Chunk);
        const ssize_t got = ::read(fd.get(), bytes.data() + used, size_t(Chunk));
        if (got < 0) {
            const int error = errno;
            bytes.resize(used);
            if (error == EINTR)
                continue;
            return FileFailure{Step::Transfer, error};
        }
        bytes.resize(used + qsizetype(got));
        if (got == 0)
            return std::nullopt;
        if (bytes.size() > limit)
            return FileFailure{Step::Transfer, EFBIG};
    }
}

std::optional<FileFailure> SaveWholeFile(const QString &fileName, QByteArrayView bytes)
{
    if (IsUnusableName(fileName))
        return FileFailure{Step::Open, EINVAL};

    // Causes that the safe writer would report in words of its own are
    // looked at first, so that the error number is the system's.
    const QByteArray nativeName = QFile::encodeName(fileName);
    struct stat info = {};
    errno = 0;
    // The name is followed through symlinks, as the save file does: a named
    // pipe or a device behind it must not be replaced by a regular file.
    const bool exists = ::stat(nativeName.constData(), &info) == 0;
    if (exists) {
        if (const auto refused = RefuseUnlessRegular(info))
            return refused;
        if (::access(nativeName.constData(), W_OK) != 0)
            return FileFailure{Step::Open, LastErrorOr(EACCES)};
    } else if (errno != ENOENT) {
        return FileFailure{Step::Open, LastErrorOr(EIO)};
    }

    // Unbuffered, so a write that falls short shows in write() itself: a
    // failure while the save file flushes a buffer inside commit() goes
    // unreported, and the cut-off content would replace the old file.
    QSaveFile file(fileName);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int error = LastErrorOr(EIO);
        // The temporary file could not be created beside a file that may be
        // written: the folder is closed to new files.
        if (exists && (error == EACCES || error == EPERM))
            return RewriteInPlace(nativeName, bytes);
        return FileFailure{Step::Open, error};
    }

    const char *data = bytes.data();
    qint64 left = bytes.size();
    while (left > 0) {
        errno = 0;
        const qint64 written = file.write(data, left);
        if (written <= 0) {
            const int error = LastErrorOr(EIO);
            file.cancelWriting(); // the temporary file goes, the old one stays
            return FileFailure{Step::Transfer, error};
        }
        data += written;
        left -= written;
    }
    // commit() syncs the data but does not look at the outcome.
    errno = 0;
    if (::fsync(file.handle()) != 0) {
        const int error = LastErrorOr(EIO);
        file.cancelWriting();
        return FileFailure{Step::Transfer, error};
    }

    errno = 0;
    if (!file.commit()) {
        const Step step = file.error() == QFileDevice::RenameError ? Step::Open : Step::Transfer;
        return FileFailure{step, LastErrorOr(EIO)};
    }
    return std::nullopt;
}

} // namespace trevolo
