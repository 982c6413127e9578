#include "ClearQuantities.h"

#include "ViewWalk.h"

#include "tables/Table.h"

namespace ordering {

int ClearQuantities(tables::Table &table)
{
    table.checkBrowseMode();
    ControlsSuspended suspended(table);
    const tables::Bookmark saved = table.bookmark();
    // The rows in view are taken once, before any of them can leave it. A
    // row whose quantity is empty already is left alone: there is nothing to
    // clear, and a whole price list is mostly such rows.
    std::vector<std::uint32_t> rows;
    const tables::Field zak = table.field(QStringLiteral("Zak"));
    forEachRowInView(table, [&](std::uint32_t recno) {
        if (!zak.isNull())
            rows.push_back(recno);
    });
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
