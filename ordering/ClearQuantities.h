#pragma once

namespace tables {
class Table;
}

namespace ordering {

// Empties Zak on every row in view, each row once: a cleared row that leaves
// the view (filter "Zak<>0") neither skips nor repeats another. Every row with
// a quantity (0 included) is edited and posted, so the totals follow through
// the table's events; rows already empty are not touched. The cursor goes
// back to the row it was on, or to the first row. Returns the number of rows
// cleared.
int ClearQuantities(tables::Table &table);

} // namespace ordering
