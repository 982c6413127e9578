#pragma once

#include "CarryReport.h"

#include <QString>

namespace exchange {

class ExchangeFeedback;

// A ".old" copy beside its table was left by an interrupted refresh: the
// refresh is finished (CarryMode::FillEmpty, so values entered since stay)
// and the copy goes. Worth running at program start too.
CarryReport finishInterruptedRefreshes(const QString &priceFolder, const QString &propertiesFile,
                                       ExchangeFeedback &feedback);

// Before a fetch: every ".dbf" table of the price folder becomes ".old". A
// ".old" already beside a table is first carried from
// (finishInterruptedRefreshes), never overwritten. A table that cannot be renamed stays and is named
// in the status line. Returns what the finished refreshes report.
CarryReport renameTablesToOld(const QString &priceFolder, const QString &propertiesFile, ExchangeFeedback &feedback);

// After the refresh: every ".old" left (no new copy arrived) becomes ".dbf"
// again; one whose ".dbf" exists stays and is named in the status line.
void restoreOldTables(const QString &priceFolder, ExchangeFeedback &feedback);

} // namespace exchange
