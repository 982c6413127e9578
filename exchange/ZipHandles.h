#pragma once

// RAII for libzip handles; included by the package code only.
#include <zip.h>

#include <QString>

#include <memory>

namespace exchange {

struct ZipArchiveDiscard {
    void operator()(zip_t *archive) const { zip_discard(archive); }
};
// An open archive; destroyed without closeArchive, nothing is written.
using ZipArchive = std::unique_ptr<zip_t, ZipArchiveDiscard>;

struct ZipEntryClose {
    void operator()(zip_file_t *entry) const { zip_fclose(entry); }
};
using ZipEntry = std::unique_ptr<zip_file_t, ZipEntryClose>;

struct ZipSourceFree {
    void operator()(zip_source_t *source) const { zip_source_free(source); }
};
using ZipSource = std::unique_ptr<zip_source_t, ZipSourceFree>;

// Opens a package; ExchangeError with libzip's reason when it cannot be read.
ZipArchive openArchive(const QString &path, int flags);
// Writes the archive (libzip writes a temporary file and renames it);
// ExchangeError when that fails, and then nothing is left.
void closeArchive(ZipArchive archive, const QString &path);

// libzip's last error of the archive, as text.
QString zipErrorText(zip_t *archive);

} // namespace exchange
