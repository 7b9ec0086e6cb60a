#include "common/Cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace trevolo {

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

} // namespace trevolo
