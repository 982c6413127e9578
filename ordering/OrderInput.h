#pragma once

#include <QDateTime>
#include <QString>

namespace tables {
class Table;
}

namespace ordering {

// What creating an order takes from the order window, the settings and the
// main window.
struct OrderInput {
    // The window's table with its filter in force; the rows in view with a
    // quantity are the order; the archived sum is theirs. The cursor is left
    // where it is.
    tables::Table *prices = nullptr;
    QString priceField; // the price column shown
    QString message; // to the distributor's manager, spread 50 characters a row
    QString consignee; // GetActiveCustomer
    int consigneeId = -1; // GetActiveCustomerID
    int markupId = -1; // GetActivePercentID
    int subCustomerId = -1; // LookupSubCustomer("IDRow"); -1: SubCustomer.dbf missing
    QString programFolder; // order.dbf, orderN.dbf, Order.ini
    QString archiveFolder; // Archiv.dbf, ArchivPos.dbf
    QString ordersFolder; // the finished order file
    QDateTime now;
};

} // namespace ordering
