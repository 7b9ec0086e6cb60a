#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace trevolo {

// Texts in files are code page 1251 bytes. Every byte value decodes to one
// character and encodes back to the same byte.
QString FromCp1251(QByteArrayView bytes);
QByteArray ToCp1251(QStringView text);

// The text as code page 1251 can hold it: every character it has no byte for
// (a Chinese character, an emoji, a lone surrogate) becomes one "?", so that
// ToCp1251 writes what the text shows instead of a substitute byte.
QString LimitToCp1251(QStringView text);

} // namespace trevolo
