#include "history/Recovery.h"

#include "common/StateFolder.h"
#include "common/WholeFile.h"
#include "history/HistoryFile.h"
#include "history/HistoryText.h"

#include "common/Lines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace trevolo {

namespace {

const QString RecoveryPrefix = QStringLiteral("recovery-");
const QString DiscardedPrefix = QStringLiteral("discarded-");
const QString TextSuffix = QStringLiteral(".txt");
const QString StampFormat = QStringLiteral("yyyyMMdd-HHmmss");
constexpr int DiscardedDays = 30;

QString LockPath(const QString &path)
{
    return path + QStringLiteral(".lock");
}

QString TemporaryPath(const QString &path)
{
    return path + QStringLiteral(".tmp");
}

// A lock that counts only its owner's being alive, however old it is.
std::unique_ptr<QLockFile> TryLock(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(LockPath(path));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

// Creates (or empties) the file, writes all of `bytes` and puts them on disk.
bool WriteNewFile(const QByteArray &nativeName, const QByteArray &bytes)
{
    const int fd = ::open(nativeName.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            break;
        data += written;
        left -= written;
    }
    const bool synced = left == 0 && ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

// Renames without replacing a file of the new name; false when it is taken
// (errno EEXIST) or the rename fails.
bool RenameToFreeName(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return true;
    // A file system that cannot refuse to replace: looked at first instead.
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    if (QFileInfo::exists(to)) {
        errno = EEXIST;
        return false;
    }
    return ::rename(source.constData(), target.constData()) == 0;
}

// Discarded files carry the moment they were discarded in their names.
void RemoveOldDiscarded(const QDir &folder)
{
    const QDateTime limit = QDateTime::currentDateTime().addDays(-DiscardedDays);
    const QStringList names = folder.entryList({DiscardedPrefix + u'*' + TextSuffix}, QDir::Files);
    for (const QString &name : names) {
        const QDateTime discarded = QDateTime::fromString(
            name.mid(DiscardedPrefix.size(), StampFormat.size()), StampFormat);
        if (discarded.isValid() && discarded < limit)
            QFile::remove(folder.filePath(name));
    }
}

} // namespace

std::unique_ptr<RecoveryStore> RecoveryStore::Open(const QString &folder, QString &problem)
{
    const QString absolute = QDir::cleanPath(QDir(folder).absolutePath());
    const auto cannotUse = [&](int error) {
        problem = QStringLiteral("Unsaved spins cannot be kept for recovery: the folder \"%1\" "
                                 "cannot be used (%2).")
                      .arg(QDir::toNativeSeparators(absolute),
                           QString::fromLocal8Bit(std::strerror(error)));
        return nullptr;
    };
    if (const auto failure = MakePrivateFolder(absolute))
        return cannotUse(failure->error);

    const QString stem = QDir(absolute).filePath(
        RecoveryPrefix + QDateTime::currentDateTime().toString(StampFormat) + u'-' +
        QString::number(QCoreApplication::applicationPid()));
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const QString path =
            stem + (attempt > 1 ? u'-' + QString::number(attempt) : QString()) + TextSuffix;
        // A name a past run used is its left-over, not this run's.
        if (QFileInfo::exists(path))
            continue;
        auto lock = TryLock(path);
        if (!lock)
            continue;
        if (QFileInfo::exists(path))
            continue;
        return std::unique_ptr<RecoveryStore>(new RecoveryStore(absolute, path, std::move(lock)));
    }
    return cannotUse(EEXIST);
}

RecoveryStore::RecoveryStore(QString folder, QString path, std::unique_ptr<QLockFile> lock)
    : m_folder(std::move(folder)), m_path(std::move(path)), m_lock(std::move(lock))
{
    m_thread = std::thread([this] { Run(); });
}

RecoveryStore::~RecoveryStore()
{
    {
        const std::lock_guard guard(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void RecoveryStore::Submit(QString text)
{
    {
        const std::lock_guard guard(m_mutex);
        m_pending = Action::Write;
        m_text.swap(text);
    }
    m_wake.notify_one();
    // The text it replaces, if any, is let go here, outside the lock.
}

void RecoveryStore::Remove()
{
    QString dropped;
    {
        const std::lock_guard guard(m_mutex);
        m_pending = Action::Remove;
        m_text.swap(dropped);
    }
    m_wake.notify_one();
}

void RecoveryStore::Flush()
{
    std::unique_lock guard(m_mutex);
    WaitUntilIdle(guard);
}

void RecoveryStore::WaitUntilIdle(std::unique_lock<std::mutex> &guard)
{
    m_idle.wait(guard, [this] { return m_pending == Action::None && !m_busy; });
}

void RecoveryStore::Run()
{
    std::unique_lock guard(m_mutex);
    for (;;) {
        m_wake.wait(guard, [this] { return m_pending != Action::None || m_stopping; });
        if (m_pending == Action::None)
            return; // stopping, with nothing left to do
        const Action action = std::exchange(m_pending, Action::None);
        QString text = std::exchange(m_text, QString());
        m_busy = true;
        guard.unlock();
        try {
            if (action == Action::Write)
                Write(text);
            else
                RemoveFiles();
        } catch (const std::exception &) {
            // Out of memory for the file's bytes: the file keeps its last
            // content, and the next text tries again.
        }
        text = QString();
        guard.lock();
        m_busy = false;
        m_idle.notify_all();
    }
}

void RecoveryStore::Write(const QString &text)
{
    const QByteArray temporary = QFile::encodeName(TemporaryPath(m_path));
    if (!WriteNewFile(temporary, HistoryToFileBytes(text)) ||
        ::rename(temporary.constData(), QFile::encodeName(m_path).constData()) != 0) {
        ::unlink(temporary.constData());
        return;
    }
    SyncFolder(m_folder);
}

void RecoveryStore::RemoveFiles()
{
    QFile::remove(TemporaryPath(m_path));
    QFile::remove(m_path);
    SyncFolder(m_folder);
}

std::vector<LeftOverHistory> RecoveryStore::TakeLeftOvers()
{
    const QDir folder(m_folder);
    RemoveOldDiscarded(folder);

    // Every run's files: its recovery file, the lock beside it, and a
    // temporary file when a write was cut short.
    QSet<QString> names;
    const QStringList entries =
        folder.entryList({RecoveryPrefix + u'*' + TextSuffix + u'*'}, QDir::Files);
    for (const QString &entry : entries)
        names.insert(entry.left(entry.lastIndexOf(TextSuffix) + TextSuffix.size()));
    names.remove(QFileInfo(m_path).fileName());

    std::vector<LeftOverHistory> leftOvers;
    for (const QString &name : std::as_const(names)) {
        const QString path = folder.filePath(name);
        auto lock = TryLock(path);
        if (!lock)
            continue; // its run is still going
        QFile::remove(TemporaryPath(path));
        QByteArray bytes;
        if (ReadWholeFile(path, bytes, MaxHistoryFileBytes))
            continue; // gone, or nothing that can be offered; it stays as it is
        if (bytes.isEmpty()) {
            QFile::remove(path);
            continue;
        }
        LeftOverHistory leftOver;
        leftOver.path = path;
        leftOver.text = HistoryFromFileBytes(bytes);
        leftOver.lines = CountLines(leftOver.text);
        leftOver.modified = QFileInfo(path).lastModified();
        leftOver.lock = std::move(lock);
        leftOvers.push_back(std::move(leftOver));
    }
    std::sort(leftOvers.begin(), leftOvers.end(), [](const auto &a, const auto &b) {
        return a.modified != b.modified ? a.modified > b.modified : a.path > b.path;
    });
    return leftOvers;
}

bool RecoveryStore::Adopt(LeftOverHistory &leftOver)
{
    if (!leftOver.lock)
        return false;
    {
        std::unique_lock guard(m_mutex);
        m_pending = Action::None;
        m_text = QString();
        WaitUntilIdle(guard);
        if (::rename(QFile::encodeName(leftOver.path).constData(),
                     QFile::encodeName(m_path).constData()) != 0)
            return false;
    }
    SyncFolder(m_folder);
    leftOver.lock.reset();
    return true;
}

bool RecoveryStore::Discard(LeftOverHistory &leftOver)
{
    if (!leftOver.lock)
        return false;
    const QString stem = QDir(m_folder).filePath(
        DiscardedPrefix + QDateTime::currentDateTime().toString(StampFormat));
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const QString path =
            stem + (attempt > 1 ? u'-' + QString::number(attempt) : QString()) + TextSuffix;
        if (RenameToFreeName(leftOver.path, path)) {
            SyncFolder(m_folder);
            leftOver.lock.reset();
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

} // namespace trevolo
