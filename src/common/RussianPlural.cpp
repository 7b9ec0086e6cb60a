#include "common/RussianPlural.h"

namespace trevolo {

QStringView PluralForm(qint64 count, QStringView one, QStringView few, QStringView many)
{
    const quint64 size = count < 0 ? 0 - quint64(count) : quint64(count);
    const quint64 lastTwo = size % 100;
    const quint64 last = size % 10;
    if (lastTwo >= 11 && lastTwo <= 14)
        return many;
    if (last == 1)
        return one;
    if (last >= 2 && last <= 4)
        return few;
    return many;
}

QString Counted(qint64 count, QStringView one, QStringView few, QStringView many)
{
    QString text = QString::number(count);
    text += u' ';
    text += PluralForm(count, one, few, many);
    return text;
}

} // namespace trevolo
