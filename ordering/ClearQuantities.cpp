#include "ClearQuantities.h"

#include "ViewWalk.h"

#include "tables/Table.h"

namespace ordering {

int ClearQuantities(tables::Table &table)
{
    table.checkBrowseMode();
    ControlsSuspended suspended(table);
    const tables::Bookmark saved = table.bookmark();
    // The rows in view are taken once, before any of them can leave it.
    const std::vector<std::uint32_t> rows = table.visibleRecords();
    int cleared = 0;
    for (std::uint32_t recno : rows) {
        if (!table.gotoBookmark(recno))
            continue;
        table.edit();
        table.field(QStringLiteral("Zak")).clear();
        table.post();
        ++cleared;
    }
    if (!table.gotoBookmark(saved))
        table.first();
    return cleared;
}

} // namespace ordering
