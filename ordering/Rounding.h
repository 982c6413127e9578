#pragma once

namespace ordering {

// Money and print positions round to the nearest value, halves to the even
// neighbour (the processor's default rule), whatever the current FP mode is.
double roundHalfEven(double value);
int roundToInt(double value);

// Order sums are kept in cents, markups in tenths.
double roundToCents(double value);
double roundToTenths(double value);

} // namespace ordering
