#include "PrescriptionRules.h"

#include "PrescriptionFields.h"

#include "tables/Table.h"

#include <limits>

namespace prescriptions {

std::int32_t numberAfter(const QString &number)
{
    constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();
    int pos = 0;
    while (pos < number.size() && number[pos] == u' ')
        ++pos;
    std::int64_t value = 0;
    for (; pos < number.size() && number[pos] >= u'0' && number[pos] <= u'9'; ++pos)
        value = std::min(kLargest, value * 10 + (number[pos].unicode() - u'0'));
    return std::int32_t(std::min(kLargest, value + 1));
}

bool isSent(tables::Table &prescriptions) { return !prescriptions.field(fields::kDateSnd).isNull(); }

bool isComplete(tables::Table &t)
{
    const auto filled = [&t](const QString &name) { return !t.field(name).asString().trimmed().isEmpty(); };
    const auto positive = [&t](const QString &name) {
        const tables::Field f = t.field(name);
        return !f.isNull() && f.asInteger() > 0;
    };
    return filled(fields::kName) && (filled(fields::kComponent1) || filled(fields::kComponent2))
        && filled(fields::kNumber) && !t.field(fields::kQnt).isNull()
        && (positive(fields::kAgeY) || positive(fields::kAgeM) || positive(fields::kAgeD)) && filled(fields::kFIO)
        && filled(fields::kDS);
}

} // namespace prescriptions
