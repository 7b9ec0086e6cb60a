#pragma once

#include <QDateTime>
#include <QLockFile>
#include <QString>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace trevolo {

// A history that a run which ended without saving it left behind. While the
// object lives, this program holds the file's lock, so no other run offers,
// changes or deletes it; dropping the object leaves the file for a later
// start.
struct LeftOverHistory
{
    QString path;
    QString text; // in memory form, read as a history file is
    qint32 lines = 0;
    QDateTime modified;
    std::unique_ptr<QLockFile> lock;
};

// The recovery file of this run: the newest history text the window showed,
// kept in the state folder in the history file form (code page 1251, CR LF),
// so that it survives a crash. Each run owns one file, held by a lock file
// beside it; files of runs that ended without removing theirs are left-overs,
// which the next start offers.
//
// All members are called from one thread (the window's). Files are written on
// a thread of the store's own: a new content goes to a temporary file, is put
// on disk, takes the recovery file's place by a rename, and the folder is put
// on disk; the recovery file is always a complete content.
class RecoveryStore
{
public:
    // Creates the folder when needed (mode 0700) and takes this run's
    // recovery file there, not yet written. Null, with `problem` saying why,
    // when the folder cannot be used.
    static std::unique_ptr<RecoveryStore> Open(const QString &folder, QString &problem);

    // Finishes what is pending and keeps the recovery file when it was not
    // removed, for the next start to offer; only the lock goes.
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    const QString &Folder() const noexcept { return m_folder; }
    const QString &FilePath() const noexcept { return m_path; }

    // The history text (lines separated by "\n") that the recovery file is
    // to hold from now on. Returns at once: the text is written on the
    // store's thread; while a write runs, only the newest text waiting is
    // kept.
    void Submit(QString text);
    // Nothing is left to lose: the recovery file goes, after a write that is
    // under way; a text waiting is dropped.
    void Remove();
    // Waits until what was submitted or removed is on disk.
    void Flush();

    // The left-overs of runs that no longer run, newest first, each held by
    // this program. An empty left-over file is removed instead. Also removes
    // discarded files older than 30 days.
    std::vector<LeftOverHistory> TakeLeftOvers();
    // The left-over becomes this run's recovery file (a text waiting to be
    // written is dropped): for when the window shows its text instead.
    // False, and the left-over kept, when that fails.
    bool Adopt(LeftOverHistory &leftOver);
    // Keeps the left-over in the folder as "discarded-<yyyyMMdd-HHmmss>.txt";
    // false when that fails, and it stays a left-over.
    bool Discard(LeftOverHistory &leftOver);

private:
    enum class Action
    {
        None,
        Write,
        Remove
    };

    RecoveryStore(QString folder, QString path, std::unique_ptr<QLockFile> lock);
    void Run();
    void Write(const QString &text);
    void RemoveFiles();
    void WaitUntilIdle(std::unique_lock<std::mutex> &guard);

    const QString m_folder;
    const QString m_path;
    const std::unique_ptr<QLockFile> m_lock;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    Action m_pending = Action::None;
    QString m_text; // for a pending write
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace trevolo
