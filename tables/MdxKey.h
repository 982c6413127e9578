#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <cstring>

namespace tables {

// Type of an index key: character keys are stored field (or expression)
// bytes; numeric keys are dBase IV's 12-byte BCD.
enum class MdxKeyType : char { Character = 'C', Numeric = 'N' };

namespace mdxkey {

constexpr int kNumericLength = 12;

// BCD key as TDbf builds it: byte 0 = 0x34 + digits before the point, byte 1 =
// 8 * digit bytes + 1 (| 0x80 when negative), then the significant digits two
// per byte. Integers keep every digit; doubles are rounded to 15 significant
// digits. Zero (and anything not finite) is 34 01 00...
QByteArray numeric(std::int64_t value);
QByteArray numeric(double value);

// Value of a BCD key (for diagnostics and tests); 0 for keys it cannot read.
double numericValue(const char *key);

// Order of two BCD keys as numbers. TDbf puts positive values below 0.1 before
// zero; this does not.
int compareNumeric(const char *a, const char *b);

} // namespace mdxkey

// Comparison of the keys of one tag: byte order for character keys (the
// collation of tables without mark and of cp866 tables marked 0x26), numeric
// order for BCD keys.
class MdxKeyOrder {
public:
    MdxKeyOrder() = default;
    MdxKeyOrder(MdxKeyType type, int length) : type_(type), length_(length) {}

    MdxKeyType type() const { return type_; }
    int length() const { return length_; }

    // Full keys of the tag's length.
    int compare(const char *a, const char *b) const
    {
        if (type_ == MdxKeyType::Numeric)
            return mdxkey::compareNumeric(a, b);
        return std::memcmp(a, b, size_t(length_));
    }

    // A stored key against a search key: a character search key shorter than
    // the tag's keys compares with their beginning only, so every key starting
    // with it compares equal. Numeric search keys are full keys.
    int compareWith(const char *stored, QByteArrayView search) const;

private:
    MdxKeyType type_ = MdxKeyType::Character;
    int length_ = 0;
};

} // namespace tables
