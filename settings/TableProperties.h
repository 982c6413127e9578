#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace settings {

// The presentation of one table in properties.ini as the settings window
// edits it: its menu caption and one row of seven items per field.
struct TableProperties {
    QString caption; // DBFCaption
    std::vector<QStringList> rows; // field, position, title, visible, read-only, key, width
};

inline constexpr int kEntryItems = 7;

// The "*.dbf" file names of the folders, folder by folder in the given order,
// each as the file system lists them; a name in two folders comes twice.
QStringList listTableFiles(const QStringList &folders);

// The first folder's copy of the table, or an empty text when none has it.
QString findTableFile(const QStringList &folders, const QString &fileName);

// The table's fields with their entries in section fileName (upper case) of
// `propertiesFile`; a field without one gets name;position;name;Y;Y;N;0.
// Items beyond the seventh are dropped, missing ones are empty.
TableProperties loadTableProperties(const QString &tablePath, const QString &propertiesFile);

// Writes the caption (also an empty one) and every row whose entry differs
// from the stored one; unchanged rows are not written. Raises
// config::ConfigError when the file cannot be written.
void saveTableProperties(const QString &fileName, const TableProperties &properties, const QString &propertiesFile);

} // namespace settings
