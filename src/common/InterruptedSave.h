#pragma once

// A rewrite in place (RewriteWholeFileInPlace) that did not finish: its copy
// of the old content is still in the backup folder, and beside it the note
// naming the file it was made of.
#include <QString>

#include <vector>

namespace trevolo {

// The note beside a copy while its rewrite in place is under way:
// "<copy>.file", holding the file's absolute path (UTF-8).
QString SaveUnderWayNote(const QString &copy);

struct InterruptedSave
{
    QString file; // the file that was being rewritten
    QString copy; // its old content
};

// The rewrites in place that a run left unfinished in `backupFolder`, oldest
// first; a note whose copy is gone is removed.
std::vector<InterruptedSave> FindInterruptedSaves(const QString &backupFolder);

// Writes the copy's content back over the file (as a save does, in place
// when the folder takes no new file) and removes the copy and its note; 0,
// or the system's error number, and both stay.
int RestoreInterruptedSave(const InterruptedSave &save, const QString &backupFolder);

// The rewrite is not to be undone: the note goes, the copy stays.
void ForgetInterruptedSave(const InterruptedSave &save);

} // namespace trevolo
