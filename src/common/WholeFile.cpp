#include "common/WholeFile.h"

#include "common/InterruptedSave.h"
#include "common/StateFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// Opens without blocking and without handing the descriptor to children; a
// file it creates is for the user alone.
int OpenDescriptor(const QByteArray &nativeName, int flags, mode_t mode = 0600)
{
    int descriptor = -1;
    do {
        errno = 0;
        descriptor = ::open(nativeName.constData(), flags | O_CLOEXEC | O_NONBLOCK, mode);
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

// Writes all of `bytes` at `offset` on.
std::optional<FileFailure> WriteAt(int fd, off_t offset, QByteArrayView bytes)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        errno = 0;
        const ssize_t written = ::pwrite(fd, data, size_t(left), offset);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return FileFailure{Step::Transfer, LastErrorOr(EIO)};
        data += written;
        left -= written;
        offset += written;
    }
    return std::nullopt;
}

// Copies everything `from` holds to the start of `to` and cuts `to` there;
// `copied` is the number of bytes.
std::optional<FileFailure> CopyContent(int from, int to, off_t &copied)
{
    constexpr qsizetype Chunk = 64 * 1024;
    QByteArray buffer(Chunk, Qt::Uninitialized);
    copied = 0;
    for (;;) {
        errno = 0;
        const ssize_t got = ::pread(from, buffer.data(), size_t(Chunk), copied);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return FileFailure{Step::Transfer, LastErrorOr(EIO)};
        if (got == 0)
            break;
        if (const auto failure = WriteAt(to, copied, QByteArrayView(buffer.data(), got)))
            return failure;
        copied += got;
    }
    errno = 0;
    if (::ftruncate(to, copied) != 0 || ::fsync(to) != 0)
        return FileFailure{Step::Transfer, LastErrorOr(EIO)};
    return std::nullopt;
}

// Copies the open file to a new file in `folder`, named after `fileName` and
// the time, and puts the copy and its name on disk. `copyPath` names the copy
// and `size` is its length.
std::optional<FileFailure> KeepCopy(int fd, const QString &fileName, const QString &folder,
                                    QString &copyPath, off_t &size)
{
    if (const auto failure = MakePrivateFolder(folder))
        return failure;
    const QString stem = QDir(folder).filePath(
        QFileInfo(fileName).fileName() + u'.' +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    int copyFd = -1;
    for (int attempt = 1; copyFd < 0; ++attempt) {
        copyPath = stem + (attempt > 1 ? u'-' + QString::number(attempt) : QString()) +
                   QStringLiteral(".old");
        copyFd = OpenDescriptor(QFile::encodeName(copyPath), O_WRONLY | O_CREAT | O_EXCL);
        if (copyFd < 0 && (errno != EEXIST || attempt == 100))
            return FileFailure{Step::Open, LastErrorOr(EIO)};
    }
    const FileDescriptor copy(copyFd);
    auto failure = CopyContent(fd, copy.get(), size);
    // Beside the copy, while the rewrite is under way, which file it is of:
    // a start after a crash offers to write it back.
    if (!failure) {
        const FileDescriptor note(OpenDescriptor(QFile::encodeName(SaveUnderWayNote(copyPath)),
                                                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW));
        if (note.get() < 0)
            failure = FileFailure{Step::Open, LastErrorOr(EIO)};
        else
            failure = WriteAt(note.get(), 0,
                              QFileInfo(fileName).absoluteFilePath().toUtf8());
        if (!failure && ::fsync(note.get()) != 0)
            failure = FileFailure{Step::Transfer, LastErrorOr(EIO)};
    }
    if (!failure)
        failure = SyncFolder(folder);
    if (failure) {
        QFile::remove(SaveUnderWayNote(copyPath));
        QFile::remove(copyPath);
    }
    return failure;
}

// Makes room on the disk for `size` bytes of content without changing what
// the file holds. A file system that cannot reserve room this way gets the
// portable reservation instead, which extends the file with zeros past its
// old end.
std::optional<FileFailure> Reserve(int fd, off_t size)
{
    if (size == 0)
        return std::nullopt;
    int result = 0;
    do {
        errno = 0;
        result = ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size);
    } while (result != 0 && errno == EINTR);
    if (result == 0)
        return std::nullopt;
    if (errno != EOPNOTSUPP && errno != ENOSYS)
        return FileFailure{Step::Transfer, LastErrorOr(EIO)};
    if (const int error = ::posix_fallocate(fd, 0, size))
        return FileFailure{Step::Transfer, error};
    return std::nullopt;
}

