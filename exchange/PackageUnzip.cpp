#include "PackageUnzip.h"

#include "EntryNames.h"
#include "ExchangeError.h"
#include "ExchangeFeedback.h"
#include "FolderScan.h"
#include "ResponsiveTimer.h"
#include "ZipHandles.h"

#include "config/ProgramFiles.h"
#include "tables/FileLookup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <fcntl.h>
#include <sys/stat.h>

#include <optional>
#include <vector>

namespace exchange {

namespace {

constexpr qint64 kReadBlock = qint64(1) << 20;
constexpr std::uint32_t kUnixTypeMask = 0170000;
constexpr std::uint32_t kUnixRegular = 0100000;
constexpr std::uint32_t kUnixFolder = 0040000;
constexpr std::uint32_t kDosFolder = 0x10;

struct PlannedEntry {
    zip_uint64_t index = 0;
    QString fileName;
    qint64 size = 0;
    std::optional<std::uint32_t> unixMode;
    std::optional<time_t> mtime;
};

[[noreturn]] void refuse(const QString &reason) { throw ExchangeError(reason); }

QByteArray storedName(zip_t *archive, zip_uint64_t index, zip_flags_t flags)
{
    const char *name = zip_get_name(archive, index, flags);
    if (!name)
        refuse(QStringLiteral("нет имени у файла %1 (%2)").arg(index).arg(zipErrorText(archive)));
    return QByteArray(name);
}

// Reads the central directory and judges every entry before anything is written.
std::vector<PlannedEntry> planEntries(zip_t *archive, const QString &folder, const UnzipLimits &limits)
{
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    std::vector<PlannedEntry> plan;
    qint64 total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = zip_uint64_t(i);
        // libzip hands a name without the UTF-8 flag over converted from
        // CP437 when asked strictly: the raw name then differs from it.
        const QByteArray raw = storedName(archive, index, ZIP_FL_ENC_RAW);
        const bool utf8 = raw == storedName(archive, index, ZIP_FL_ENC_STRICT);
        const std::optional<QString> name = decodeEntryName(raw, utf8);
        if (!name)
            refuse(QStringLiteral("имя файла %1 не в UTF-8").arg(index));
        const EntryTarget target = entryTarget(*name);

        zip_uint8_t opsys = 0;
        zip_uint32_t attributes = 0;
        zip_file_get_external_attributes(archive, index, 0, &opsys, &attributes);
        std::optional<std::uint32_t> unixMode;
        if (opsys == ZIP_OPSYS_UNIX && (attributes >> 16) != 0) {
            const std::uint32_t mode = attributes >> 16;
            if ((mode & kUnixTypeMask) == kUnixFolder)
                continue;
            if ((mode & kUnixTypeMask) != kUnixRegular && (mode & kUnixTypeMask) != 0)
                refuse(QStringLiteral("ссылка или устройство вместо файла \"%1\"").arg(*name));
            unixMode = mode;
        } else if (opsys == ZIP_OPSYS_DOS && (attributes & kDosFolder)) {
            continue;
        }
        if (target.isFolder)
            continue;
        if (!target.refusal.isEmpty())
            refuse(target.refusal);

        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive, index, 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE)
            || !(st.valid & ZIP_STAT_COMP_SIZE))
            refuse(QStringLiteral("нет размеров файла \"%1\" (%2)").arg(*name, zipErrorText(archive)));
        if (st.size > zip_uint64_t(limits.maxEntrySize))
            refuse(QStringLiteral("файл \"%1\" больше %2 байт").arg(*name).arg(limits.maxEntrySize));
        const auto size = qint64(st.size);
        if (size >= limits.ratioFloor
            && (st.comp_size == 0 || double(st.size) / double(st.comp_size) > limits.maxRatio))
            refuse(QStringLiteral("файл \"%1\" сжат более чем в %2 раз").arg(*name).arg(limits.maxRatio));
        total += size;

        PlannedEntry entry;
        entry.index = index;
        entry.fileName = target.fileName;
        entry.size = size;
        entry.unixMode = unixMode;
        if (st.valid & ZIP_STAT_MTIME)
            entry.mtime = st.mtime;
        plan.push_back(entry);
    }
    const QStorageInfo disk(folder);
    if (disk.isValid() && disk.bytesAvailable() - total < limits.freeSpaceMargin)
        refuse(QStringLiteral("на диске не хватит места: нужно %1 байт, свободно %2")
                   .arg(total)
                   .arg(disk.bytesAvailable()));
    return plan;
}

