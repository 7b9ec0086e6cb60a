#include "history/Recovery.h"

#include "common/InterruptedSave.h"
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
#include <QRegularExpression>
#include <QSet>
#include <QSysInfo>

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
// A lock file that names no owner for this long was left by a run that died
// while making it.
constexpr int AbandonedLockSeconds = 10;

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

// The lock of a left-over, when no run of this host holds it: its owner is
// gone, or it names another host (whose runs cannot be looked at from here;
// `host` then names it), or it has been empty for a while (its owner died
// while making it).
std::unique_ptr<QLockFile> TakeLock(const QString &path, QString &host)
{
    host.clear();
    if (auto lock = TryLock(path))
        return lock;
    auto lock = std::make_unique<QLockFile>(LockPath(path));
    lock->setStaleLockTime(0);
    qint64 pid = 0;
    QString owner;
    QString application;
    const bool named = lock->getLockInfo(&pid, &owner, &application);
    const QFileInfo info(LockPath(path));
    const bool foreign = named && !owner.isEmpty() && owner != QSysInfo::machineHostName();
    const bool abandoned =
        !named && info.exists() &&
        info.lastModified().secsTo(QDateTime::currentDateTime()) >= AbandonedLockSeconds;
    if (!foreign && !abandoned)
        return nullptr;
    if (!lock->removeStaleLockFile() || !lock->tryLock(0))
        return nullptr;
    if (foreign)
        host = owner;
    return lock;
}

// Creates the file anew, writes all of `bytes` and puts them on disk; 0, or
// the system's error number. Whatever has the name already (a temporary file
// of a write cut short, or a link someone planted) is removed, never followed:
// the file is made by this call alone.
int WriteNewFile(const QByteArray &nativeName, const QByteArray &bytes)
{
    constexpr int Flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::open(nativeName.constData(), Flags, 0600);
    if (fd < 0 && errno == EEXIST && ::unlink(nativeName.constData()) == 0)
        fd = ::open(nativeName.constData(), Flags, 0600);
    if (fd < 0)
        return errno != 0 ? errno : EIO;
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
    int error = left == 0 ? 0 : (errno != 0 ? errno : ENOSPC);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno != 0 ? errno : EIO;
    if (::close(fd) != 0 && error == 0)
        error = errno != 0 ? errno : EIO;
    return error;
}

// The bytes to `path` by a temporary file and a rename, which replaces a
// link of that name rather than following it; 0, or the system's error
// number.
int WriteByRename(const QString &path, const QByteArray &bytes)
{
    const QByteArray temporary = QFile::encodeName(TemporaryPath(path));
    errno = 0;
    int error = WriteNewFile(temporary, bytes);
    if (error == 0 && ::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0)
        error = errno != 0 ? errno : EIO;
    if (error != 0)
        ::unlink(temporary.constData());
    return error;
}

// Beside a kept replaced text: what replaced it, as lines "<file name>" and
// "<ISO date and time>" (an empty name for a clearing).
QString AboutPath(const QString &path)
{
    return path + QStringLiteral(".about");
}

// Beside a table's recovery file: its place among the tables and its name,
// one line each, as a history file is written.
QString TablePath(const QString &path)
{
    return path + QStringLiteral(".table");
}

void ReadTable(LeftOverHistory &leftOver)
{
    QByteArray bytes;
    if (ReadWholeFile(TablePath(leftOver.path), bytes, 64 * 1024))
        return;
    const QStringList lines = HistoryFromFileBytes(bytes).split(u'\n');
    bool read = false;
    const int order = lines.size() >= 2 ? lines[0].toInt(&read) : -1;
    if (!read || order < 0 || lines[1].isEmpty())
        return;
    leftOver.tableOrder = order;
    leftOver.tableName = lines[1];
}

// "recovery-<date>-<time>-<pid>" of a recovery file of that run.
QString RunOf(const QString &path)
{
    const QStringList parts = QFileInfo(path).fileName().split(u'-');
    return parts.mid(0, 4).join(u'-').section(u'.', 0, 0);
}

