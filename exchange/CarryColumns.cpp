#include "CarryColumns.h"

#include "config/IniFile.h"
#include "config/SettingsKeys.h"
#include "config/TableEntry.h"

namespace exchange {

QString CarryColumns::keyList() const
{
    QString list;
    for (const QString &name : keys)
        list += name + u';';
    return list;
}

QString CarryColumns::carriedList() const { return carried.join(u';'); }

CarryColumns readCarryColumns(const QString &propertiesFile, const QString &tableName)
{
    CarryColumns columns;
    const config::IniFile properties(propertiesFile);
    if (!properties.sectionExists(tableName))
        return columns;
    for (const QString &key : properties.readSection(tableName)) {
        if (key.compare(config::keys::kDBFCaption, Qt::CaseInsensitive) == 0)
            continue;
        const config::TableEntry entry =
            config::TableEntry::parse(properties.readString(tableName, key), key, tableName);
        if (entry.key())
            columns.keys.append(key);
        if (entry.visible() && !entry.readOnly())
            columns.carried.append(key);
    }
    return columns;
}

} // namespace exchange
