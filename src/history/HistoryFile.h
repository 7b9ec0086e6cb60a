#pragma once

#include "common/StateFolder.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QtGlobal>

namespace trevolo {

// The largest history file that is loaded; the history box is not meant for
// more. A larger file is refused before it is read.
constexpr qint64 MaxHistoryFileBytes = qint64(64) * 1024 * 1024;

// Reads the whole history file at `path` and returns its text in the
// in-memory form (HistoryFromFileBytes). Throws IoError:
// - "Cannot open file \"<absolute path>\". <system description>" when the file
//   cannot be opened for reading (missing, a directory, no rights, ...), with
//   "Not a regular file" as the description for a named pipe or a device;
// - "Text exceeds memo capacity" for a file over MaxHistoryFileBytes;
// - "Stream read error" when reading fails part way.
QString LoadHistoryFile(const QString &path);

// Writes `history` to `path` in the file form (HistoryToFileBytes), replacing
// an existing file without asking. The new content is written to a temporary
// file beside the target and put in place only when complete, so on any
// failure an existing file keeps its old content. Throws IoError:
// - "Cannot create file \"<absolute path>\". <system description>" when the
//   file cannot be created or replaced (the same description for a named pipe
//   or a device, which is left alone); in a folder that takes no new file an
//   existing file is rewritten in place, with a copy of it kept in
//   `backupFolder` meanwhile;
// - "Stream write error. <system description>" when the content cannot be
//   written in full; after a
//   failed rewrite in place followed by where the copy of the old content is
//   kept (WithKeptCopy).
void SaveHistoryFile(const QString &path, QStringView history,
                     const QString &backupFolder = StateFolderPath());

// Writes `bytes` to `path` as SaveHistoryFile writes a history, with the same
// errors: the file is whole or left as it was.
void SaveFileBytes(const QString &path, QByteArrayView bytes,
                   const QString &backupFolder = StateFolderPath());

} // namespace trevolo
