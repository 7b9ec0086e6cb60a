#pragma once

#include <QString>

namespace trevolo {

// The text of the standard error box for an error message: the message with a
// full stop appended when the code of its last character is greater than that
// of "." (so a message ending in ".", "!" or ")" gets none, nor does the empty
// message).
inline QString ErrorBoxText(const QString &message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

} // namespace trevolo