std::optional<Replacement> ReadAbout(const QString &path)
{
    QByteArray bytes;
    if (ReadWholeFile(AboutPath(path), bytes, 64 * 1024))
        return std::nullopt;
    const QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    if (lines.size() < 2)
        return std::nullopt;
    return Replacement{lines[0], QDateTime::fromString(lines[1], Qt::ISODate)};
}

// Why a file cannot be made in `folder`: the error of creating and writing
// a small file of its own there, or EIO when that works.
int ProbeFolder(const QString &folder)
{
    const QByteArray probe = QFile::encodeName(QDir(folder).filePath(
        QStringLiteral(".probe-%1").arg(QCoreApplication::applicationPid())));
    const int error = WriteNewFile(probe, QByteArray(512, '\n'));
    ::unlink(probe.constData());
    return error != 0 ? error : EIO;
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

// Discarded files and the copies of saves in place go a while after they
// were last changed, whatever their names say; only the program's own names
// (exact, case and all) are looked at. A copy whose save waits to be undone
// (its note is there) stays.
void RemoveOldDiscarded(const QDir &folder)
{
    static const QRegularExpression discarded(
        QStringLiteral("^discarded-\\d{8}-\\d{6}(-\\d+)?\\.txt$"));
    static const QRegularExpression copy(QStringLiteral("^.+\\.\\d{8}-\\d{6}(-\\d+)?\\.old$"));
    const QDateTime limit = QDateTime::currentDateTime().addDays(-DiscardedDays);
    const QFileInfoList files = folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &file : files) {
        const QString name = file.fileName();
        if (file.isSymLink() || file.lastModified() >= limit)
            continue;
        if (discarded.match(name).hasMatch() ||
            (copy.match(name).hasMatch() && !QFileInfo::exists(SaveUnderWayNote(file.filePath()))))
            QFile::remove(file.filePath());
    }
}

} // namespace

std::unique_ptr<RecoveryStore> RecoveryStore::Open(const QString &folder, Problem &problem)
{
    const QString absolute = QDir::cleanPath(QDir(folder).absolutePath());
    problem = Problem{absolute};
    if (const auto failure = MakePrivateFolder(absolute)) {
        problem.error = failure->error;
        return nullptr;
    }
    problem.trust = TrustOfFolder(absolute);
    if (problem.trust != FolderTrust::Private)
        return nullptr;

    const QString stem = QDir(absolute).filePath(
        RecoveryPrefix + QDateTime::currentDateTime().toString(StampFormat) + u'-' +
        QString::number(QCoreApplication::applicationPid()));
    return OpenAt(absolute, stem, problem);
}

std::unique_ptr<RecoveryStore> RecoveryStore::OpenBeside(const RecoveryStore &first,
                                                         Problem &problem)
{
    problem = Problem{first.m_folder};
    return OpenAt(first.m_folder, first.m_stem, problem);
}

std::unique_ptr<RecoveryStore> RecoveryStore::OpenAt(const QString &absolute, const QString &stem,
                                                     Problem &problem)
{
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const QString path =
            stem + (attempt > 1 ? u'-' + QString::number(attempt) : QString()) + TextSuffix;
        // A name a past run used is its left-over, not this run's.
        if (QFileInfo::exists(path))
            continue;
        auto lock = std::make_unique<QLockFile>(LockPath(path));
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0)) {
            if (lock->error() == QLockFile::LockFailedError)
                continue;
            // No lock file can be made here (a full disk, no rights): the
            // cause is what making a file of one's own in the folder meets.
            problem.error = ProbeFolder(absolute);
            return nullptr;
        }
        if (QFileInfo::exists(path))
            continue;
        return std::unique_ptr<RecoveryStore>(
            new RecoveryStore(absolute, stem, path, std::move(lock)));
    }
    problem.error = EEXIST;
    return nullptr;
}

