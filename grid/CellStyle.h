#pragma once

#include <QColor>

#include <functional>

namespace tables {
class Table;
}

namespace grid {

// How the cells of one row are drawn; an invalid colour keeps the grid's own.
struct CellStyle {
    QColor font;
    QColor background;
    bool bold = false;
};

// Called once for every row the grid is about to draw, while the table's
// fields read that row, so a window can colour whole rows from their values.
using CellStyleHook = std::function<void(tables::Table &table, CellStyle &style)>;

} // namespace grid
