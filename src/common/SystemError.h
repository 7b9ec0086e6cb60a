#pragma once

#include <QString>

namespace trevolo {

// The message that an input/output failure carries, from the system's error
// number: "File not found", "File access denied", "Invalid filename",
// "Disk full", or "I/O error <n>" for any other cause.
QString RunTimeIoMessage(int errnoValue);

// Raises IoError with RunTimeIoMessage(errnoValue).
[[noreturn]] void ThrowIoError(int errnoValue);

} // namespace trevolo
