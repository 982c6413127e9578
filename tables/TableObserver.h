#pragma once

#include <cstdint>

namespace tables {

class Table;

// What happened to a table, for views that show it.
enum class TableChange {
    Opened, // the table was opened, closed or re-laid out
    Closed,
    DataChanged, // many records may differ: filter, order, refresh
    RecordPosted, // recno was written (appended when it is new)
    RecordDeleted,
    Scrolled, // the cursor moved
    StateChanged, // browse/edit/insert
    FieldChanged, // a field of the record being edited was set
};

class TableObserver {
public:
    virtual ~TableObserver() = default;
    virtual void tableChanged(Table &table, TableChange change, std::uint32_t recno) = 0;
};

} // namespace tables
