#include "FolderScan.h"

#include "ExchangeFeedback.h"

#include "config/ProgramFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace exchange {

QString folderPath(const QString &folder) { return config::withTrailingSeparator(folder); }

QStringList filesByExt(const QString &folder, const QString &extension)
{
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return {};
    // Name order, as the listing of the distributor's Windows machines gives it.
    QStringList names;
    for (const QString &name : dir.entryList(QDir::Files | QDir::NoSymLinks, QDir::Name | QDir::IgnoreCase))
        if (name.endsWith(extension, Qt::CaseInsensitive))
            names.append(name);
    return names;
}

std::optional<QString> FindFileByExt(const QString &folder, const QString &extension, const QSet<QString> &skip)
{
    for (const QString &name : filesByExt(folder, extension))
        if (!skip.contains(name))
            return name;
    return std::nullopt;
}

QStringList forEachFileByExt(const QString &folder, const QString &extension, ExchangeFeedback &feedback,
                             const QString &resistedText, const std::function<void(const QString &path)> &handle)
{
    const QString base = folderPath(folder);
    // Each name is handled once: a file that resists, or one that comes back
    // (a package holding a package that holds the first), is not taken again.
    QSet<QString> handled;
    QStringList order;
    while (const std::optional<QString> name = FindFileByExt(base, extension, handled)) {
        const QString path = base + *name;
        handled.insert(*name);
        handle(path);
        if (QFileInfo::exists(path)) {
            order.append(*name);
            feedback.setStatusText(resistedText + QDir::toNativeSeparators(path));
        }
    }
    return order;
}

QStringList removeFilesByExt(const QString &folder, const QString &extension, ExchangeFeedback &feedback)
{
    return forEachFileByExt(folder, extension, feedback, QStringLiteral("Не удаётся удалить файл "),
                            [](const QString &path) { QFile::remove(path); });
}

} // namespace exchange
