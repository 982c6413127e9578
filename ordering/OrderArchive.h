#pragma once

#include "tables/Table.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <vector>

namespace ordering {

struct OrderInput;

// The ids of the next order: the header's IDRow and its yearly number.
struct ArchiveNumbers {
    std::int64_t id = 1;
    int number = 1;
};

// Archiv.dbf and ArchivPos.dbf of the archive folder, open for one order
// creation. Opening checks that both exist and have every field written.
class OrderArchive {
public:
    explicit OrderArchive(const QString &archiveFolder); // OrderError when a table is unusable

    const QString &headerPath() const { return headers_.path(); }
    const QString &positionsPath() const { return positions_.path(); }

    // The order number restarts at 1 when the last order is from another year.
    ArchiveNumbers nextNumbers(const QDateTime &now);

    // What has been written so far, for the message when a step fails.
    bool headerPosted() const { return headerPosted_; }
    int positionsPosted() const { return positionsPosted_; }

    // Appends the header row and one position row per ordered price row
    // (TableError on failure; the counters above tell how far it got).
    void ArchiveOrder(const OrderInput &input, const std::vector<std::uint32_t> &orderedRows,
                      const ArchiveNumbers &numbers);

    void close();

private:
    tables::Table headers_;
    tables::Table positions_;
    bool headerPosted_ = false;
    int positionsPosted_ = 0;
};

} // namespace ordering
