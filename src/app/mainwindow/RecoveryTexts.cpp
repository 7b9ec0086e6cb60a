#include "app/mainwindow/RecoveryTexts.h"

#include "common/RussianPlural.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <cerrno>

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

QString StateFolderReason(int error)
{
    switch (error) {
    case ENOSPC:
        return QStringLiteral("нет места на диске");
    case EDQUOT:
        return QStringLiteral("превышена дисковая квота");
    case EACCES:
    case EPERM:
        return QStringLiteral("нет доступа");
    case EROFS:
        return QStringLiteral("диск только для чтения");
    case ENOENT:
        return QStringLiteral("папка не найдена");
    case ENOTDIR:
        return QStringLiteral("на пути к папке стоит файл");
    case EISDIR:
        return QStringLiteral("на месте файла стоит папка");
    case EEXIST:
        return QStringLiteral("все имена файлов заняты");
    case EIO:
        return QStringLiteral("ошибка ввода-вывода");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("открыто слишком много файлов");
    case ENOMEM:
        return QStringLiteral("не хватает памяти");
    default:
        return QStringLiteral("ошибка %1").arg(error);
    }
}

QString StateFolderReason(const RecoveryStore::Problem &problem)
{
    QString cause;
    switch (problem.trust) {
    case FolderTrust::ForeignOwner:
        cause = QStringLiteral("принадлежит другому пользователю");
        break;
    case FolderTrust::WritableByOthers:
        cause = QStringLiteral("в неё могут писать другие пользователи");
        break;
    case FolderTrust::Unknown:
        cause = QStringLiteral("её не удаётся проверить");
        break;
    case FolderTrust::Private:
        cause = StateFolderReason(problem.error);
        break;
    }
    return QStringLiteral("папка «%1»: %2").arg(QDir::toNativeSeparators(problem.folder), cause);
}

QString RecoveryWriteFailed(const QString &reason)
{
    return QStringLiteral(
               "Не удалось сохранить копию для восстановления: %1. Сохраните последовательность.")
        .arg(reason);
}

QString TablesDetails(const std::vector<LeftOverHistory *> &tables)
{
    QStringList parts;
    for (const LeftOverHistory *table : tables)
        parts.append(QStringLiteral("%1 (%2 %3)").arg(table->tableName,
                                                      QString::number(table->lines),
                                                      LinesWord(table->lines)));
    return QStringLiteral("Прошлый сеанс завершился, не сохранив их: %1.")
        .arg(parts.join(QStringLiteral(", ")));
}

QString LeftOverDetails(const LeftOverHistory &leftOver)
{
    QString details;
    if (leftOver.replacedBy) {
        const Replacement &by = *leftOver.replacedBy;
        details =
            QStringLiteral("Заменена %1 %2: %3 %4.")
                .arg(by.fileName.isEmpty()
                         ? QStringLiteral("очисткой")
                         : QStringLiteral("загрузкой файла «%1»")
                               .arg(QFileInfo(by.fileName).fileName()),
                     QLocale::c().toString(by.at, QStringLiteral("dd.MM.yyyy HH:mm")),
                     QString::number(leftOver.lines), LinesWord(leftOver.lines));
    } else {
        details = RecoveryDetails(leftOver.lines, leftOver.modified);
    }
    if (!leftOver.host.isEmpty())
        details += QStringLiteral(" Оставлена на компьютере «%1».").arg(leftOver.host);
    return details;
}

QString InterruptedSaveQuestion(const QString &file)
{
    return QStringLiteral("Сохранение в «%1» было прервано. Восстановить прежнее содержимое файла?")
        .arg(QDir::toNativeSeparators(file));
}

QString InterruptedSaveNotRestored(const QString &file, int error)
{
    return QStringLiteral("Не удалось восстановить «%1»: %2.")
        .arg(QDir::toNativeSeparators(file), StateFolderReason(error));
}

} // namespace trevolo
