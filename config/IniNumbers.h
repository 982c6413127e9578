#pragma once

#include <QStringView>

#include <optional>

namespace config {

// An integer as the settings files store it: optional sign and decimal digits,
// or "0x" followed by up to eight hexadecimal digits (a 32-bit pattern, so
// 0xFFFFFFFF is -1). Anything else, or a value outside 32 bits, gives nothing.
std::optional<int> parseIniInteger(QStringView text);

} // namespace config
