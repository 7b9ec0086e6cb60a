#include "common/Cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <bitset>

namespace trevolo {

namespace {

// The characters of the code page: those its 256 bytes decode to.
const std::bitset<0x10000> &Cp1251Characters()
{
    static const std::bitset<0x10000> table = [] {
        QByteArray everyByte(256, '\0');
        for (int b = 0; b < 256; ++b)
            everyByte[b] = char(b);
        std::bitset<0x10000> held;
        for (const QChar c : FromCp1251(everyByte))
            held.set(c.unicode());
        return held;
    }();
    return table;
}

} // namespace

QString FromCp1251(QByteArrayView bytes)
{
    QStringDecoder decoder("windows-1251");
    return decoder.decode(bytes);
}

QByteArray ToCp1251(QStringView text)
{
    QStringEncoder encoder("windows-1251");
    return encoder.encode(text);
}

QString LimitToCp1251(QStringView text)
{
    const auto &held = Cp1251Characters();
    QString result;
    result.reserve(text.size());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < size && text[i + 1].isLowSurrogate()) {
            ++i; // one character outside the basic plane, which the code page lacks
            result.append(u'?');
        } else {
            // A lone surrogate is no character, and the table holds none.
            result.append(held.test(c.unicode()) ? c : QChar(u'?'));
        }
    }
    return result;
}

} // namespace trevolo
