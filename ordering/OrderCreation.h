#pragma once

#include "OrderInput.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace tables {
class Table;
}

namespace ordering {

struct CreatedOrder {
    int number = 0;
    std::int64_t archiveId = 0;
    QString filePath; // the order file in the orders folder
    int positions = 0;
};

// The work of "Сформировать": archives the order, writes its order file and
// empties the quantities in view. Everything that can be checked is checked
// before anything is written; an order file is never replaced. OrderError
// with a message naming what exists when it fails; the quantities are kept
// unless the order file exists.
CreatedOrder CreateOrder(const OrderInput &input);

// The rows in view that carry a quantity, in view order.
std::vector<std::uint32_t> orderedRows(tables::Table &prices);

} // namespace ordering
