#include "tests/support/OrderFixtures.h"

#include "ordering/NumberText.h"
#include "ordering/OrderPricing.h"
#include "ordering/Rounding.h"

#include "config/IniFile.h"
#include "config/SettingsAccessors.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ordering;
using namespace kx::testsupport;

namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    struct Case {
        double value;
        double cents;
    } cases[] = {{0.125, 0.12}, {0.375, 0.38}, {0.625, 0.62}, {-0.125, -0.12}, {1.0, 1.0}, {0.126, 0.13}};
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(roundToCents(c.value), c.cents) << c.value;
    EXPECT_EQ(roundToInt(2.5), 2);
    EXPECT_EQ(roundToInt(3.5), 4);
    EXPECT_EQ(roundToInt(-2.5), -2);
    EXPECT_EQ(roundToInt(0.4), 0);
}

TEST(MarkupExtra, RoundsToTenthsAndIsEmptyWithoutConstA)
{
    struct Case {
        std::optional<double> price, constA, constB;
        std::optional<double> extra;
    } cases[] = {
        {10.0, 2.0, 0.0, 5.0},
        {0.25, 1.0, 0.0, 0.2}, // 2.5 tenths -> 2
        {0.75, 1.0, 0.0, 0.8}, // 7.5 tenths -> 8
        {12.0, 4.0, 2.0, 2.5},
        {std::nullopt, 2.0, 1.0, -0.5}, // empty price counts as 0
        {10.0, 0.0, 1.0, std::nullopt}, // no division by zero
        {10.0, std::nullopt, 1.0, std::nullopt},
        {10.0, 2.0, std::nullopt, 5.0},
    };
    for (const Case &c : cases) {
        const auto extra = markupExtra(c.price, c.constA, c.constB);
        ASSERT_EQ(extra.has_value(), c.extra.has_value());
        if (extra) {
            EXPECT_DOUBLE_EQ(*extra, *c.extra);
        }
    }
}

TEST(GeneralNumberText, ShortestFormInTheLocale)
{
    struct Case {
        double value;
        const char *russian;
        const char *c;
    } cases[] = {{0.875, "0,875", "0.875"},
                 {0.1 + 0.2, "0,3", "0.3"},
                 {1234567.5, "1234567,5", "1234567.5"},
                 {0, "0", "0"},
                 {-0.0, "0", "0"},
                 {12, "12", "12"},
                 {123456789012.25, "123456789012,25", "123456789012.25"}};
    for (const Case &c : cases) {
        EXPECT_EQ(generalNumberText(c.value, russian()), QString::fromUtf8(c.russian));
        EXPECT_EQ(generalNumberText(c.value, QLocale::c()), QString::fromUtf8(c.c));
    }
}

// A price table with the pricing attached, as the order window has it.
class PricingTest : public ::testing::Test {
protected:
    void open(const std::vector<PriceRow> &rows)
    {
        path = dir.filePath(QStringLiteral("price.dbf"));
        table.reset();
        QFile::remove(path);
        createPriceTable(path, rows);
        table = std::make_unique<tables::Table>(path);
        table->addCalculatedField(QStringLiteral("Extra"), tables::FieldKind::Float);
        table->open();
        pricing = std::make_unique<OrderPricing>(*table, QStringLiteral("Price1"));
        pricing->attach();
        totalsChanged = 0;
        pricing->onTotalsChanged = [this] { ++totalsChanged; };
    }
    void enter(double zak)
    {
        table->edit();
        table->field(QStringLiteral("Zak")).setFloat(zak);
        table->post();
    }

    QTemporaryDir dir;
    QString path;
    std::unique_ptr<tables::Table> table;
    std::unique_ptr<OrderPricing> pricing;
    int totalsChanged = 0;
};

TEST_F(PricingTest, QuantityEntryKeepsSumInCentsAndCountsPositions)
{
    struct Case {
        double zak;
        double sum;
        int positions;
    } cases[] = {{1, 0.12, 1}, {3, 0.38, 1}, {0.4, 0.05, 0}, {0.5, 0.06, 0}, {1.5, 0.19, 1}};
    for (const Case &c : cases) {
        open({{.name = QStringLiteral("A"), .price1 = 0.125}});
        pricing->RecountTotals();
        enter(c.zak);
        EXPECT_DOUBLE_EQ(pricing->orderSum(), c.sum) << c.zak;
        EXPECT_EQ(pricing->positionCount(), c.positions) << c.zak;
        EXPECT_EQ(totalsChanged, 1);
        // Emptying the quantity gives its contribution back, positions or not.
        table->edit();
        table->field(QStringLiteral("Zak")).clear();
        table->post();
        // Each step rounds to cents, so a half cent may stay behind.
        EXPECT_NEAR(pricing->orderSum(), 0, 0.0101) << c.zak;
        EXPECT_EQ(pricing->positionCount(), 0) << c.zak;
    }
}

TEST_F(PricingTest, CancelledEditGivesItsContributionBack)
{
    open({{.name = QStringLiteral("A"), .zak = 2, .price1 = 10},
          {.name = QStringLiteral("B"), .zak = 1, .price1 = 0.13}});
    pricing->RecountTotals();
    ASSERT_DOUBLE_EQ(pricing->orderSum(), 20.13);
    table->edit();
    EXPECT_DOUBLE_EQ(pricing->orderSum(), 0.13);
    EXPECT_EQ(pricing->positionCount(), 1);
    table->field(QStringLiteral("Zak")).setFloat(7);
    table->cancel();
    EXPECT_DOUBLE_EQ(pricing->orderSum(), 20.13);
    EXPECT_EQ(pricing->positionCount(), 2);
    // A cancel without an edit before it changes nothing.
    table->cancel();
    EXPECT_DOUBLE_EQ(pricing->orderSum(), 20.13);
}

