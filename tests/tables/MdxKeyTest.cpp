// Numeric (BCD) index keys: the bytes TDbf writes, and the order we keep.
#include "tables/MdxKey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace tables;

namespace {

QByteArray hexKey(const char *hex)
{
    QByteArray k = QByteArray::fromHex(hex);
    k.resize(mdxkey::kNumericLength, '\0');
    return k;
}

} // namespace

TEST(MdxNumericKey, EncodesLikeTDbf)
{
    // Keys TDbf wrote for these values (reference 8.6, dbfdump km.dbf --keys),
    // plus integers wider than a double's 15 digits.
    struct Case {
        double value;
        bool integer;
        const char *hex;
    };
    const Case cases[] = {
        {0, true, "3401"},         {0, false, "3401"},
        {10, true, "360910"},      {110, true, "370911"},
        {100, true, "370910"},     {100, false, "370910"},
        {140, true, "370914"},     {8.75, false, "35118750"},
        {1.25, false, "35111250"}, {0.5, false, "340950"},
        {0.05, false, "330950"},   {0.001, false, "320910"},
        {-5, false, "358950"},     {-6.25, false, "35916250"},
        {-0.05, false, "338950"},  {-5, true, "358950"},
        {7, true, "350970"},       {123456789, true, "3d291234567890"},
        {0.1, false, "340910"},    {1.0 / 3, false, "34413333333333333330"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value);
        const QByteArray key = c.integer ? mdxkey::numeric(std::int64_t(c.value)) : mdxkey::numeric(c.value);
        EXPECT_EQ(key.toHex(), hexKey(c.hex).toHex());
    }
    // 18 digits: more than a double holds, all kept for an integer field.
    EXPECT_EQ(mdxkey::numeric(std::int64_t(123456789012345678)).toHex(), hexKey("4649123456789012345678").toHex());
}

TEST(MdxNumericKey, OrdersAsNumbers)
{
    // Includes the values below 0.1 that TDbf's comparator puts before 0.
    const std::vector<double> values{-1e6, -100, -6.25, -5,   -0.5, -0.05, -0.001, 0,   0.001, 0.0011, 0.05,      0.099,
                                     0.1,  0.5,  1,     1.25, 8.75, 10,    99.99,  100, 110,   1e6,    123456.789};
    for (double a : values) {
        for (double b : values) {
            const QByteArray ka = mdxkey::numeric(a);
            const QByteArray kb = mdxkey::numeric(b);
            const int expected = a < b ? -1 : (a > b ? 1 : 0);
            const int got = mdxkey::compareNumeric(ka.constData(), kb.constData());
            EXPECT_EQ((got > 0) - (got < 0), expected) << a << " vs " << b;
        }
    }
    // Integer and double encodings of one value are the same key.
    for (std::int64_t v : {0LL, 1LL, -1LL, 10LL, 1234LL, -999999LL}) {
        const QByteArray ki = mdxkey::numeric(v);
        const QByteArray kd = mdxkey::numeric(double(v));
        EXPECT_EQ(ki, kd) << v;
    }
}

TEST(MdxNumericKey, DecodesBackToTheValue)
{
    for (double v : {0.0, 1.0, -1.0, 8.75, -6.25, 0.001, 123456.789, -0.05, 1e15, 99999999.99}) {
        const QByteArray key = mdxkey::numeric(v);
        EXPECT_NEAR(mdxkey::numericValue(key.constData()), v, std::fabs(v) * 1e-14) << v;
    }
    // A key that holds no digits reads as 0 whatever its sign bit says.
    EXPECT_EQ(mdxkey::numericValue(hexKey("3481").constData()), 0.0);
    EXPECT_EQ(mdxkey::compareNumeric(hexKey("3481").constData(), hexKey("3401").constData()), 0);
}

TEST(MdxKeyOrder, ShortCharacterKeyMatchesAsPrefix)
{
    const MdxKeyOrder order(MdxKeyType::Character, 6);
    EXPECT_EQ(order.compareWith("AB-C  ", "AB"), 0);
    EXPECT_LT(order.compareWith("A'B   ", "AB"), 0);
    EXPECT_GT(order.compareWith("B     ", "AB"), 0);
    EXPECT_EQ(order.compareWith("AB    ", "AB    "), 0);
    // Bytes compare unsigned: cp866 letters come after ASCII.
    EXPECT_GT(order.compare("\x80\x81\x82   ", "z     "), 0);
}
