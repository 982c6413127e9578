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

CarryReport renameTablesToOld(const QString &priceFolder, const QString &propertiesFile, ExchangeFeedback &feedback)
{
    CarryReport report;
    forEachFileByExt(priceFolder, QStringLiteral(".dbf"), feedback, kRenameFailed, [&](const QString &path) {
        if (QFileInfo::exists(oldTablePath(path)))
            report.append(refreshTable(priceFolder, QFileInfo(path).fileName(), propertiesFile, feedback,
                                       CarryMode::FillEmpty));
        // QFile::rename never replaces an existing file.
        QFile::rename(path, withExtension(path, QStringLiteral(".old")));
    });
    return report;
}

void restoreOldTables(const QString &priceFolder, ExchangeFeedback &feedback)
{
    forEachFileByExt(priceFolder, QStringLiteral(".old"), feedback, kRenameFailed, [](const QString &path) {
        QFile::rename(path, withExtension(path, QStringLiteral(".dbf")));
    });
}

} // namespace exchange
