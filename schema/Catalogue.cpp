#include "Catalogue.h"

#include "PrescriptionFields.h"

#include "tables/FileLookup.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"

#include <QFileInfo>

namespace schema {

tables::FieldSpecs prescriptionFields()
{
    using K = tables::FieldKind;
    namespace f = prescr;
    return {
        {f::kIDRow, K::Integer},          {f::kNumber, K::String, 10}, {f::kFIO, K::String, 50},
        {f::kDateCreate, K::Date},        {f::kCodePST, K::Integer},   {f::kName, K::String, 50},
        {f::kAgeY, K::Integer, 3},        {f::kAgeM, K::Integer, 2},   {f::kAgeD, K::Integer, 2},
        {f::kDS, K::String, 50},          {f::kQnt, K::Integer, 12},   {f::kComponent1, K::String, 250},
        {f::kComponent2, K::String, 250}, {f::kDateSnd, K::Date},      {f::kDateRC, K::Date},
        {f::kProvided, K::Boolean},       {f::kDesc, K::String, 100},  {f::kDelivDate, K::Date},
    };
}

bool createPrescriptionTable(const QString &folder)
{
    const QString path = tables::findFileNoCase(folder, kPrescriptions);
    if (QFileInfo::exists(path))
        return false;
    tables::createTable(path, kPrescriptionLevel, prescriptionFields());
    tables::Table check(path); // opened once and closed, as a fresh table should be
    check.open();
    return true;
}

} // namespace schema
