#include "SubCustomerList.h"

#include "schema/Catalogue.h"
#include "tables/FileLookup.h"
#include "tables/Table.h"

namespace exchange {

QList<int> subCustomerIds(const QString &referencesFolder)
{
    const QString path = tables::findFileNoCase(referencesFolder, schema::kSubCustomers);
    QList<int> ids;
    if (tables::fileExistsNoCase(path)) {
        tables::Table table(path);
        table.setReadOnly(true);
        table.open();
        ids.reserve(int(table.recordCount()));
        const tables::Field id = table.field(u"IDRow");
        const tables::Field parentGet = table.field(u"ParentGet");
        for (table.first(); !table.eof(); table.next())
            if (parentGet.asBoolean())
                ids.append(int(id.asInteger()));
    }
    if (ids.isEmpty())
        ids.append(-1);
    return ids;
}

} // namespace exchange
