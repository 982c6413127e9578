#include "tests/support/OrderFixtures.h"

#include "ordering/RowStyle.h"

#include <gtest/gtest.h>

using namespace ordering;

namespace {

const QDateTime kNow(QDate(2008, 3, 10), QTime(12, 0));
const QColor kGreen(0, 128, 0), kBlue(0, 0, 255), kRed(255, 0, 0), kAqua(0, 255, 255);

TEST(RowStyle, RulesApplyInOrderLaterOnesOverriding)
{
    const QDate far = kNow.date().addDays(200);
    const QDate near = kNow.date().addDays(100);
    struct Case {
        const char *what;
        RowFacts row;
        RowStyle style;
    } cases[] = {
        {"plain", {far, true, 0, 0, 5}, {}},
        {"near date green", {near, true, 0, 0, 5}, {kGreen, {}, false}},
        {"empty date is the earliest", {std::nullopt, true, 0, 0, 5}, {kGreen, {}, false}},
        {"no date field", {std::nullopt, false, 0, 0, 5}, {}},
        {"180 days exactly is not near", {kNow.date().addDays(181), true, 0, 0, 5}, {}},
        {"new arrival blue over green", {near, true, 1, 0, 5}, {kBlue, {}, false}},
        {"ordered aqua bold", {far, true, 0, 2, 5}, {{}, kAqua, true}},
        {"more than available red", {far, true, 1, 6, 5}, {kRed, kAqua, true}},
        {"negative quantity still ordered", {far, true, 0, -1, 5}, {{}, kAqua, true}},
        {"nothing available, nothing ordered", {far, true, 0, 0, 0}, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rowStyle(c.row, kNow), c.style) << c.what;
}

TEST(RowStyle, SelectionOverridesEveryRule)
{
    const RowStyle ordered{kRed, kAqua, true};
    const RowStyle selected = selectedStyle(ordered, Qt::darkBlue, Qt::white);
    EXPECT_EQ(selected, (RowStyle{QColor(Qt::white), QColor(Qt::darkBlue), true}));
}

TEST(RowStyle, FactsComeFromTheRowEmptiesAsZero)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("price.dbf"));
    kx::testsupport::createPriceTable(
        path, {{.name = QStringLiteral("A"), .zak = 3, .newFlag = 1, .qnt = 2}, {.name = QStringLiteral("B")}});
    tables::Table t(path);
    t.open();
    RowFacts a = rowFactsOf(t);
    EXPECT_FALSE(a.gdate.has_value());
    EXPECT_TRUE(a.hasGdate);
    EXPECT_EQ(a.newFlag, 1);
    EXPECT_DOUBLE_EQ(a.quantity, 3);
    EXPECT_DOUBLE_EQ(a.available, 2);
    t.next();
    RowFacts b = rowFactsOf(t);
    EXPECT_DOUBLE_EQ(b.quantity, 0);
    EXPECT_DOUBLE_EQ(b.available, 0);
}

} // namespace
