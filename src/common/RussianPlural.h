#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

namespace trevolo {

// A count with its noun in the form Russian takes after it: `one` after 1,
// 21, 31, ... ("1 спин"), `few` after 2-4, 22-24, ... ("3 спина"), `many`
// after 0, 5-20, 25-30, ... and every number ending in 11-14 ("11 спинов").
// The count is written in plain decimal, negative counts by their size.
QString Counted(qint64 count, QStringView one, QStringView few, QStringView many);
// The noun alone, in the form Counted gives it.
QStringView PluralForm(qint64 count, QStringView one, QStringView few, QStringView many);

} // namespace trevolo
