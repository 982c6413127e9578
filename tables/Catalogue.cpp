#include "Catalogue.h"

#include "FileLookup.h"
#include "Table.h"
#include "TableCreate.h"

#include <QFileInfo>

namespace tables::catalogue {

FieldSpecs prescriptionFields()
{
    using K = FieldKind;
    return {
        {QStringLiteral("IDRow"), K::Integer},
        {QStringLiteral("Number"), K::String, 10},
        {QStringLiteral("FIO"), K::String, 50},
        {QStringLiteral("DateCreate"), K::Date},
        {QStringLiteral("CodePst"), K::Integer},
        {QStringLiteral("Name"), K::String, 50},
        {QStringLiteral("AgeY"), K::Integer, 3},
        {QStringLiteral("AgeM"), K::Integer, 2},
        {QStringLiteral("AgeD"), K::Integer, 2},
        {QStringLiteral("DS"), K::String, 50},
        {QStringLiteral("Qnt"), K::Integer, 12},
        {QStringLiteral("Component1"), K::String, 250},
        {QStringLiteral("Component2"), K::String, 250},
        {QStringLiteral("DateSnd"), K::Date},
        {QStringLiteral("DateRC"), K::Date},
        {QStringLiteral("Provided"), K::Boolean},
        {QStringLiteral("DESC"), K::String, 100},
        {QStringLiteral("DELIVDATE"), K::Date},
    };
}

bool createPrescriptionTable(const QString &folder)
{
    const QString path = findFileNoCase(folder, kPrescriptions);
    if (QFileInfo::exists(path))
        return false;
    createTable(path, kPrescriptionLevel, prescriptionFields());
    Table check(path); // opened once and closed, as a fresh table should be
    check.open();
    return true;
}

} // namespace tables::catalogue
