#pragma once

#include "tables/Table.h"

namespace ordering {

// Display updates of a table's views suspended for a scope.
class ControlsSuspended {
public:
    explicit ControlsSuspended(tables::Table &table) : table_(table) { table_.disableControls(); }
    ~ControlsSuspended() { table_.enableControls(); }
    ControlsSuspended(const ControlsSuspended &) = delete;
    ControlsSuspended &operator=(const ControlsSuspended &) = delete;

private:
    tables::Table &table_;
};

// Calls `visit(recno)` for every row in view, in view order, with the
// table's fields reading that row; the cursor does not move.
template <typename Visit> void forEachRowInView(tables::Table &table, Visit &&visit)
{
    table.forEachVisible([&](std::uint32_t recno) { visit(recno); });
}

} // namespace ordering
