#include "Narcotics.h"

#include "FolderScan.h"

#include "tables/FileLookup.h"
#include "tables/Table.h"

namespace exchange {

namespace {
const QString kCustomerTable = QStringLiteral("CustomerN.dbf");
const QString kIdField = QStringLiteral("ID");
const QString kPermissionField = QStringLiteral("Value1");
constexpr int kAllowed = 1;
} // namespace

bool NarcoticsAllowed(const QString &narcoticsFolder, int activeCustomerId)
{
    tables::Table customers(tables::findFileNoCase(narcoticsFolder, kCustomerTable));
    customers.setReadOnly(true);
    customers.open();
    const tables::Field id = customers.field(kIdField);
    const tables::Field permission = customers.field(kPermissionField);
    for (customers.first(); !customers.eof(); customers.next())
        if (!id.isNull() && id.asInteger() == activeCustomerId && permission.asInteger() == kAllowed
            && !permission.isNull())
            return true;
    return false;
}

void ClearNarcotics(const QString &narcoticsFolder, int activeCustomerId, ExchangeFeedback &feedback)
{
    if (NarcoticsAllowed(narcoticsFolder, activeCustomerId))
        return;
    for (const QString &extension : {QStringLiteral(".dbf"), QStringLiteral(".mdx")})
        removeFilesByExt(narcoticsFolder, extension, feedback);
}

} // namespace exchange
