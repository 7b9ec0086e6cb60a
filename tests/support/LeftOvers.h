#pragma once

// Recovery files as runs of the program leave them: one of a run that ended
// without removing its file, and the lock files that show a run going on.
#include "history/Recovery.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QString>
#include <QThread>

namespace trevolo {

// The recovery file of a run that ended without removing it (a crash, a
// termination signal), holding `text`; its path, or "" when the folder
// cannot be used.
inline QString LeaveEndedRun(const QString &folder, const QString &text)
{
    RecoveryStore::Problem problem;
    const auto store = RecoveryStore::Open(folder, problem);
    if (!store)
        return QString();
    store->Submit(text);
    store->Flush();
    return store->FilePath();
}

// The recovery files in `folder` whose lock names the process `pid` (a run
// going on holds its own file and every left-over it offers).
inline QStringList LockedBy(const QString &folder, qint64 pid)
{
    QStringList held;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.lock")}, QDir::Files)) {
        QFile lock(dir.filePath(name));
        if (lock.open(QIODevice::ReadOnly) && lock.readLine().trimmed().toLongLong() == pid)
            held.append(name.chopped(5));
    }
    held.sort();
    return held;
}

// Waits up to `msecs` until `pid` holds at least `count` recovery files in
// `folder`; false when it does not.
inline bool WaitForLocks(const QString &folder, qint64 pid, int count, int msecs = 30000)
{
    const QDeadlineTimer deadline(msecs);
    while (LockedBy(folder, pid).size() < count) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

} // namespace trevolo
