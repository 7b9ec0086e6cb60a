#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace trevolo {

// Texts in files are code page 1251 bytes. Every byte value decodes to one
// character and encodes back to the same byte.
QString FromCp1251(QByteArrayView bytes);
QByteArray ToCp1251(QStringView text);

} // namespace trevolo
