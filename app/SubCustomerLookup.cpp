#include "SubCustomerLookup.h"

#include "config/ProgramFiles.h"
#include "schema/Catalogue.h"
#include "tables/CodePage.h"
#include "tables/FileLookup.h"
#include "tables/Table.h"

#include <QFileInfo>

namespace app {

QVariant LookupSubCustomer(const QString &referencesFolder, const QString &field)
{
    const QString path = tables::findFileNoCase(config::withTrailingSeparator(referencesFolder), schema::kSubCustomers);
    if (!QFileInfo(path).isFile())
        return QVariant(-1);
    tables::setDefaultOpenCodePage(866);
    tables::Table table(path);
    table.setReadOnly(true);
    table.open();
    table.first();
    if (table.eof())
        return QVariant();
    return table.field(field).value();
}

} // namespace app
