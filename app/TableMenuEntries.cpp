#include "TableMenuEntries.h"

#include "config/IniFile.h"
#include "config/ProgramFiles.h"
#include "config/SettingsKeys.h"

#include <QDir>

namespace app {

std::vector<TableMenuEntry> listTableMenuEntries(const QString &folder, const QString &propertiesFileName)
{
    std::vector<TableMenuEntry> entries;
    if (folder.isEmpty())
        return entries;
    const QString base = config::withTrailingSeparator(folder);
    // Name filters ignore case unless QDir::CaseSensitive is given.
    const QStringList names =
        QDir(base).entryList({QStringLiteral("*.dbf")}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    const config::IniFile properties(propertiesFileName);
    for (const QString &name : names) {
        const QString caption = properties.readString(name, config::keys::kDBFCaption);
        entries.push_back({caption.isEmpty() ? name : caption, base + name});
    }
    return entries;
}

} // namespace app
