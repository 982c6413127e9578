#include "UploadSteps.h"

#include "ExchangeFeedback.h"
#include "FolderScan.h"
#include "PackageZip.h"
#include "ZipHandles.h"

#include <QFile>
#include <QFileInfo>

namespace exchange {

namespace {

constexpr int kPackLevel = 8;
constexpr qint64 kCompareChunk = 64 * 1024;

} // namespace

bool packageHolds(const QString &packagePath, const QString &filePath)
{
    try {
        ZipArchive archive = openArchive(packagePath, ZIP_RDONLY | ZIP_CHECKCONS);
        const QByteArray name = QFileInfo(filePath).fileName().toUtf8();
        const zip_int64_t index = zip_name_locate(archive.get(), name.constData(), ZIP_FL_NOCASE);
        zip_stat_t stat;
        if (index < 0 || zip_stat_index(archive.get(), zip_uint64_t(index), 0, &stat) != 0)
            return false;
        QFile file(filePath);
        if (!file.open(QIODevice::ReadOnly) || (stat.valid & ZIP_STAT_SIZE) == 0 || qint64(stat.size) != file.size())
            return false;
        ZipEntry entry(zip_fopen_index(archive.get(), zip_uint64_t(index), 0));
        if (!entry)
            return false;
        QByteArray packed(kCompareChunk, Qt::Uninitialized);
        for (;;) {
            const zip_int64_t got = zip_fread(entry.get(), packed.data(), kCompareChunk);
            if (got < 0) // includes a CRC that does not match
                return false;
            if (got == 0)
                return file.atEnd();
            if (file.read(qint64(got)) != QByteArrayView(packed.constData(), qsizetype(got)))
                return false;
        }
    } catch (const std::exception &) {
        return false;
    }
}

QString packPreparedFiles(const QString &ordersFolder, int subCustomerId, ExchangeFeedback &feedback)
{
    const QString folder = folderPath(ordersFolder);
    const QStringList prepared = filesByExt(folder, QStringLiteral(".dbf"));
    const QString package = ZipFiles(folder + QStringLiteral("*.dbf"), kPackLevel, QString(), subCustomerId, feedback);
    if (package.isEmpty())
        return package;
    for (const QString &name : prepared) {
        const QString path = folder + name;
        if (!packageHolds(package, path))
            feedback.setStatusText(QStringLiteral("Файл не попал в пакет и остаётся: ") + path);
        else if (!QFile::remove(path))
            feedback.setStatusText(QStringLiteral("Не удалось удалить ") + path);
    }
    return package;
}

} // namespace exchange
