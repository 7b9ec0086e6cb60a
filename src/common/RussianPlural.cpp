#include "common/RussianPlural.h"

namespace trevolo {

QString Counted(qint64 count, QStringView one, QStringView few, QStringView many)
{
    const quint64 size = count < 0 ? 0 - quint64(count) : quint64(count);
    const quint64 lastTwo = size % 100;
    const quint64 last = size % 10;
    QStringView noun = many;
    if (lastTwo < 11 || lastTwo > 14) {
        if (last == 1)
            noun = one;
        else if (last >= 2 && last <= 4)
            noun = few;
    }
    QString text = QString::number(count);
    text += u' ';
    text += noun;
    return text;
}

} // namespace trevolo
