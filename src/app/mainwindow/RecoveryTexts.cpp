#include "app/mainwindow/RecoveryTexts.h"

#include "common/RussianPlural.h"

#include <QLocale>

namespace trevolo {

QString LinesWord(qint64 count)
{
    return PluralForm(count, u"строка", u"строки", u"строк").toString();
}

QString RecoveryDetails(qint64 lines, const QDateTime &modified)
{
    return QStringLiteral(
               "Прошлый сеанс завершился, не сохранив её: %1 %2, последнее изменение %3.")
        .arg(QString::number(lines), LinesWord(lines),
             QLocale::c().toString(modified, QStringLiteral("dd.MM.yyyy HH:mm")));
}

} // namespace trevolo
