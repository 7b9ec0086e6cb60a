#pragma once

#include <QDateTime>
#include <QString>

namespace trevolo {

// The Russian word for "line" that goes with the number `count`: "строка",
// "строки" or "строк".
QString LinesWord(qint64 count);

// The informative text of the question whether to restore a history that a
// past run left unsaved: "Прошлый сеанс завершился, не сохранив её: <n>
// <LinesWord(n)>, последнее изменение <dd.MM.yyyy HH:mm>."
QString RecoveryDetails(qint64 lines, const QDateTime &modified);

} // namespace trevolo
