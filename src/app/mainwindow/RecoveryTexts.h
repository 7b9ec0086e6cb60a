#pragma once

#include <vector>

// What the window says about the recovery files, in Russian.
#include "history/Recovery.h"

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

// The cause of a failure in the state folder from the system's error number:
// "нет места на диске", "нет доступа", ..., "ошибка <n>" for any other.
QString StateFolderReason(int error);

// Why the state folder cannot be used: "папка «<folder>»: <cause>".
QString StateFolderReason(const RecoveryStore::Problem &problem);

// "Не удалось сохранить копию для восстановления: <reason>. Сохраните
// последовательность."
QString RecoveryWriteFailed(const QString &reason);

// The informative text of the question about a left-over: RecoveryDetails,
// or for a text that a load or a clearing replaced "Заменена <загрузкой
// файла «<name>»|очисткой> <dd.MM.yyyy HH:mm>: <n> <строк>."; a left-over of
// another host names it after that.
QString LeftOverDetails(const LeftOverHistory &leftOver);
// The informative text of the question about the tables of one run:
// "Прошлый сеанс завершился, не сохранив их: <name> (<n> <LinesWord(n)>), …."
QString TablesDetails(const std::vector<LeftOverHistory *> &tables);

// "Сохранение в «<file>» было прервано. Восстановить прежнее содержимое
// файла?"
QString InterruptedSaveQuestion(const QString &file);
// "Не удалось восстановить «<file>»: <reason>."
QString InterruptedSaveNotRestored(const QString &file, int error);

} // namespace trevolo
