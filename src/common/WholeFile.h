#pragma once

#include "common/FileFailure.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <limits>
#include <optional>

namespace trevolo {

// Reads the whole file into `bytes` (which is replaced); after a failed read
// `bytes` holds what was read before it. An empty name is refused with
// EINVAL, a folder with EISDIR, anything else that is no regular file (also
// through a symlink) as notRegularFile, and a file of more than `limit` bytes
// with EFBIG, by its size before anything is read. Opening never waits, not
// even for the writer of a named pipe.
std::optional<FileFailure> ReadWholeFile(const QString &fileName, QByteArray &bytes,
                                         qint64 limit = std::numeric_limits<qint64>::max());

// Replaces the file with `bytes`. The new content goes to a temporary file in
// the same folder, which takes the old file's place only once it is complete
// and on disk, so a failed save leaves the previous file as it was. A symlink
// is written through to its target. Only regular files are written: a folder
// is refused with EISDIR, anything else as notRegularFile, and left alone.
// When the folder takes no new file (no rights to it) but the file itself may
// be written, the file is rewritten in place instead (RewriteWholeFileInPlace)
// with a copy of it kept in `backupFolder`; without a backup folder such a
// save is refused like any other file that cannot be created.
std::optional<FileFailure> SaveWholeFile(const QString &fileName, QByteArrayView bytes,
                                         const QString &backupFolder = QString());

// Writes `bytes` over the existing regular file `fileName`, for a folder that
// takes no new file. First a copy of the file goes to `backupFolder` (created
// when missing, mode 0700) and the disk space for the new content is
// reserved, so a full disk fails before the file is touched. Then the new
// content is written and put on disk, and the copy removed. Should that part
// fail, the old content is written back and the failure names the copy
// (keptCopy), which stays; a kill part way leaves the copy too.
std::optional<FileFailure> RewriteWholeFileInPlace(const QString &fileName, QByteArrayView bytes,
                                                   const QString &backupFolder);

// `message`, followed by where the old content is kept when the failure left
// a copy: <message>. The old content is kept in "<copy>"
QString WithKeptCopy(const QString &message, const FileFailure &failure);

} // namespace trevolo
