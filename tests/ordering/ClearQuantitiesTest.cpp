#include "tests/support/OrderFixtures.h"

#include "ordering/ClearQuantities.h"
#include "ordering/OrderPricing.h"

#include <gtest/gtest.h>

using namespace ordering;
using namespace kx::testsupport;

namespace {

// Rows A..I; quantities on B, C, D (neighbours, so a row leaving the view is
// followed by another that must not be skipped), F and H; I holds a stored 0;
// F and G are new.
std::vector<PriceRow> rows()
{
    return {{.name = QStringLiteral("A"), .price1 = 1},
            {.name = QStringLiteral("B"), .zak = 1, .price1 = 2},
            {.name = QStringLiteral("C"), .zak = 2, .price1 = 3},
            {.name = QStringLiteral("D"), .zak = 0.4, .price1 = 10},
            {.name = QStringLiteral("E"), .price1 = 1},
            {.name = QStringLiteral("F"), .zak = 5, .price1 = 1, .newFlag = 1},
            {.name = QStringLiteral("G"), .price1 = 1, .newFlag = 1},
            {.name = QStringLiteral("H"), .zak = 1, .price1 = 7},
            {.name = QStringLiteral("I"), .zak = 0, .price1 = 1}};
}

int quantitiesLeft(tables::Table &t)
{
    int n = 0;
    const bool filtered = t.isFiltered();
    t.setFiltered(false);
    for (std::uint32_t r : t.visibleRecords())
        t.withRecord(r, [&] { n += t.field(QStringLiteral("Zak")).isNull() ? 0 : 1; });
    t.setFiltered(filtered);
    return n;
}

TEST(ClearQuantities, VisitsEveryRowInViewOnce)
{
    struct Case {
        const char *filter;
        int cleared; // rows edited: those with a quantity, 0 included
        int left; // quantities outside the view
        double sumAfter; // the totals follow the posts
        int positionsAfter;
    } cases[] = {
        {"Zak<>0", 5, 1, 0, 0},
        {"NewFlg=1", 1, 5, 19, 3},
        {"", 6, 0, 0, 0},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("price.dbf"));
        createPriceTable(path, rows());
        tables::Table t(path);
        t.open();
        OrderPricing pricing(t, QStringLiteral("Price1"));
        pricing.attach();
        if (*c.filter) {
            t.setFilter(QString::fromLatin1(c.filter));
            t.setFiltered(true);
        }
        pricing.RecountTotals();
        int posts = 0;
        t.beforePost = [&](tables::Table &) { ++posts; };
        EXPECT_EQ(ClearQuantities(t), c.cleared) << c.filter;
        EXPECT_EQ(posts, c.cleared) << c.filter;
        EXPECT_EQ(quantitiesLeft(t), c.left) << c.filter;
        if (*c.filter == 'Z') {
            EXPECT_TRUE(t.visibleRecords().empty());
            EXPECT_DOUBLE_EQ(pricing.orderSum(), 0);
            EXPECT_EQ(pricing.positionCount(), 0);
        }
        EXPECT_EQ(t.recordCount(), 9u);
        t.setFiltered(false);
        pricing.RecountTotals();
        EXPECT_DOUBLE_EQ(pricing.orderSum(), c.sumAfter) << c.filter;
        EXPECT_EQ(pricing.positionCount(), c.positionsAfter) << c.filter;
    }
}

TEST(ClearQuantities, CursorReturnsToItsRowOrTheFirst)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("price.dbf"));
    createPriceTable(path, rows());
    tables::Table t(path);
    t.open();
    t.setFilter(QStringLiteral("NewFlg=1"));
    t.setFiltered(true);
    t.last();
    ClearQuantities(t);
    EXPECT_EQ(t.field(QStringLiteral("Name")).asString(), QStringLiteral("G"));

    t.setFilter(QStringLiteral("Zak<>0"));
    t.refresh();
    t.first();
    ClearQuantities(t);
    EXPECT_TRUE(t.isEmpty() || t.eof());
}

} // namespace
