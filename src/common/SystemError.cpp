#include "common/SystemError.h"

#include "common/Error.h"

#include <cerrno>

namespace trevolo {

QString RunTimeIoMessage(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT:
        return QStringLiteral("File not found");
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("File access denied");
    case ENAMETOOLONG:
    case EINVAL:
    case ENOTDIR:
    case EISDIR:
        return QStringLiteral("Invalid filename");
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("Disk full");
    default:
        return QStringLiteral("I/O error %1").arg(errnoValue);
    }
}

void ThrowIoError(int errnoValue)
{
    throw IoError(RunTimeIoMessage(errnoValue));
}

} // namespace trevolo
