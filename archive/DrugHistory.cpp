#include "DrugHistory.h"

#include "ordering/ViewWalk.h"
#include "tables/Table.h"

namespace windows {

void DrugHistory::add(int year, int month, double quantity)
{
    const int last = lastMonth.year() * 12 + lastMonth.month() - 1;
    const int index = kMonths - 1 - (last - (year * 12 + month - 1));
    if (index >= 0 && index < kMonths)
        quantities[std::size_t(index)] += quantity;
}

void OrderMonths::load(tables::Table &archive)
{
    months_.clear();
    const tables::Field id = archive.findField(QStringLiteral("IDRow"));
    const tables::Field year = archive.findField(QStringLiteral("Year"));
    const tables::Field month = archive.findField(QStringLiteral("Month"));
    const tables::Field date = archive.findField(QStringLiteral("DateZ"));
    // Year and Month as the window filters by them; the order date where they are missing.
    const bool byFields = year.isValid() && month.isValid();
    if (!id.isValid() || (!byFields && !date.isValid()))
        return;
    ordering::ControlsSuspended suspended(archive);
    const tables::Bookmark place = archive.bookmark();
    for (archive.first(); !archive.eof(); archive.next()) {
        const QDate day = byFields ? QDate(int(year.asInteger()), int(month.asInteger()), 1) : date.asDate();
        if (day.isValid())
            months_.insert(id.asInteger(), day.year() * 12 + day.month() - 1);
    }
    if (place)
        archive.gotoBookmark(place);
}

} // namespace windows
