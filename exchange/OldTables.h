#pragma once

#include "CarryReport.h"

#include <QString>

namespace exchange {

class ExchangeFeedback;

// Before a fetch: every ".dbf" table of the price folder becomes ".old". A
// ".old" already beside a table was left by an interrupted refresh: that
// refresh is finished first (CarryMode::FillEmpty, so values entered since
// stay), never overwritten. A table that cannot be renamed stays and is named
// in the status line. Returns what the finished refreshes report.
CarryReport renameTablesToOld(const QString &priceFolder, const QString &propertiesFile, ExchangeFeedback &feedback);

// After the refresh: every ".old" left (no new copy arrived) becomes ".dbf"
// again; one whose ".dbf" exists stays and is named in the status line.
void restoreOldTables(const QString &priceFolder, ExchangeFeedback &feedback);

} // namespace exchange
