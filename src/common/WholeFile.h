#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <limits>
#include <optional>

namespace trevolo {

// Where a whole-file read or save failed, with the system's error number:
// opening (or creating, or putting the new file in place), or moving the
// bytes themselves.
struct FileFailure
{
    enum class Step
    {
        Open,
        Transfer
    };
    Step step;
    int error;
};

// Reads the whole file into `bytes` (which is replaced); after a failed read
// `bytes` holds what was read before it. An empty name is refused with
// EINVAL, a folder with EISDIR, and a file of more than `limit` bytes with
// EFBIG, by its size before anything is read where the size is known.
std::optional<FileFailure> ReadWholeFile(const QString &fileName, QByteArray &bytes,
                                         qint64 limit = std::numeric_limits<qint64>::max());

// Replaces the file with `bytes`. The new content goes to a temporary file in
// the same folder, which takes the old file's place only once it is complete
// and on disk, so a failed save leaves the previous file as it was.
std::optional<FileFailure> SaveWholeFile(const QString &fileName, QByteArrayView bytes);

} // namespace trevolo
