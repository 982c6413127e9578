#include "PrescriptionRules.h"

#include "schema/PrescriptionFields.h"

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

bool isSent(tables::Table &prescriptions) { return !prescriptions.field(schema::prescr::kDateSnd).isNull(); }

bool isComplete(tables::Table &t)
{
    const auto filled = [&t](const QString &name) { return !t.field(name).asString().trimmed().isEmpty(); };
    const auto positive = [&t](const QString &name) {
        const tables::Field f = t.field(name);
        return !f.isNull() && f.asInteger() > 0;
    };
    return filled(schema::prescr::kName) && (filled(schema::prescr::kComponent1) || filled(schema::prescr::kComponent2))
        && filled(schema::prescr::kNumber) && !t.field(schema::prescr::kQnt).isNull()
        && (positive(schema::prescr::kAgeY) || positive(schema::prescr::kAgeM) || positive(schema::prescr::kAgeD))
        && filled(schema::prescr::kFIO) && filled(schema::prescr::kDS);
}

} // namespace prescriptions
