#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace trevolo {

// How every integer is read from text: optional blanks (character 32 only),
// an optional sign, then decimal digits within the signed 32-bit range, or
// hexadecimal digits after "$", "x", "X", "0x" or "0X" taken as a 32-bit
// pattern. Nothing may follow; the empty text fails.
std::optional<qint32> TryStrToInt(QStringView text) noexcept;

// The same rule; a refused text raises ConvertError
// ("'<text>' is not a valid integer value").
qint32 StrToInt(QStringView text);

// Plain decimal: "-" for negatives, no leading zeros, no separators.
QString IntToStr(qint32 value);

} // namespace trevolo
