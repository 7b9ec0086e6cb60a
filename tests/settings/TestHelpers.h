#pragma once

#include "common/Error.h"
#include "settings/AuxilaryUnit.h"

#include <QFile>
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
    QFile file(fileName);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(fileName));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QByteArray ReadBytes(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

// Runs `action`, which must raise IoError; returns its message.
template <typename Action>
QString IoErrorOf(Action &&action)
{
    try {
        action();
    } catch (const trevolo::IoError &error) {
        return error.message();
    }
    return QStringLiteral("<no error>");
}

// The bytes of a literal, embedded NULs included.
template <qsizetype N>
QByteArray Bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}
