#pragma once

#include "grid/GridEvents.h"

#include <QString>

#include <optional>
#include <vector>

namespace grid {
class DBGrid;
}
namespace tables {
class Table;
}

namespace windows {

// The search a window runs while a user types in a read-only column of its
// grid: the typed text stands in the column's title and the table goes to the
// first record whose field begins with it (case ignored). Entering another
// column ends it and gives the title back. The windows differ in the keys
// that take part; their rules say how.
class TitleSearch {
public:
    struct Rules {
        // The typed characters that start or extend a search.
        bool (*takesPart)(const QString &typed) = nullptr;
        // The text is kept, shown and searched in upper case.
        bool upperCase = false;
        // A character that took part goes no further to the grid.
        bool consumesKey = false;
        // Keys that end a search in progress, as entering a column does.
        std::vector<int> endingKeys;
        // Titles are refreshed on entering any column, not only when a search ends.
        bool refreshOnEveryColumn = false;
    };

    TitleSearch(grid::DBGrid &grid, Rules rules);

    // A character typed in the grid over the open table.
    void keyPress(tables::Table &table, grid::GridCharEvent &event);
    // A key pressed in the grid over the open table.
    void keyDown(tables::Table &table, const grid::GridKeyEvent &event);
    // The grid entered a column: a search in progress ends there.
    void columnEntered(tables::Table &table);

    // The text searched for, while a search is in progress.
    const std::optional<QString> &text() const { return text_; }
    void reset() { text_.reset(); }

private:
    grid::DBGrid &grid_;
    Rules rules_;
    std::optional<QString> text_;
    QString field_;
    QString savedTitle_;
};

} // namespace windows
