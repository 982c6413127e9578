#pragma once

#include <QString>

namespace config {

// The program folder is the folder of the executable, with a trailing '/'.
// Tests and tools may point it elsewhere; an empty text restores the default.
QString programFolder();
void setProgramFolder(const QString &folder);

// Folder text with exactly one trailing '/' (empty stays empty).
QString withTrailingSeparator(const QString &folder);

// The settings file, named after the program: program folder + "KXOrders.ini".
QString settingsFileName();
// program folder + "properties.ini".
QString propertiesFileName();

} // namespace config
