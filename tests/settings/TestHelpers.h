#pragma once

#include "support/TestFiles.h"

#include "settings/AuxilaryUnit.h"

#include <QStringList>
#include <QTest>

// The document as text lines, "[name]" for a section and "key=value" for
// each of its entries, so that whole documents compare at once.
inline QStringList Dump(const trevolo::TINIView &document)
{
    QStringList lines;
    for (const auto &section : document.Sections()) {
        lines << u'[' + section->Name() + u']';
        for (qsizetype i = 0; i < section->Keys().size(); ++i)
            lines << section->Keys().at(i) + u'=' + section->Values().at(i);
    }
    return lines;
}

inline void WriteBytes(const QString &fileName, const QByteArray &bytes)
{
    QVERIFY2(WriteRaw(fileName, bytes), qPrintable(fileName));
}

// The bytes of a literal, embedded NULs included.
template <qsizetype N>
QByteArray Bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}
