#pragma once

#include <QString>
#include <QVariant>

namespace app {

// The named field of the first record of SubCustomer.dbf in the references
// folder: the integer -1 when the file does not exist, a null value when the
// table has no record. A missing field is the table engine's error.
QVariant LookupSubCustomer(const QString &referencesFolder, const QString &field);

} // namespace app
