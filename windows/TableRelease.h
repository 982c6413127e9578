#pragma once

#include <functional>

namespace windows {

// What a window does to let go of its table (unbind the grid, detach its
// observers) before the table is closed. Declared after the table member, so
// that it runs first however the window ends, a failed construction included.
struct TableRelease {
    std::function<void()> run;
    TableRelease() = default;
    TableRelease(const TableRelease &) = delete;
    TableRelease &operator=(const TableRelease &) = delete;
    ~TableRelease()
    {
        if (run)
            run();
    }
};

} // namespace windows
