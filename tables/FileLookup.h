#pragma once

#include <QString>

namespace tables {

// Files of the working folders are named without regard to letter case
// ("PriceN.dbf" opens "pricen.dbf"). These helpers are the one place that
// maps a spelled name onto the file that exists.

// The existing file in `folder` whose name equals `name` ignoring case, or
// folder + name when there is none. `folder` may end with a separator or not.
QString findFileNoCase(const QString &folder, const QString &name);

// Same for a full path: only the last component is matched without case.
QString resolvePathNoCase(const QString &path);

bool fileExistsNoCase(const QString &path);

} // namespace tables
