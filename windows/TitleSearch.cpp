#include "TitleSearch.h"

#include "grid/DBGrid.h"
#include "tables/Table.h"

#include <QLocale>

#include <algorithm>
#include <utility>

namespace windows {

TitleSearch::TitleSearch(grid::DBGrid &grid, Rules rules) : grid_(grid), rules_(std::move(rules)) {}

void TitleSearch::keyPress(tables::Table &table, grid::GridCharEvent &event)
{
    tables::Field field = grid_.selectedField();
    // A calculated field is not in the records a locate reads.
    if (!field.isValid() || !field.isReadOnly() || field.isCalculated() || !rules_.takesPart(event.text))
        return;
    if (rules_.consumesKey)
        event.handled = true;
    const QString typed = rules_.upperCase ? QLocale().toUpper(event.text) : event.text;
    field_ = field.name();
    if (!text_) {
        // Kept here as well: the title must come back even when no column
        // was entered before the search began.
        savedTitle_ = field.displayLabel();
        text_ = typed;
    } else {
        *text_ += typed;
    }
    field.setDisplayLabel(*text_);
    grid_.refreshTitles();
    table.locate(field_, *text_, tables::LocateOptions{.caseInsensitive = true, .partialKey = true});
}

void TitleSearch::keyDown(tables::Table &table, const grid::GridKeyEvent &event)
{
    if (text_ && std::find(rules_.endingKeys.begin(), rules_.endingKeys.end(), event.key) != rules_.endingKeys.end())
        columnEntered(table);
}

void TitleSearch::columnEntered(tables::Table &table)
{
    const bool titleBack = text_.has_value();
    if (titleBack) {
        if (tables::Field searched = table.findField(field_); searched.isValid())
            searched.setDisplayLabel(savedTitle_);
    }
    const tables::Field field = grid_.selectedField();
    field_ = field.isValid() ? field.name() : QString();
    savedTitle_ = field.isValid() ? field.displayLabel() : QString();
    text_.reset();
    // Titles change only when a search ends; a refresh lays the grid out anew.
    if (titleBack || rules_.refreshOnEveryColumn)
        grid_.refreshTitles();
}

} // namespace windows
