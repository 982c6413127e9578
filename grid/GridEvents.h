#pragma once

#include <QString>
#include <Qt>

namespace grid {

// A key pressed in the grid (or in its cell editor), before the grid acts on
// it. A handler that sets `handled` consumes the key.
struct GridKeyEvent {
    int key = 0; // Qt::Key
    Qt::KeyboardModifiers modifiers;
    bool handled = false;
};

// A character typed in the grid (Enter is "\r", Backspace "\b", Escape
// "\x1b"). A handler may replace `text`; empty text or `handled` consumes it.
struct GridCharEvent {
    QString text;
    bool handled = false;
};

} // namespace grid
