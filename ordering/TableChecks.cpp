#include "TableChecks.h"

#include "OrderError.h"

#include "tables/Table.h"
#include "tables/TableError.h"

#include <QFileInfo>

namespace ordering {

void openChecked(tables::Table &table, const QString &path, const QStringList &fields)
{
    if (!QFileInfo(path).isFile())
        throw OrderError(QStringLiteral("Не найден файл %1. Заказ не сформирован.").arg(path));
    table.setPath(path);
    try {
        table.open();
    } catch (const tables::TableError &e) {
        throw OrderError(QStringLiteral("Не удалось открыть %1: %2. Заказ не сформирован.").arg(path, e.message()));
    }
    requireFields(table, fields);
}

void requireFields(const tables::Table &table, const QStringList &fields)
{
    for (const QString &name : fields)
        if (!table.hasField(name))
            throw OrderError(QStringLiteral("В таблице %1 нет поля %2. Заказ не сформирован.").arg(table.path(), name));
}

} // namespace ordering
