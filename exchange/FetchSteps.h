#pragma once

#include <QList>
#include <QString>

namespace exchange {

class ExchangeFeedback;

// The folders a transfer touches: the seven working folders and the program
// folder, each ending with '/'.
struct ExchangeFolders {
    QString price, orders, invoices, references, archive, prescriptions, narcotics, program;
};

// What follows the library's fetch, up to the table menus: the archive folder
// unpacked for the single id -1; with `fetched` the price tables renamed to
// ".old" and the price packages unpacked, otherwise the price packages
// deleted unopened; the other folders unpacked, the narcotics cleaned up, the
// entered values carried into the new tables. The previous tables of which
// no new copy arrived are put back also when a step fails, so the previous
// price list stays in service; the failure then goes on to the caller.
void processFetched(const ExchangeFolders &folders, bool fetched, const QList<int> &ids, int activeCustomerId,
                    const QString &propertiesFile, ExchangeFeedback &feedback);

} // namespace exchange
