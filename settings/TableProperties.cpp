#include "TableProperties.h"

#include "config/IniFile.h"
#include "config/TableEntry.h"
#include "tables/FileLookup.h"
#include "tables/Table.h"

#include <QDir>
#include <QFileInfo>

namespace settings {

namespace {

const QString kCaptionKey = QStringLiteral("DBFCaption");

QString sectionOf(const QString &fileName) { return fileName.toUpper(); }

} // namespace

QStringList listTableFiles(const QStringList &folders)
{
    QStringList names;
    for (const QString &folder : folders) {
        const QDir dir(folder);
        if (folder.isEmpty() || !dir.exists())
            continue;
        // The case of the extension does not matter, as for every table name.
        for (const QFileInfo &file : dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Unsorted))
            if (file.suffix().compare(QLatin1String("dbf"), Qt::CaseInsensitive) == 0)
                names << file.fileName();
    }
    return names;
}

QString findTableFile(const QStringList &folders, const QString &fileName)
{
    for (const QString &folder : folders) {
        if (folder.isEmpty())
            continue;
        const QString path = tables::findFileNoCase(folder, fileName);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

TableProperties loadTableProperties(const QString &tablePath, const QString &propertiesFile)
{
    const QString section = sectionOf(QFileInfo(tablePath).fileName());
    const config::IniFile properties(propertiesFile);
    TableProperties loaded;
    loaded.caption = properties.readString(section, kCaptionKey);
    tables::Table table(tablePath);
    table.setReadOnly(true);
    table.open();
    for (int i = 0; i < table.fieldCount(); ++i) {
        const QString name = table.field(i).name();
        const QString fallback = config::TableEntry::defaultFor(name, i + 1).toString();
        QStringList items = config::splitDelimited(properties.readString(section, name, fallback));
        items = items.mid(0, kEntryItems);
        while (items.size() < kEntryItems)
            items << QString();
        loaded.rows.push_back(items);
    }
    return loaded;
}

void saveTableProperties(const QString &fileName, const TableProperties &properties, const QString &propertiesFile)
{
    const QString section = sectionOf(fileName);
    const config::IniFile ini(propertiesFile);
    ini.writeString(section, kCaptionKey, properties.caption);
    for (const QStringList &row : properties.rows) {
        const QString key = row.value(0).trimmed();
        if (key.isEmpty())
            continue;
        const QString entry = config::joinDelimited(row);
        if (ini.readString(section, key) != entry)
            ini.writeString(section, key, entry);
    }
}

} // namespace settings
