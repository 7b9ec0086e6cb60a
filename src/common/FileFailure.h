#pragma once

#include <QString>

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
    // The name leads to something other than a regular file or a folder (a
    // named pipe, a device, a socket), which is refused with EINVAL before a
    // byte moves.
    bool notRegularFile = false;
    // After a failed rewrite in place: the copy of the old content, kept in
    // the backup folder; empty when the file was not touched.
    QString keptCopy = QString();
};

} // namespace trevolo