TEST_F(PricingTest, EmptyPriceCountsAsZero)
{
    open({{.name = QStringLiteral("A"), .zak = 2}, {.name = QStringLiteral("B"), .zak = 1, .price1 = 3}});
    EXPECT_DOUBLE_EQ(pricing->RecountTotals(), 3);
    EXPECT_EQ(pricing->positionCount(), 2);
    table->first();
    enter(5);
    EXPECT_DOUBLE_EQ(pricing->orderSum(), 3);
    EXPECT_EQ(pricing->positionCount(), 2);
}

TEST_F(PricingTest, RecountCoversTheRowsInViewAndKeepsTheCursor)
{
    open({{.name = QStringLiteral("A"), .zak = 2, .price1 = 1.5},
          {.name = QStringLiteral("B"), .price1 = 4},
          {.name = QStringLiteral("C"), .zak = 0.4, .price1 = 10, .newFlag = 1},
          {.name = QStringLiteral("D"), .zak = 3, .price1 = 0.125, .newFlag = 1}});
    table->next();
    EXPECT_DOUBLE_EQ(pricing->RecountTotals(), 3 + 4 + 0.375); // not rounded
    EXPECT_EQ(pricing->positionCount(), 2);
    EXPECT_EQ(table->recNo(), 2u);
    table->setFilter(QStringLiteral("NewFlg=1"));
    table->setFiltered(true);
    EXPECT_DOUBLE_EQ(pricing->RecountTotals(), 4.375);
    EXPECT_EQ(pricing->positionCount(), 1);
}

TEST_F(PricingTest, ExtraFollowsTheShownPriceColumn)
{
    open({{.name = QStringLiteral("A"), .price1 = 10, .price3 = 14, .constA = 2, .constB = 1},
          {.name = QStringLiteral("B"), .price1 = 10, .constA = 0, .constB = 1}});
    const tables::Field extra = table->field(QStringLiteral("Extra"));
    table->first();
    EXPECT_DOUBLE_EQ(extra.asFloat(), 4.5);
    config::SettingsAccessors settings(dir.filePath(QStringLiteral("KXOrders.ini")));
    pricing->ApplyMarkup(QStringLiteral("12"), settings, {});
    table->first();
    EXPECT_DOUBLE_EQ(extra.asFloat(), 6.5);
    table->next();
    EXPECT_TRUE(extra.isNull());
}

TEST_F(PricingTest, ApplyMarkupChoosesThePriceColumn)
{
    struct Case {
        const char *markup;
        std::optional<int> deltaEx; // unset: missing from the settings
        const char *field;
        bool noPriceMessage;
        int percentId; // ActivePercentID afterwards
    } cases[] = {
        {"12", std::nullopt, "PRICE3", false, 7},
        {"11", 9, "PRICE2", false, 7},
        {"9", 9, "PRICE1", true, 7}, // Price0 does not exist: the default column
        {"15", 12, "PRICE3", false, 7},
        {"", 9, "PRICE1", false, -1}, // no markup chosen
        {"abc", 9, "PRICE1", false, -1},
    };
    for (const Case &c : cases) {
        open({{.name = QStringLiteral("A"), .zak = 1, .price1 = 1, .price3 = 3}});
        const QString ini = dir.filePath(QStringLiteral("KXOrders.ini"));
        QFile::remove(ini);
        config::IniFile(ini).writeInteger(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActivePercentID"), 7);
        if (c.deltaEx)
            config::IniFile(ini).writeInteger(QStringLiteral("ЗАКАЗ"), QStringLiteral("DeltaEx"), *c.deltaEx);
        config::SettingsAccessors settings(ini);
        QStringList status;
        const MarkupChange change =
            pricing->ApplyMarkup(QString::fromLatin1(c.markup), settings, [&](const QString &s) { status << s; });
        EXPECT_TRUE(change.changed) << c.markup;
        EXPECT_EQ(change.previousField, QStringLiteral("Price1"));
        EXPECT_EQ(pricing->priceField(), QString::fromLatin1(c.field)) << c.markup;
        EXPECT_EQ(status, c.noPriceMessage ? QStringList{QStringLiteral("Нет цены с такой наценкой")} : QStringList{});
        EXPECT_EQ(settings.GetActivePercentID(), c.percentId) << c.markup;
        EXPECT_EQ(config::IniFile(ini).readInteger(QStringLiteral("ЗАКАЗ"), QStringLiteral("DeltaEx"), -5),
                  c.deltaEx.value_or(9));
        EXPECT_TRUE(table->field(pricing->priceField()).isVisible());
        const bool oldHidden = !table->field(QStringLiteral("Price1")).isVisible();
        EXPECT_EQ(oldHidden, pricing->priceField() != QStringLiteral("PRICE1")) << c.markup;
        EXPECT_DOUBLE_EQ(pricing->orderSum(), table->field(pricing->priceField()).asFloat());
    }
}

TEST_F(PricingTest, ApplyMarkupWithoutAnyPriceColumnChangesNothing)
{
    open({{.name = QStringLiteral("A"), .zak = 1, .price1 = 2}});
    pricing = std::make_unique<OrderPricing>(*table, QStringLiteral("Price9"));
    config::SettingsAccessors settings(dir.filePath(QStringLiteral("KXOrders.ini")));
    const MarkupChange change = pricing->ApplyMarkup(QStringLiteral("20"), settings, {});
    EXPECT_FALSE(change.changed);
    EXPECT_EQ(pricing->priceField(), QStringLiteral("Price9"));
    EXPECT_DOUBLE_EQ(pricing->orderSum(), 0);
}

} // namespace
