#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace config {
class SettingsAccessors;
}
namespace tables {
class Table;
}

namespace ordering {

// Extra = (price - ConstB) / ConstA to one decimal, halves to even; empty
// when ConstA is 0 or empty (no division by zero). Empty values count as 0.
std::optional<double> markupExtra(std::optional<double> price, std::optional<double> constA,
                                  std::optional<double> constB);

// The price field a markup selects: "Price" + (markup - DeltaEx).
QString priceFieldForMarkup(int markup, int deltaEx);

// What ApplyMarkup changed, for the grid to move the new price column to
// the place and width of the previous one.
struct MarkupChange {
    bool changed = false;
    QString previousField;
    QString newField;
};

// The price column shown in an order window and the order totals kept over
// its table: the full recount after a markup change, the incremental update
// of every edit that ends in a post, and the restore of a cancelled edit.
class OrderPricing {
public:
    OrderPricing(tables::Table &table, QString defaultPriceField);

    const QString &priceField() const { return priceField_; }
    const QString &defaultPriceField() const { return defaultPriceField_; }
    double orderSum() const { return orderSum_; }
    int positionCount() const { return positionCount_; }

    // Connects before-edit, after-post, after-cancel and calculate-fields of
    // the table; the calculated field "Extra" is filled when the table has it.
    void attach();
    void detach();

    // Chooses the price column of the markup text (an integer percentage);
    // a text that is no integer takes the first price column and resets the
    // stored markup id to -1. Messages go to `status`. Recounts the totals.
    MarkupChange ApplyMarkup(const QString &markupText, const config::SettingsAccessors &settings,
                             const std::function<void(const QString &)> &status);

    // Sum and positions over every row in view; returns the (unrounded) sum.
    double RecountTotals();
    // The current row's contribution enters (after a post) or leaves (before an edit).
    void AddRowToTotals();
    void RemoveRowFromTotals();
    // A cancelled edit gives back what RemoveRowFromTotals took.
    void RestoreCancelledRow();

    // Computes "Extra" of the current record (calculate-fields handler).
    void computeExtra();

    // Called after the totals changed through a post or a cancelled edit.
    std::function<void()> onTotalsChanged;

private:
    double rowAmount();
    bool rowIsPosition();

    tables::Table &table_;
    QString defaultPriceField_;
    QString priceField_;
    double orderSum_ = 0;
    int positionCount_ = 0;
    // Totals before the edit in progress, given back when it is cancelled.
    struct Saved {
        double sum;
        int count;
    };
    std::optional<Saved> beforeEdit_;
};

// Whether a quantity counts as an order position: rounded to an integer it is not 0.
bool isPositionQuantity(double quantity);

} // namespace ordering
