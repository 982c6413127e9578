#pragma once

#include <QString>

#include <vector>

namespace app {

struct TableMenuEntry {
    QString caption; // DBFCaption of the table's section in properties.ini, or the file name
    QString path; // folder + file name
};

// The "*.dbf" files of a folder (any letter case), sorted by name without
// regard to case as the Windows file system lists them, with their captions.
std::vector<TableMenuEntry> listTableMenuEntries(const QString &folder, const QString &propertiesFileName);

} // namespace app
