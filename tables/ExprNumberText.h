#pragma once

#include <cstdint>
#include <string>

namespace tables::expr {

// STR's text, as dBase writes it: right-aligned in `width` characters
// (at most 255); decimals are dropped one by one while the number does not
// fit, then the result is `width` asterisks. Doubles are rounded half away
// from zero on their 15-digit decimal expansion (2.25 -> 2.3).
void numberText(std::int64_t value, std::int64_t width, std::string &out);
void numberText(double value, std::int64_t width, std::int64_t decimals, std::string &out);

// Fixed-point text of a double with `decimals` digits after the point.
std::string fixedText(double value, int decimals);

} // namespace tables::expr
