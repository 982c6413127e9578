#pragma once

#include <QList>
#include <QString>

namespace exchange {

// The IDRow of every record of SubCustomer.dbf in the references folder
// whose ParentGet is true, in table order; the single -1 when the table is
// missing or no record qualifies. Engine errors go on to the caller.
QList<int> subCustomerIds(const QString &referencesFolder);

} // namespace exchange
