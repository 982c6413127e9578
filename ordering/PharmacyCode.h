#pragma once

#include <QString>
#include <QVariant>

namespace ordering {

// The pharmacy's code, the IDRow of the first record of SubCustomer.dbf, that
// begins the names of order files, request files and the outgoing package.
constexpr int kNoPharmacyCode = -1;

// LookupSubCustomer("IDRow") as a code: a missing table (-1), an empty table
// (null) and an empty or non-numeric identifier are all kNoPharmacyCode, so
// that no order ever goes out as "Z0_…".
int pharmacyCodeOf(const QVariant &idRow);

// Why there is no code, for messages and the status line.
QString noPharmacyCodeText();

} // namespace ordering