RecoveryStore::RecoveryStore(QString folder, QString stem, QString path,
                             std::unique_ptr<QLockFile> lock)
    : m_folder(std::move(folder)), m_stem(std::move(stem)), m_path(std::move(path)),
      m_lock(std::move(lock))
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

bool RecoveryStore::SetTable(int order, const QString &name)
{
    const std::lock_guard guard(m_mutex);
    if (m_tableOrder == order && (order < 0 || m_tableName == name))
        return false;
    m_tableOrder = order;
    m_tableName = name;
    return true;
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

void RecoveryStore::KeepReplaced(QString text, Replacement by)
{
    const QString stem = m_path.chopped(TextSuffix.size()) + QStringLiteral("-replaced-");
    for (int attempt = int(m_replaced.size()) + 1; attempt <= int(m_replaced.size()) + 100;
         ++attempt) {
        const QString path = stem + QString::number(attempt) + TextSuffix;
        if (QFileInfo::exists(path))
            continue;
        auto lock = TryLock(path);
        if (!lock)
            continue;
        m_replaced.emplace_back(path, std::move(lock));
        {
            const std::lock_guard guard(m_mutex);
            m_kept.push_back({path, std::move(text), std::move(by)});
        }
        m_wake.notify_one();
        return;
    }
}

void RecoveryStore::RemoveAll()
{
    Remove();
    Flush();
    for (auto &[path, lock] : m_replaced) {
        QFile::remove(TemporaryPath(path));
        QFile::remove(path);
        QFile::remove(AboutPath(path));
        QFile::remove(TemporaryPath(AboutPath(path)));
    }
    if (!m_replaced.empty())
        SyncFolder(m_folder);
    m_replaced.clear();
}

void RecoveryStore::Flush()
{
    std::unique_lock guard(m_mutex);
    WaitUntilIdle(guard);
}

void RecoveryStore::WaitUntilIdle(std::unique_lock<std::mutex> &guard)
{
    m_idle.wait(guard,
                [this] { return m_pending == Action::None && m_kept.empty() && !m_busy; });
}

void RecoveryStore::Run()
{
    std::unique_lock guard(m_mutex);
    for (;;) {
        m_wake.wait(guard, [this] {
            return m_pending != Action::None || !m_kept.empty() || m_stopping;
        });
        if (m_pending == Action::None && m_kept.empty())
            return; // stopping, with nothing left to do
        // A replaced text first: it is older than the text waiting.
        std::optional<Kept> kept;
        Action action = Action::None;
        if (!m_kept.empty()) {
            kept = std::move(m_kept.front());
            m_kept.erase(m_kept.begin());
        } else {
            action = std::exchange(m_pending, Action::None);
        }
        QString text = action == Action::Write ? std::exchange(m_text, QString()) : QString();
        m_busy = true;
        guard.unlock();
        try {
            if (kept)
                WriteKept(*kept);
            else if (action == Action::Write)
                Write(text);
            else
                RemoveFiles();
        } catch (const std::exception &) {
            // Out of memory for the file's bytes: the file keeps its last
            // content, and the next text tries again.
        }
        text = QString();
        kept.reset();
        guard.lock();
        m_busy = false;
        m_idle.notify_all();
    }
}

void RecoveryStore::Write(const QString &text)
{
    int order = -1;
    QString name;
    {
        const std::lock_guard guard(m_mutex);
        order = m_tableOrder;
        name = m_tableName;
    }
    // The table's place and name first: the text is never there without.
    int error = order < 0 ? 0
                          : WriteByRename(TablePath(m_path),
                                          HistoryToFileBytes(QString::number(order) + u'\n' +
                                                             name + u'\n'));
    if (order < 0)
        QFile::remove(TablePath(m_path));
    if (error == 0)
        error = WriteByRename(m_path, HistoryToFileBytes(text));
    if (error == 0) {
        if (const auto failure = SyncFolder(m_folder))
            error = failure->error;
    }
    Report(error);
}

void RecoveryStore::WriteKept(const Kept &kept)
{
    // What replaced it first: the text is never there without it.
    const QByteArray about =
        (kept.by.fileName + u'\n' + kept.by.at.toString(Qt::ISODate) + u'\n').toUtf8();
    int error = WriteByRename(AboutPath(kept.path), about);
    if (error == 0)
        error = WriteByRename(kept.path, HistoryToFileBytes(kept.text));
    if (error == 0) {
        if (const auto synced = SyncFolder(m_folder))
            error = synced->error;
    }
    Report(error);
}

void RecoveryStore::Report(int error)
{
    std::function<void(int)> report;
    {
        const std::lock_guard guard(m_mutex);
        report = m_report;
    }
    if (report)
        report(error);
}

void RecoveryStore::SetReport(std::function<void(int)> report)
{
    const std::lock_guard guard(m_mutex);
    m_report = std::move(report);
}

void RecoveryStore::RemoveFiles()
{
    QFile::remove(TemporaryPath(m_path));
    QFile::remove(m_path);
    QFile::remove(TablePath(m_path));
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
    for (const auto &replaced : m_replaced)
        names.remove(QFileInfo(replaced.first).fileName());

    std::vector<LeftOverHistory> leftOvers;
    for (const QString &name : std::as_const(names)) {
        const QString path = folder.filePath(name);
        QString host;
        auto lock = TakeLock(path, host);
        if (!lock)
            continue; // its run is still going
        // A run killed before its first rename left only the text it was
        // writing; otherwise the recovery file is the complete one. A
        // replaced text (the one with what replaced it beside it) is written
        // once and whole: alone, its temporary file is a write cut short.
        if (!QFileInfo::exists(path) && !QFileInfo::exists(AboutPath(path)))
            QFile::rename(TemporaryPath(path), path);
        QFile::remove(TemporaryPath(path));
        if (!QFileInfo::exists(path)) {
            // Killed before a replaced text was written whole: nothing to offer.
            QFile::remove(AboutPath(path));
            QFile::remove(TablePath(path));
            continue;
        }
        QByteArray bytes;
        if (ReadWholeFile(path, bytes))
            continue; // gone, or nothing that can be offered; it stays as it is
        if (bytes.isEmpty()) {
            QFile::remove(path);
            QFile::remove(AboutPath(path));
            QFile::remove(TablePath(path));
            continue;
        }
        LeftOverHistory leftOver;
        leftOver.path = path;
        leftOver.text = HistoryFromFileBytes(bytes);
        bytes = QByteArray();
        leftOver.lines = CountLines(leftOver.text);
        leftOver.modified = QFileInfo(path).lastModified();
        leftOver.replacedBy = ReadAbout(path);
        ReadTable(leftOver);
        leftOver.run = RunOf(path);
        leftOver.host = host;
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
    QFile::remove(AboutPath(leftOver.path));
    // Its table's place and name go with it, until the window sets them.
    if (leftOver.tableOrder >= 0)
        QFile::rename(TablePath(leftOver.path), TablePath(m_path));
    SyncFolder(m_folder);
    leftOver.lock.reset();
    return true;
}

bool RecoveryStore::Discard(LeftOverHistory &leftOver)
{
    if (!leftOver.lock || !DiscardFile(leftOver.path))
        return false;
    QFile::remove(AboutPath(leftOver.path));
    QFile::remove(TablePath(leftOver.path));
    leftOver.lock.reset();
    return true;
}

bool RecoveryStore::DiscardFile(const QString &file)
{
    const QString stem = QDir(m_folder).filePath(
        DiscardedPrefix + QDateTime::currentDateTime().toString(StampFormat));
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const QString path =
            stem + (attempt > 1 ? u'-' + QString::number(attempt) : QString()) + TextSuffix;
        if (RenameToFreeName(file, path)) {
            SyncFolder(m_folder);
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

} // namespace trevolo
