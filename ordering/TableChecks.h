#pragma once

#include <QString>
#include <QStringList>

namespace tables {
class Table;
}

namespace ordering {

// Opens `table` on `path` and checks that it has `fields`; OrderError naming
// the file (and the field) otherwise, before anything is written.
void openChecked(tables::Table &table, const QString &path, const QStringList &fields);

// OrderError naming the table and the first of `fields` it lacks.
void requireFields(const tables::Table &table, const QStringList &fields);

} // namespace ordering
