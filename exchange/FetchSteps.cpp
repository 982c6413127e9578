#include "FetchSteps.h"

#include "FolderScan.h"
#include "IncomingRefresh.h"
#include "Narcotics.h"
#include "OldTables.h"
#include "PackageUnzip.h"

namespace exchange {

void processFetched(const ExchangeFolders &folders, bool fetched, const QList<int> &ids, int activeCustomerId,
                    const QString &propertiesFile, ExchangeFeedback &feedback)
{
    if (!ids.isEmpty() && ids.first() == -1)
        unpackFolder(folders.archive, feedback);
    if (!fetched) {
        removeFilesByExt(folders.price, QStringLiteral(".zip"), feedback);
    } else {
        renameTablesToOld(folders.price, propertiesFile, feedback);
    }
    try {
        if (fetched)
            unpackFolder(folders.price, feedback);
        unpackFolder(folders.references, feedback);
        unpackFolder(folders.prescriptions, feedback);
        unpackFolder(folders.narcotics, feedback);
        ClearNarcotics(folders.narcotics, activeCustomerId, feedback);
        unpackFolder(folders.invoices, feedback);
        unpackFolder(folders.program, feedback);
        RefreshIncomingTables(folders.price, propertiesFile, feedback);
    } catch (...) {
        restoreOldTables(folders.price, feedback);
        throw;
    }
    restoreOldTables(folders.price, feedback);
}

} // namespace exchange