QFileDevice::Permissions permissionsOf(std::uint32_t mode, bool executable)
{
    QFileDevice::Permissions p = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
        | QFileDevice::WriteUser; // the program must keep working with its files
    const auto set = [&](std::uint32_t bit, QFileDevice::Permissions flags) {
        if (mode & bit)
            p |= flags;
    };
    set(0040, QFileDevice::ReadGroup);
    set(0020, QFileDevice::WriteGroup);
    set(0004, QFileDevice::ReadOther);
    set(0002, QFileDevice::WriteOther);
    if (executable) {
        set(0100, QFileDevice::ExeOwner | QFileDevice::ExeUser);
        set(0010, QFileDevice::ExeGroup);
        set(0001, QFileDevice::ExeOther);
    }
    return p;
}

void setModificationTime(const QString &path, time_t mtime)
{
    const timespec times[2] = {{0, UTIME_OMIT}, {mtime, 0}};
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

void extractEntry(zip_t *archive, const PlannedEntry &entry, const QString &folder, bool executable,
                  const UnzipLimits &limits, ResponsiveTimer &responsive)
{
    const QString target = tables::findFileNoCase(folder, entry.fileName);
    ZipEntry source(zip_fopen_index(archive, entry.index, 0));
    if (!source)
        refuse(QStringLiteral("не читается файл \"%1\" (%2)").arg(entry.fileName, zipErrorText(archive)));
    QSaveFile out(target);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly))
        refuse(QStringLiteral("не создаётся файл %1 (%2)").arg(QDir::toNativeSeparators(target), out.errorString()));
    QByteArray block(kReadBlock, Qt::Uninitialized);
    qint64 written = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(source.get(), block.data(), zip_uint64_t(block.size()));
        if (got < 0)
            refuse(QStringLiteral("файл \"%1\" повреждён (%2)")
                       .arg(entry.fileName, QString::fromUtf8(zip_file_strerror(source.get()))));
        if (got == 0)
            break;
        written += got;
        // The declared size may lie: the bytes actually written are judged too.
        if (written > entry.size || written > limits.maxEntrySize)
            refuse(QStringLiteral("файл \"%1\" длиннее заявленного").arg(entry.fileName));
        if (out.write(block.constData(), got) != got)
            refuse(QStringLiteral("не записывается файл %1 (%2)")
                       .arg(QDir::toNativeSeparators(target), out.errorString()));
        responsive.poll();
    }
    if (written != entry.size)
        refuse(QStringLiteral("файл \"%1\" короче заявленного").arg(entry.fileName));
    if (!out.commit())
        refuse(QStringLiteral("не записывается файл %1 (%2)").arg(QDir::toNativeSeparators(target), out.errorString()));
    if (entry.unixMode)
        QFile::setPermissions(target, permissionsOf(*entry.unixMode, executable));
    if (entry.mtime)
        setModificationTime(target, *entry.mtime);
}

bool isProgramFolder(const QString &folder)
{
    const QString program = QFileInfo(config::programFolder()).canonicalFilePath();
    return !program.isEmpty() && QFileInfo(folder).canonicalFilePath() == program;
}

void extractPackage(const QString &path, const QString &password, ExchangeFeedback &feedback, const UnzipLimits &limits)
{
    const QString folder = folderPath(QFileInfo(path).absolutePath());
    ZipArchive archive = openArchive(path, ZIP_RDONLY | ZIP_CHECKCONS);
    if (!password.isEmpty())
        zip_set_default_password(archive.get(), password.toUtf8().constData());
    const std::vector<PlannedEntry> plan = planEntries(archive.get(), folder, limits);
    const bool executable = isProgramFolder(folder);
    ResponsiveTimer responsive(feedback);
    for (const PlannedEntry &entry : plan) {
        extractEntry(archive.get(), entry, folder, executable, limits, responsive);
        feedback.setStatusText(entry.fileName + QStringLiteral(" распакован"));
        responsive.poll();
    }
}

} // namespace

void UnzipFile(const QString &path, const QString &password, bool deleteAfter, ExchangeFeedback &feedback,
               const UnzipLimits &limits)
{
    if (!QFileInfo(path).isFile())
        return;
    try {
        extractPackage(path, password, feedback, limits);
    } catch (const std::exception &e) {
        QFile::remove(path);
        feedback.showMessage(QStringLiteral("Ошибка при распаковке ") + QDir::toNativeSeparators(path)
                             + QStringLiteral(" (") + QString::fromUtf8(e.what()) + u')');
        return;
    }
    if (deleteAfter)
        QFile::remove(path);
}

void unpackFolder(const QString &folder, ExchangeFeedback &feedback, const UnzipLimits &limits)
{
    forEachFileByExt(folder, QStringLiteral(".zip"), feedback, QStringLiteral("Не удаётся удалить пакет "),
                     [&](const QString &path) { UnzipFile(path, QString(), true, feedback, limits); });
}

} // namespace exchange
