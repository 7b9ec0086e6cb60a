#include "history/HistoryFile.h"

#include "common/Error.h"
#include "history/HistoryText.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Closes a descriptor when the load leaves, by return or by throw.
class Descriptor
{
public:
    explicit Descriptor(int fd) noexcept : m_fd(fd) {}
    ~Descriptor() { ::close(m_fd); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const noexcept { return m_fd; }

private:
    int m_fd;
};

} // namespace

QString LoadHistoryFile(const QString &path)
{
    const QByteArray nativePath = QFile::encodeName(path);
    int fd = -1;
    do {
        fd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw CannotOpen(path, SystemDescription(errno));
    const Descriptor file(fd);

    struct stat status = {};
    if (::fstat(file.get(), &status) != 0)
        throw CannotOpen(path, SystemDescription(errno));
    // Opening a directory for reading succeeds on this system; it is still
    // no file to read a history from.
    if (S_ISDIR(status.st_mode))
        throw CannotOpen(path, SystemDescription(EISDIR));
    if (S_ISREG(status.st_mode) && status.st_size > MaxHistoryFileBytes)
        throw TooLarge();

    QByteArray bytes;
    if (S_ISREG(status.st_mode))
        bytes.reserve(qsizetype(status.st_size) + 1);
    // Read to the end rather than trusting the size: the file may grow while
    // it is read, or be no regular file at all. The limit holds either way.
    constexpr qsizetype Chunk = 64 * 1024;
    for (;;) {
        const qsizetype before = bytes.size();
        const qsizetype room = qMin<qint64>(Chunk, MaxHistoryFileBytes + 1 - before);
        bytes.resize(before + room);
        const ssize_t got = ::read(file.get(), bytes.data() + before, size_t(room));
        if (got < 0) {
            bytes.resize(before);
            if (errno == EINTR)
                continue;
            throw IoError(QStringLiteral("Stream read error"));
        }
        bytes.resize(before + got);
        if (got == 0)
            break;
        if (bytes.size() > MaxHistoryFileBytes)
            throw TooLarge();
    }
    return HistoryFromFileBytes(bytes);
}

void SaveHistoryFile(const QString &path, QStringView history)
{
    const QByteArray bytes = HistoryToFileBytes(history);

    // The save file refuses some targets before it asks the system anything;
    // find the system's own reason for those first.
    const QByteArray nativePath = QFile::encodeName(path);
    struct stat status = {};
    if (::stat(nativePath.constData(), &status) == 0) {
        if (S_ISDIR(status.st_mode))
            throw CannotCreate(path, SystemDescription(EISDIR));
        if (::access(nativePath.constData(), W_OK) != 0)
            throw CannotCreate(path, SystemDescription(errno));
    }

    QSaveFile file(path);
    errno = 0;
    // Unbuffered, so a write that falls short shows in write() itself: a
    // failure while the save file flushes its buffer inside commit() is not
    // reported, and the cut-off content would replace the old file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int error = errno;
        throw CannotCreate(path, error != 0 ? SystemDescription(error) : file.errorString());
    }
    const bool written = file.write(bytes) == bytes.size() && file.flush() &&
                         file.error() == QFileDevice::NoError && ::fsync(file.handle()) == 0;
    if (!written) {
        file.cancelWriting();
        throw IoError(QStringLiteral("Stream write error"));
    }
    if (!file.commit()) {
        // The content is complete but could not replace the target.
        if (file.error() == QFileDevice::RenameError)
            throw CannotCreate(path, file.errorString());
        throw IoError(QStringLiteral("Stream write error"));
    }
}

} // namespace trevolo
