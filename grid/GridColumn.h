#pragma once

#include <Qt>

namespace grid {

// A grid column bound to one field of the table.
struct GridColumn {
    int field = -1; // index among the table's fields
    int width = 0; // pixels; 0 until the grid gives the column its own width
    Qt::Alignment titleAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool editButton = false; // an ellipsis button on the current cell
    bool autoDropDown = false; // typing in the cell presses that button
};

} // namespace grid
