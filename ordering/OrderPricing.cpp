#include "OrderPricing.h"

#include "NumberText.h"
#include "Rounding.h"
#include "ViewWalk.h"

#include "config/SettingsAccessors.h"
#include "tables/Table.h"

namespace ordering {

namespace {

const QString kZak = QStringLiteral("Zak");
const QString kExtra = QStringLiteral("Extra");

std::optional<double> optionalNumber(tables::Table &table, const QString &name)
{
    const tables::Field f = table.findField(name);
    if (!f.isValid() || f.isNull())
        return std::nullopt;
    return f.asFloat();
}

} // namespace

std::optional<double> markupExtra(std::optional<double> price, std::optional<double> constA,
                                  std::optional<double> constB)
{
    if (!constA || *constA == 0)
        return std::nullopt;
    const double extra = (price.value_or(0) - constB.value_or(0)) / *constA;
    if (!std::isfinite(extra))
        return std::nullopt;
    return roundToTenths(extra);
}

QString priceFieldForMarkup(int markup, int deltaEx)
{
    return QStringLiteral("Price") + QString::number(markup - deltaEx);
}

bool isPositionQuantity(double quantity) { return roundHalfEven(quantity) != 0; }

OrderPricing::OrderPricing(tables::Table &table, QString defaultPriceField)
    : table_(table), defaultPriceField_(std::move(defaultPriceField)), priceField_(defaultPriceField_)
{
}

void OrderPricing::attach()
{
    table_.beforeEdit = [this](tables::Table &) { RemoveRowFromTotals(); };
    table_.afterPost = [this](tables::Table &) { AddRowToTotals(); };
    table_.afterCancel = [this](tables::Table &) { RestoreCancelledRow(); };
    table_.onCalcFields = [this](tables::Table &) { computeExtra(); };
}

void OrderPricing::detach()
{
    table_.beforeEdit = nullptr;
    table_.afterPost = nullptr;
    table_.afterCancel = nullptr;
    table_.onCalcFields = nullptr;
}

MarkupChange OrderPricing::ApplyMarkup(const QString &markupText, const config::SettingsAccessors &settings,
                                       const std::function<void(const QString &)> &status)
{
    const int deltaEx = settings.GetDeltaEx();
    bool isInteger = false;
    int markup = markupText.trimmed().toInt(&isInteger);
    if (!isInteger) {
        markup = deltaEx + 1;
        settings.SetActivePercentID(-1);
    }
    QString candidate = priceFieldForMarkup(markup, deltaEx);
    if (!table_.hasField(candidate)) {
        if (status)
            status(QStringLiteral("Нет цены с такой наценкой"));
        candidate = defaultPriceField_;
    }
    if (!table_.hasField(candidate))
        return {};

    MarkupChange change{true, priceField_, table_.field(candidate).name()};
    if (tables::Field previous = table_.findField(priceField_); previous.isValid())
        previous.setVisible(false);
    priceField_ = change.newField;
    table_.field(priceField_).setVisible(true);
    RecountTotals();
    return change;
}

double OrderPricing::RecountTotals()
{
    double sum = 0;
    int count = 0;
    const tables::Field zak = table_.findField(kZak);
    const tables::Field price = table_.findField(priceField_);
    ControlsSuspended suspended(table_);
    forEachRowInView(table_, [&](std::uint32_t) {
        const double quantity = numberOrZero(zak);
        sum += quantity * numberOrZero(price);
        if (zak.isValid() && !zak.isNull() && isPositionQuantity(quantity))
            ++count;
    });
    orderSum_ = sum;
    positionCount_ = count;
    return sum;
}

double OrderPricing::rowAmount()
{
    return numberOrZero(table_.findField(kZak)) * numberOrZero(table_.findField(priceField_));
}

bool OrderPricing::rowIsPosition() { return isPositionQuantity(numberOrZero(table_.findField(kZak))); }

void OrderPricing::AddRowToTotals()
{
    beforeEdit_.reset();
    orderSum_ = roundToCents(orderSum_ + rowAmount());
    if (rowIsPosition())
        ++positionCount_;
    if (onTotalsChanged)
        onTotalsChanged();
}

void OrderPricing::RemoveRowFromTotals()
{
    beforeEdit_ = Saved{orderSum_, positionCount_};
    // A quantity below a half is no position but is in the sum: it leaves
    // the sum too, or the sum would keep quantities no longer ordered.
    const double amount = rowAmount();
    if (amount != 0)
        orderSum_ = roundToCents(orderSum_ - amount);
    if (rowIsPosition())
        --positionCount_;
}

void OrderPricing::RestoreCancelledRow()
{
    if (!beforeEdit_)
        return;
    orderSum_ = beforeEdit_->sum;
    positionCount_ = beforeEdit_->count;
    beforeEdit_.reset();
    if (onTotalsChanged)
        onTotalsChanged();
}

void OrderPricing::computeExtra()
{
    tables::Field extra = table_.findField(kExtra);
    if (!extra.isValid())
        return;
    const std::optional<double> value =
        markupExtra(optionalNumber(table_, priceField_), optionalNumber(table_, QStringLiteral("ConstA")),
                    optionalNumber(table_, QStringLiteral("ConstB")));
    if (value)
        extra.setFloat(*value);
    else
        extra.clear();
}

} // namespace ordering
