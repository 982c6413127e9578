#include "Rounding.h"

#include <cmath>

namespace ordering {

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double down = std::floor(value);
    const double fraction = value - down;
    if (fraction < 0.5)
        return down;
    if (fraction > 0.5)
        return down + 1;
    return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

int roundToInt(double value) { return int(roundHalfEven(value)); }

double roundToCents(double value) { return roundHalfEven(value * 100) / 100; }

double roundToTenths(double value) { return roundHalfEven(value * 10) / 10; }

} // namespace ordering
