#include "IniNumbers.h"

#include <cstdint>

namespace config {

namespace {

int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

} // namespace

std::optional<int> parseIniInteger(QStringView text)
{
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        const QStringView digits = text.mid(2);
        if (digits.size() > 8)
            return std::nullopt;
        std::uint32_t value = 0;
        for (QChar c : digits) {
            const int d = hexDigit(c.unicode());
            if (d < 0)
                return std::nullopt;
            value = value * 16 + std::uint32_t(d);
        }
        return static_cast<int>(static_cast<std::int32_t>(value));
    }
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > std::int64_t(INT32_MAX) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace config
