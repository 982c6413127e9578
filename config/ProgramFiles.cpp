#include "ProgramFiles.h"

#include <QCoreApplication>

namespace config {

namespace {

QString &overriddenFolder()
{
    static QString folder;
    return folder;
}

} // namespace

QString withTrailingSeparator(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(u'/'))
        return folder;
    return folder + u'/';
}

QString programFolder()
{
    if (!overriddenFolder().isEmpty())
        return overriddenFolder();
    return withTrailingSeparator(QCoreApplication::applicationDirPath());
}

void setProgramFolder(const QString &folder) { overriddenFolder() = withTrailingSeparator(folder); }

QString settingsFileName() { return programFolder() + QStringLiteral("KXOrders.ini"); }

QString propertiesFileName() { return programFolder() + QStringLiteral("properties.ini"); }

} // namespace config
