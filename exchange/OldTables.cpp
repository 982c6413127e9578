#include "OldTables.h"

#include "FolderScan.h"
#include "IncomingRefresh.h"

#include <QFile>
#include <QFileInfo>

namespace exchange {

namespace {
const QString kRenameFailed = QStringLiteral("Не удаётся переименовать файл ");

QString withExtension(const QString &path, const QString &extension)
{
    const QFileInfo info(path);
    return info.path() + u'/' + info.completeBaseName() + extension;
}
} // namespace

CarryReport finishInterruptedRefreshes(const QString &priceFolder, const QString &propertiesFile,
                                       ExchangeFeedback &feedback)
{
    CarryReport report;
    const QString folder = folderPath(priceFolder);
    for (const QString &name : filesByExt(folder, QStringLiteral(".dbf")))
        if (QFileInfo::exists(oldTablePath(folder + name)))
            report.append(refreshTable(folder, name, propertiesFile, feedback, CarryMode::FillEmpty));
    return report;
}

CarryReport renameTablesToOld(const QString &priceFolder, const QString &propertiesFile, ExchangeFeedback &feedback)
{
    const CarryReport report = finishInterruptedRefreshes(priceFolder, propertiesFile, feedback);
    // QFile::rename never replaces an existing file: a ".old" that could not
    // be removed keeps its table from being renamed, and is kept itself.
    forEachFileByExt(priceFolder, QStringLiteral(".dbf"), feedback, kRenameFailed,
                     [](const QString &path) { QFile::rename(path, withExtension(path, QStringLiteral(".old"))); });
    return report;
}

void restoreOldTables(const QString &priceFolder, ExchangeFeedback &feedback)
{
    forEachFileByExt(priceFolder, QStringLiteral(".old"), feedback, kRenameFailed,
                     [](const QString &path) { QFile::rename(path, withExtension(path, QStringLiteral(".dbf"))); });
}

} // namespace exchange
