#pragma once

#include <QString>
#include <QStringList>

namespace exchange {

// Which columns of a price table identify a record (key) and which hold what
// the user entered (carried: visible and not read-only), from the table's
// section of properties.ini, in section order.
struct CarryColumns {
    QStringList keys;
    QStringList carried;

    // "A;B;": every name followed by ';'.
    QString keyList() const;
    // "A;B": the last ';' removed.
    QString carriedList() const;
    bool canCarry() const { return !keys.isEmpty() && !carried.isEmpty(); }
};

// The columns of table `tableName` (file name with extension); empty lists
// when properties.ini has no such section. A damaged entry is ConfigError.
CarryColumns readCarryColumns(const QString &propertiesFile, const QString &tableName);

} // namespace exchange
