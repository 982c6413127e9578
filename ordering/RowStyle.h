#pragma once

#include <QColor>
#include <QDate>
#include <QDateTime>

#include <optional>

namespace tables {
class Table;
}

namespace ordering {

// The facts of a price row that decide its colours.
struct RowFacts {
    std::optional<QDate> gdate; // empty: the earliest date
    bool hasGdate = true; // false when the table has no GDATE field
    int newFlag = 0;
    double quantity = 0; // Zak, empty = 0
    double available = 0; // Qnt, empty = 0
};

RowFacts rowFactsOf(tables::Table &table);

// How a grid row is drawn; unset colours keep the grid's defaults.
struct RowStyle {
    std::optional<QColor> text;
    std::optional<QColor> background;
    bool bold = false;

    friend bool operator==(const RowStyle &, const RowStyle &) = default;
};

// The colouring rules in their order, later ones overriding earlier ones:
// near date green, new arrival blue, ordered aqua and bold, more ordered than
// available red.
RowStyle rowStyle(const RowFacts &row, const QDateTime &now);

// The selected cell shows the system highlight over every rule.
RowStyle selectedStyle(RowStyle style, const QColor &highlight, const QColor &highlightText);

} // namespace ordering
