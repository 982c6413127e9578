#pragma once

#include "Remote.h"

#include <QList>

namespace transfer {

struct TransferSettings;

// The fetch: the packages of each kind into their working folders. With
// `invoices` only the invoices of the listed sub-customers; otherwise every
// other kind, the archive only for the single id -1. A file is taken under a
// temporary name, checked against the server's size and renamed; the
// server's copies are deleted only once every file has arrived. A price
// package that arrived sets FTP/LastRefresh in the program's settings.
bool fetchPackages(Remote &remote, const TransferSettings &settings, const QList<int> &ids, bool invoices,
                   const InfoSink &info);

// The upload: each package of the orders folder to the server's incoming
// folder under a temporary name, renamed there once the server holds its
// full size (never over a package the distributor has not collected yet);
// only then is the local package deleted.
bool uploadPackages(Remote &remote, const TransferSettings &settings, const InfoSink &info);

} // namespace transfer
