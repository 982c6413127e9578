#pragma once

#include <QDate>
#include <QHash>

#include <array>
#include <cstdint>

namespace tables {
class Table;
}

namespace windows {

// A drug's ordered quantity in each of the last 12 months, oldest first;
// the last month is the one of `lastMonth`.
struct DrugHistory {
    static constexpr int kMonths = 12;
    QDate lastMonth; // its first day
    std::array<double, kMonths> quantities{};

    // Adds a position of an order of that year and month (ignored outside the 12 months).
    void add(int year, int month, double quantity);
};

// The year and month of every archived order by its IDRow, read once: the
// positions name their order only by that id.
class OrderMonths {
public:
    void load(tables::Table &archive);
    // Year * 12 + month - 1, or -1 for an order not in the archive.
    int monthOf(std::int64_t orderId) const { return months_.value(orderId, -1); }

private:
    QHash<std::int64_t, int> months_;
};

} // namespace windows
