#include "TableError.h"

namespace tables {

QString TableError::userMessage() const
{
    const QString file = file_.isEmpty() ? QStringLiteral("?") : file_;
    QString lead;
    switch (kind_) {
    case TableErrorKind::Missing: lead = QStringLiteral("Не найден файл ") + file; break;
    case TableErrorKind::Damaged: lead = QStringLiteral("Файл таблицы %1 повреждён").arg(file); break;
    case TableErrorKind::Io: lead = QStringLiteral("Ошибка чтения или записи файла %1").arg(file); break;
    case TableErrorKind::Locked: lead = QStringLiteral("Файл %1 занят другой программой").arg(file); break;
    case TableErrorKind::ReadOnly: lead = QStringLiteral("Таблица %1 открыта только для чтения").arg(file); break;
    case TableErrorKind::NoField: lead = QStringLiteral("В таблице %1 нет нужного поля").arg(file); break;
    case TableErrorKind::BadValue:
        lead = file_.isEmpty() ? QStringLiteral("Значение не подходит для поля таблицы")
                               : QStringLiteral("Значение не подходит для поля таблицы %1").arg(file);
        break;
    case TableErrorKind::BadExpression:
        lead = file_.isEmpty() ? QStringLiteral("Неверное условие отбора")
                               : QStringLiteral("Неверное условие отбора для таблицы %1").arg(file);
        break;
    case TableErrorKind::Index: lead = QStringLiteral("Ошибка индексного файла %1").arg(file); break;
    case TableErrorKind::General:
        lead = file_.isEmpty() ? QStringLiteral("Ошибка работы с таблицей")
                               : QStringLiteral("Ошибка работы с таблицей %1").arg(file);
        break;
    }
    return withDetail(lead);
}

} // namespace tables
