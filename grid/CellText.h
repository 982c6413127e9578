#pragma once

#include <QString>
#include <QVariant>

namespace tables {
class Field;
}

namespace grid {

// How field values look in the grid and how typed text goes back into them.
// All read and write the record the field's table is positioned on.

QString displayText(const tables::Field &field);
// The text a cell editor starts with (numbers without grouping).
QString editText(const tables::Field &field);
// Writes typed text: empty clears the field; numbers accept ',' or '.';
// dates dd.MM.yyyy or the user's short format. TableError on a bad value.
void setFromEditText(tables::Field &field, const QString &text);
// Numbers as numbers, everything else as its display text: for export.
QVariant exportValue(const tables::Field &field);

bool isRightAligned(const tables::Field &field);

} // namespace grid
