#pragma once

#include "common/StateFolder.h"

#include <QDateTime>
#include <QLockFile>
#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace trevolo {

// What took the place of a history kept as replaced (RecoveryStore::KeepReplaced):
// the load of a file, or a clearing when `fileName` is empty, at `at`.
struct Replacement
{
    QString fileName;
    QDateTime at;
};

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
    // Set when the run kept it because a load or a clearing replaced it.
    std::optional<Replacement> replacedBy;
    // The host whose run left it, when not this one.
    QString host;
    // For a table's file (RecoveryStore::SetTable): its place among the
    // tables of its run and its name; -1 for a run's only history.
    int tableOrder = -1;
    QString tableName;
    // The run that left it: the files of one run's tables share it.
    QString run;
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
    // Why a folder cannot be used: the system's error number, or the folder
    // is not the user's own (FolderTrust).
    struct Problem
    {
        QString folder;
        int error = 0;
        FolderTrust trust = FolderTrust::Private;
    };
    // Creates the folder when needed (mode 0700) and takes this run's
    // recovery file there, not yet written. Null, with `problem` saying why,
    // when the folder cannot be used: also when it belongs to another user
    // or others may write in it.
    static std::unique_ptr<RecoveryStore> Open(const QString &folder, Problem &problem);
    // Another recovery file of the same run as `first` (for another table
    // of the window), in its folder.
    static std::unique_ptr<RecoveryStore> OpenBeside(const RecoveryStore &first, Problem &problem);

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
    // The file belongs to a table of several: written beside it with every
    // write from now on, its place among the tables and its name, so that
    // a later start brings the tables of a run back together. Order -1: a
    // history of its own, as when there is one table.
    // True when that differs from what it was set to before.
    bool SetTable(int order, const QString &name);
    // Nothing is left to lose: the recovery file goes, after a write that is
    // under way; a text waiting is dropped.
    void Remove();
    // Waits until what was submitted or removed is on disk.
    void Flush();
    // A text replaced before it was saved: kept in a file of its own of this
    // run (written as the recovery file is, on the store's thread), with what
    // replaced it, until RemoveAll. After a crash it is a left-over as well.
    void KeepReplaced(QString text, Replacement by);
    // The program ends normally: the recovery file and the replaced texts
    // go, at once.
    void RemoveAll();
    // Called on the store's thread after every write: 0 when it succeeded,
    // else the system's error number.
    void SetReport(std::function<void(int error)> report);

    // The left-overs of runs that no longer run, newest first, each held by
    // this program. An empty left-over file is removed instead. Also removes
    // discarded files and copies of saves in place (whose save is not
    // waiting to be undone) last changed more than 30 days ago.
    std::vector<LeftOverHistory> TakeLeftOvers();
    // The left-over becomes this run's recovery file (a text waiting to be
    // written is dropped): for when the window shows its text instead.
    // False, and the left-over kept, when that fails.
    bool Adopt(LeftOverHistory &leftOver);
    // Keeps the left-over in the folder as "discarded-<yyyyMMdd-HHmmss>.txt";
    // false when that fails, and it stays a left-over.
    bool Discard(LeftOverHistory &leftOver);
    // The same for any file of the folder (the copy of a save in place).
    bool DiscardFile(const QString &path);

private:
    enum class Action
    {
        None,
        Write,
        Remove
    };

    RecoveryStore(QString folder, QString stem, QString path, std::unique_ptr<QLockFile> lock);
    static std::unique_ptr<RecoveryStore> OpenAt(const QString &folder, const QString &stem,
                                                 Problem &problem);
    void Run();
    void Write(const QString &text);
    void RemoveFiles();
    void WaitUntilIdle(std::unique_lock<std::mutex> &guard);
    struct Kept
    {
        QString path;
        QString text;
        Replacement by;
    };
    void WriteKept(const Kept &kept);
    void Report(int error);

    const QString m_folder;
    const QString m_stem; // the run's part of the file's path
    const QString m_path;
    const std::unique_ptr<QLockFile> m_lock;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    Action m_pending = Action::None;
    QString m_text; // for a pending write
    // SetTable's, written with the text.
    int m_tableOrder = -1;
    QString m_tableName;
    std::vector<Kept> m_kept; // replaced texts waiting to be written
    // The files of replaced texts of this run, each held by its own lock.
    std::vector<std::pair<QString, std::unique_ptr<QLockFile>>> m_replaced;
    std::function<void(int)> m_report;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace trevolo
