#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace trevolo {

// The message that an input/output failure carries, from the system's error
// number: "File not found", "File access denied", "Invalid filename",
// "Disk full", or "I/O error <n>" for any other cause.
QString RunTimeIoMessage(int errnoValue);

// Raises IoError with RunTimeIoMessage(errnoValue).
[[noreturn]] void ThrowIoError(int errnoValue);

// Reads the whole file into `bytes` (which is replaced). Returns 0, or the
// system error number of the failing step; after a failed read `bytes`
// holds what was read before it. An empty name is refused with EINVAL.
int ReadWholeFile(const QString &fileName, QByteArray &bytes);

// Replaces the file with `bytes`. The new content goes to a temporary file in
// the same folder, which takes the old file's place only once it is complete,
// so a failed save leaves the previous file as it was. Returns 0, or the
// system error number of the failing step.
int SaveWholeFile(const QString &fileName, QByteArrayView bytes);

} // namespace trevolo
