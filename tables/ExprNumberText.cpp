#include "ExprNumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tables::expr {

namespace {

constexpr std::int64_t kMaxWidth = 255;
constexpr int kMaxDecimals = 18;

void fit(const std::string &text, std::int64_t width, std::string &out)
{
    const auto w = size_t(std::clamp<std::int64_t>(width, 0, kMaxWidth));
    if (text.size() > w)
        out.assign(w, '*');
    else
        out.assign(w - text.size(), ' ').append(text);
}

} // namespace

std::string fixedText(double value, int decimals)
{
    if (!std::isfinite(value))
        return {};
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value)); // d.ddddddddddddddde+XX
    std::string digits(1, buf[0]);
    digits.append(buf + 2, 14);
    int intDigits = std::atoi(std::strchr(buf, 'e') + 1) + 1;
    if (intDigits < 0) {
        digits.insert(0, size_t(-intDigits), '0');
        intDigits = 0;
    }
    const size_t keep = size_t(intDigits + decimals);
    if (keep < digits.size()) {
        const bool roundUp = digits[keep] >= '5';
        digits.resize(keep);
        if (roundUp) {
            size_t i = digits.size();
            while (i > 0 && digits[i - 1] == '9')
                digits[--i] = '0';
            if (i > 0) {
                ++digits[i - 1];
            } else {
                digits.insert(0, 1, '1');
                ++intDigits;
            }
        }
    } else {
        digits.append(keep - digits.size(), '0');
    }
    // integer part without leading zeros, at least one digit
    const size_t firstDigit = std::min(digits.find_first_not_of('0'), size_t(std::max(intDigits - 1, 0)));
    std::string text = digits.substr(firstDigit, size_t(intDigits) - std::min(firstDigit, size_t(intDigits)));
    if (text.empty())
        text.push_back('0');
    if (decimals > 0)
        text.append(1, '.').append(digits, size_t(intDigits), std::string::npos);
    if (value < 0 && text.find_first_not_of("0.") != std::string::npos)
        text.insert(0, 1, '-');
    return text;
}

void numberText(std::int64_t value, std::int64_t width, std::string &out) { fit(std::to_string(value), width, out); }

void numberText(double value, std::int64_t width, std::int64_t decimals, std::string &out)
{
    if (!std::isfinite(value)) {
        fit(std::string(size_t(kMaxWidth) + 1, '*'), width, out);
        return;
    }
    int d = int(std::clamp<std::int64_t>(decimals, 0, kMaxDecimals));
    std::string text = fixedText(value, d);
    while (d > 0 && std::int64_t(text.size()) > width)
        text = fixedText(value, --d);
    fit(text, width, out);
}

} // namespace tables::expr