// Writes the kept copy back over the file; false when that fails too.
bool WriteBack(const QByteArray &nativeName, const QString &copyPath)
{
    const FileDescriptor file(OpenDescriptor(nativeName, O_WRONLY));
    const FileDescriptor copy(OpenDescriptor(QFile::encodeName(copyPath), O_RDONLY));
    off_t copied = 0;
    return file.get() >= 0 && copy.get() >= 0 && !CopyContent(copy.get(), file.get(), copied);
}

std::optional<FileFailure> RewriteInPlace(const QByteArray &nativeName, const QString &fileName,
                                          QByteArrayView bytes, const QString &backupFolder)
{
    // Read and written: the old content is copied through the same file.
    FileDescriptor fd(OpenDescriptor(nativeName, O_RDWR));
    if (fd.get() < 0)
        return FileFailure{Step::Open, LastErrorOr(EIO)};
    struct stat info = {};
    errno = 0;
    if (::fstat(fd.get(), &info) != 0)
        return FileFailure{Step::Open, LastErrorOr(EIO)};
    // Looked at again on the open file: the name may lead elsewhere by now.
    if (const auto refused = RefuseUnlessRegular(info))
        return refused;

    QString copyPath;
    off_t oldSize = 0;
    if (const auto failure = KeepCopy(fd.get(), fileName, backupFolder, copyPath, oldSize))
        return failure;

    const off_t newSize = off_t(bytes.size());
    if (auto failure = Reserve(fd.get(), newSize)) {
        // Nothing but zeros past the old end can have come; they go.
        if (::ftruncate(fd.get(), oldSize) == 0) {
            QFile::remove(SaveUnderWayNote(copyPath));
            QFile::remove(copyPath);
            return failure;
        }
        failure->keptCopy = copyPath;
        return failure;
    }

    // From here on the file is not what it was until the new content is
    // complete: any failure writes the old content back.
    auto failure = WriteAt(fd.get(), 0, bytes);
    if (!failure) {
        errno = 0;
        if (::ftruncate(fd.get(), newSize) != 0 || ::fsync(fd.get()) != 0)
            failure = FileFailure{Step::Transfer, LastErrorOr(EIO)};
    }
    if (!failure) {
        errno = 0;
        if (::close(fd.release()) != 0)
            failure = FileFailure{Step::Transfer, LastErrorOr(EIO)};
    }
    if (failure) {
        // Written back, the file needs nothing at the next start; the copy
        // stays where the message says.
        if (WriteBack(nativeName, copyPath))
            QFile::remove(SaveUnderWayNote(copyPath));
        failure->keptCopy = copyPath;
        return failure;
    }
    QFile::remove(SaveUnderWayNote(copyPath));
    QFile::remove(copyPath);
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

std::optional<FileFailure> SaveWholeFile(const QString &fileName, QByteArrayView bytes,
                                         const QString &backupFolder)
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
        if (exists && (error == EACCES || error == EPERM) && !backupFolder.isEmpty())
            return RewriteInPlace(nativeName, fileName, bytes, backupFolder);
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

std::optional<FileFailure> RewriteWholeFileInPlace(const QString &fileName, QByteArrayView bytes,
                                                   const QString &backupFolder)
{
    if (IsUnusableName(fileName) || backupFolder.isEmpty())
        return FileFailure{Step::Open, EINVAL};
    return RewriteInPlace(QFile::encodeName(fileName), fileName, bytes, backupFolder);
}

QString WithKeptCopy(const QString &message, const FileFailure &failure)
{
    if (failure.keptCopy.isEmpty())
        return message;
    return QStringLiteral("%1. The old content is kept in \"%2\"")
        .arg(message, QDir::toNativeSeparators(failure.keptCopy));
}

} // namespace trevolo
