#include "ordering/PharmacyCode.h"

#include <gtest/gtest.h>

namespace {

// Whatever SubCustomer.dbf gives, only a real identifier names order files.
TEST(PharmacyCode, EmptyOrMissingIdentifiersAreNoCode)
{
    const struct {
        const char *name;
        QVariant idRow;
        int code;
    } cases[] = {
        {"table missing", QVariant(-1), -1},
        {"no record", QVariant(), -1},
        {"numeric field left empty", QVariant(QMetaType::fromType<int>()), -1},
        {"text field left empty", QVariant(QStringLiteral("   ")), -1},
        {"not a number", QVariant(QStringLiteral("A12")), -1},
        {"zero", QVariant(0), 0},
        {"integer", QVariant(qlonglong(12)), 12},
        {"number read from a text field", QVariant(QStringLiteral(" 17 ")), 17},
        {"whole number of a float field", QVariant(12.0), 12},
        {"negative", QVariant(-3), -3},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ordering::pharmacyCodeOf(c.idRow), c.code) << c.name;
}

} // namespace
