#include "common/IntegerText.h"

#include "common/Error.h"

namespace trevolo {

ConvertError::ConvertError(const QString &text)
    : Error(QStringLiteral("'%1' is not a valid integer value").arg(text))
{}

namespace {

int hexDigit(char16_t c) noexcept
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

} // namespace

std::optional<qint32> TryStrToInt(QStringView text) noexcept
{
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();

    while (p != end && *p == u' ')
        ++p;
    bool negative = false;
    if (p != end && (*p == u'+' || *p == u'-')) {
        negative = *p == u'-';
        ++p;
    }
    if (p == end)
        return std::nullopt;

    bool hex = false;
    if (*p == u'$' || *p == u'x' || *p == u'X') {
        hex = true;
        ++p;
    } else if (*p == u'0' && end - p >= 2 && (p[1] == u'x' || p[1] == u'X')) {
        hex = true;
        p += 2;
    }
    if (p == end)
        return std::nullopt;

    // Accumulate in 64 bits and stop as soon as the value leaves the range, so
    // any number of (leading zero) digits is handled without overflow.
    quint64 value = 0;
    if (hex) {
        for (; p != end; ++p) {
            const int d = hexDigit(*p);
            if (d < 0)
                return std::nullopt;
            value = value * 16 + quint64(d);
            if (value > 0xFFFFFFFFull)
                return std::nullopt;
        }
        const quint32 pattern = quint32(value);
        return qint32(negative ? 0u - pattern : pattern);
    }

    const quint64 limit = negative ? 2147483648ull : 2147483647ull;
    for (; p != end; ++p) {
        if (*p < u'0' || *p > u'9')
            return std::nullopt;
        value = value * 10 + quint64(*p - u'0');
        if (value > limit)
            return std::nullopt;
    }
    return negative ? qint32(-qint64(value)) : qint32(value);
}

qint32 StrToInt(QStringView text)
{
    if (const auto value = TryStrToInt(text))
        return *value;
    throw ConvertError(text.toString());
}

QString IntToStr(qint32 value)
{
    return QString::number(value);
}

} // namespace trevolo
