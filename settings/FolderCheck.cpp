#include "FolderCheck.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace settings {

std::optional<QString> folderProblem(const QString &path)
{
    const QString folder = QDir::cleanPath(path);
    if (path.trimmed().isEmpty())
        return QStringLiteral("Папка не задана.");
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        return QStringLiteral("Не удалось создать папку %1. Оставлена прежняя папка.").arg(folder);
    // Writing is what the program does there: a probe file says whether it can.
    QTemporaryFile probe(folder + QStringLiteral("/.kxorders-XXXXXX"));
    if (!probe.open())
        return QStringLiteral("В папку %1 нельзя записывать файлы. Оставлена прежняя папка.").arg(folder);
    return std::nullopt;
}

} // namespace settings
