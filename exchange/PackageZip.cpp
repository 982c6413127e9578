#include "PackageZip.h"

#include "EntryNames.h"
#include "ExchangeError.h"
#include "ExchangeFeedback.h"
#include "FolderScan.h"
#include "ZipHandles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <sys/stat.h>

namespace exchange {

namespace {

constexpr int kMaxLevel = 9;
constexpr double kProgressStep = 0.01;

struct PackedFile {
    QString path;
    QString name;
};

std::vector<PackedFile> matchingFiles(const QString &folder, const QString &pattern, const QString &package)
{
    std::vector<PackedFile> files;
    QDirIterator it(folder, {pattern}, QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
    const QString packagePath = QFileInfo(package).absoluteFilePath();
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        if (info.absoluteFilePath() != packagePath)
            files.push_back({info.absoluteFilePath(), info.fileName()});
    }
    std::sort(files.begin(), files.end(), [](const PackedFile &a, const PackedFile &b) { return a.path < b.path; });
    QHash<QString, QString> seen;
    for (const PackedFile &f : files) {
        const QString key = f.name.toLower();
        if (seen.contains(key))
            throw ExchangeError(QStringLiteral("Два файла с одним именем не могут попасть в один пакет: %1 и %2")
                                    .arg(QDir::toNativeSeparators(seen[key]), QDir::toNativeSeparators(f.path)));
        seen.insert(key, f.path);
    }
    return files;
}

void addFile(zip_t *archive, const PackedFile &file, int level, const QString &password)
{
    ZipSource source(zip_source_file(archive, QFile::encodeName(file.path).constData(), 0, -1));
    if (!source)
        throw ExchangeError(
            QStringLiteral("Не читается файл %1 (%2)").arg(QDir::toNativeSeparators(file.path), zipErrorText(archive)));
    const zip_flags_t nameFlags = needsUtf8Flag(file.name) ? ZIP_FL_ENC_UTF_8 : ZIP_FL_ENC_GUESS;
    const zip_int64_t index = zip_file_add(archive, file.name.toUtf8().constData(), source.get(), nameFlags);
    if (index < 0)
        throw ExchangeError(QStringLiteral("Не добавляется в пакет файл %1 (%2)")
                                .arg(QDir::toNativeSeparators(file.path), zipErrorText(archive)));
    source.release(); // the archive owns it now
    const auto i = zip_uint64_t(index);
    if (level == 0)
        zip_set_file_compression(archive, i, ZIP_CM_STORE, 0);
    else
        zip_set_file_compression(archive, i, ZIP_CM_DEFLATE, zip_uint32_t(level));
    struct stat st;
    if (::stat(QFile::encodeName(file.path).constData(), &st) == 0)
        zip_file_set_external_attributes(archive, i, 0, ZIP_OPSYS_UNIX, zip_uint32_t(st.st_mode) << 16);
    if (!password.isEmpty() && zip_file_set_encryption(archive, i, ZIP_EM_AES_256, password.toUtf8().constData()) != 0)
        throw ExchangeError(QStringLiteral("Пакет не шифруется (%1)").arg(zipErrorText(archive)));
}

void reportSizes(const QString &package, const std::vector<PackedFile> &files, ExchangeFeedback &feedback)
{
    ZipArchive written = openArchive(package, ZIP_RDONLY);
    for (size_t i = 0; i < files.size(); ++i) {
        const PackedFile &file = files[i];
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(written.get(), zip_uint64_t(i), 0, &st) != 0)
            throw ExchangeError(
                QStringLiteral("В пакете %1 нет файла %2").arg(QDir::toNativeSeparators(package), file.name));
        feedback.setStatusText(
            QStringLiteral("упакован %1 размер до: %2 размер после: %3").arg(file.name).arg(st.size).arg(st.comp_size));
    }
}

} // namespace

QString packageNameFor(const QString &mask, int subCustomerId)
{
    const QFileInfo info(mask);
    const QString folder = folderPath(info.path());
    if (info.fileName().contains(u'*'))
        return folder + QStringLiteral("Z%1_.zip").arg(subCustomerId);
    return folder + info.completeBaseName() + QStringLiteral(".zip");
}

QString ZipFiles(const QString &mask, int level, const QString &password, int subCustomerId, ExchangeFeedback &feedback)
{
    if (level < 0 || level > kMaxLevel)
        throw ExchangeError(QStringLiteral("Степень сжатия должна быть от 0 до 9, а не %1").arg(level));
    const QFileInfo info(mask);
    const QString package = packageNameFor(mask, subCustomerId);
    const std::vector<PackedFile> files = matchingFiles(info.path(), info.fileName(), package);
    if (files.empty())
        return {};
    ZipArchive archive = openArchive(package, ZIP_CREATE | ZIP_TRUNCATE);
    zip_register_progress_callback_with_state(
        archive.get(), kProgressStep,
        [](zip_t *, double, void *state) { static_cast<ExchangeFeedback *>(state)->keepResponsive(); }, nullptr,
        &feedback);
    for (const PackedFile &file : files)
        addFile(archive.get(), file, level, password);
    closeArchive(std::move(archive), package);
    reportSizes(package, files, feedback);
    return package;
}

} // namespace exchange
