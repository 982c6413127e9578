#pragma once

#include <QDate>
#include <QString>

namespace demo {

// Rows the distributor's newer price list has beyond the installed one.
inline constexpr int kNewDrugs = 20;

// The local "distributor" of the demo: base + "distributor/" with the
// server's folders and, in price/, a package of a newer price list (the
// installed drugs and kNewDrugs more), and the transfer library's settings
// file KXOrder.ini in base pointing at it through the relative root "file:distributor/".
void writeDistributor(const QString &base, int priceRows, unsigned seed, const QDate &today);

} // namespace demo
