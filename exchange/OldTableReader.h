#pragma once

#include "tables/Table.h"

#include <QString>

namespace exchange {

// The ".old" copy of a price table, open read-only. "price.old" would take
// "price.mdx" for its production index, which now belongs to the new table;
// it is read through a second name of the same file ("price.old.carry"), which
// has no index, so the new table's index is never read or repaired for the
// old records. The second name goes when the reader does.
class OldTableReader {
public:
    explicit OldTableReader(const QString &oldPath);
    ~OldTableReader();
    OldTableReader(const OldTableReader &) = delete;
    OldTableReader &operator=(const OldTableReader &) = delete;

    tables::Table &table() { return table_; }

private:
    QString alias_;
    tables::Table table_;
};

} // namespace exchange
