#include "MdxKey.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace tables {

namespace mdxkey {

namespace {

constexpr unsigned char kExponentBias = 0x34;
constexpr unsigned char kNegative = 0x80;
constexpr int kDigitBytesOffset = 2;
constexpr int kMaxDigits = 2 * (kNumericLength - kDigitBytesOffset);

// digits: significant decimal digits without leading zeros; exponent: digits
// before the decimal point. An integer's trailing zeros are not stored.
QByteArray encode(std::string d, int exponent, bool negative, bool dropTrailingZeros)
{
    QByteArray key(kNumericLength, '\0');
    if (dropTrailingZeros) {
        while (!d.empty() && d.back() == '0')
            d.pop_back();
    }
    if (d.size() > size_t(kMaxDigits))
        d.resize(kMaxDigits);
    exponent = std::clamp(exponent, -int(kExponentBias), 0xFF - int(kExponentBias));
    key[0] = char(kExponentBias + exponent);
    const int bytes = int(d.size() + 1) / 2;
    key[1] = char((bytes * 8 + 1) | (negative ? kNegative : 0));
    for (size_t i = 0; i < d.size(); ++i) {
        const int nibble = d[i] - '0';
        char &byte = key[int(kDigitBytesOffset + i / 2)];
        byte = char(byte | (i % 2 == 0 ? nibble << 4 : nibble));
    }
    return key;
}

bool isZero(const char *key)
{
    const auto *u = reinterpret_cast<const unsigned char *>(key);
    for (int i = kDigitBytesOffset; i < kNumericLength; ++i) {
        if (u[i] != 0)
            return false;
    }
    return true;
}

int signOf(const char *key)
{
    if (isZero(key))
        return 0;
    return (static_cast<unsigned char>(key[1]) & kNegative) ? -1 : 1;
}

} // namespace

QByteArray numeric(std::int64_t value)
{
    if (value == 0)
        return encode({}, 0, false, true);
    const bool negative = value < 0;
    // Magnitude without overflow for the most negative value.
    const std::uint64_t magnitude = negative ? std::uint64_t(0) - std::uint64_t(value) : std::uint64_t(value);
    const std::string digits = std::to_string(magnitude);
    return encode(digits, int(digits.size()), negative, true);
}

QByteArray numeric(double value)
{
    if (!std::isfinite(value) || value == 0.0)
        return encode({}, 0, false, true);
    // TDbf's digits: FloatToDecimal(value, 9999, 15) formats the value with 17
    // significant digits, rounds to 15 decimals (dropping trailing zeros only
    // when it rounds down), and the key keeps the first 16 digits of that.
    // FPC's 17 digits are not always correctly rounded: for about two values in
    // a thousand (17th digit a near tie) TDbf's 16th key digit is one
    // higher than ours (removal tolerates that, see MdxTag).
    char text[40];
    std::snprintf(text, sizeof text, "%.16e", std::fabs(value));
    std::string d;
    const char *p = text;
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            d.push_back(*p);
    }
    int exponent = (*p == 'e' ? std::atoi(p + 1) : 0) + 1;
    constexpr int kDigitSlots = 19; // TFloatRec.Digits
    d.resize(kDigitSlots, '0');
    const int n = std::min(15 + exponent, kDigitSlots - 1);
    std::string digits;
    if (n == 0) {
        if (d[0] >= '5') {
            digits = "1";
            ++exponent;
        }
    } else if (n > 0) {
        if (d[size_t(n)] >= '5') {
            int at = n - 1;
            while (++d[size_t(at)] > '9' && at > 0)
                --at;
            if (d[size_t(at)] > '9') {
                d[0] = '1';
                ++exponent;
            }
            digits = d.substr(0, size_t(at) + 1);
        } else {
            digits = d.substr(0, size_t(n));
            while (!digits.empty() && digits.back() == '0')
                digits.pop_back();
        }
    }
    if (digits.size() > 16)
        digits.resize(16);
    return encode(digits, exponent, value < 0, false);
}

double numericValue(const char *key)
{
    const auto *u = reinterpret_cast<const unsigned char *>(key);
    const int bytes = std::min<int>((u[1] & 0x7F) >> 3, kNumericLength - kDigitBytesOffset);
    const int exponent = int(u[0]) - kExponentBias;
    double mantissa = 0; // 0.d1d2d3...
    double scale = 0.1;
    for (int i = 0; i < bytes; ++i) {
        mantissa += (u[kDigitBytesOffset + i] >> 4) * scale;
        scale /= 10;
        mantissa += (u[kDigitBytesOffset + i] & 0x0F) * scale;
        scale /= 10;
    }
    const double value = mantissa * std::pow(10.0, exponent);
    return (u[1] & kNegative) ? -value : value;
}

int compareNumeric(const char *a, const char *b)
{
    const int sa = signOf(a);
    const int sb = signOf(b);
    if (sa != sb)
        return sa < sb ? -1 : 1;
    if (sa == 0)
        return 0;
    const auto *ua = reinterpret_cast<const unsigned char *>(a);
    const auto *ub = reinterpret_cast<const unsigned char *>(b);
    int c = int(ua[0]) - int(ub[0]);
    if (c == 0)
        c = std::memcmp(a + kDigitBytesOffset, b + kDigitBytesOffset, kNumericLength - kDigitBytesOffset);
    c = c < 0 ? -1 : (c > 0 ? 1 : 0);
    return sa > 0 ? c : -c;
}

} // namespace mdxkey

int MdxKeyOrder::compareWith(const char *stored, QByteArrayView search) const
{
    if (type_ == MdxKeyType::Numeric) {
        if (search.size() >= mdxkey::kNumericLength)
            return mdxkey::compareNumeric(stored, search.data());
        QByteArray full(search.data(), search.size());
        full.resize(mdxkey::kNumericLength, '\0');
        return mdxkey::compareNumeric(stored, full.constData());
    }
    const qsizetype n = std::min<qsizetype>(search.size(), length_);
    return std::memcmp(stored, search.data(), size_t(n));
}

} // namespace tables
