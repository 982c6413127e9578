#pragma once

// The distributor's next price list made from the current one: chosen rows,
// in a chosen order, without the entered values. Shared by the tests and the
// benchmark.
#include "tables/Table.h"
#include "tables/TableCreate.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace kx::testsupport {

// Physical numbers of the visible records, in stored order.
inline std::vector<std::uint32_t> recordNumbers(tables::Table &table)
{
    std::vector<std::uint32_t> numbers;
    for (table.first(); !table.eof(); table.next())
        numbers.push_back(table.recNo());
    return numbers;
}

// A new table at `newPath` holding the records `recnos` of `oldPath` in that
// order, with every column but Zak.
inline void copyPriceRows(const QString &oldPath, const QString &newPath, const std::vector<std::uint32_t> &recnos)
{
    tables::Table old(oldPath);
    old.setReadOnly(true);
    old.open();
    tables::FieldSpecs specs;
    for (const tables::FieldSpec &s : tables::fieldSpecsOf(old))
        if (s.name.compare(QStringLiteral("Zak"), Qt::CaseInsensitive) != 0)
            specs.push_back(s);
    tables::createTable(newPath, 4, specs, {.languageId = old.languageId(), .overwrite = true});
    tables::Table fresh(newPath);
    fresh.open();
    const QStringList names = fresh.fieldNames();
    for (std::uint32_t r : recnos) {
        old.gotoBookmark(r);
        fresh.append();
        for (const QString &name : names)
            fresh.field(name).setValue(old.field(name).value());
        fresh.post();
    }
}

} // namespace kx::testsupport
