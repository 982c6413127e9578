#include "ZipHandles.h"

#include "ExchangeError.h"

#include <QDir>
#include <QFile>

namespace exchange {

ZipArchive openArchive(const QString &path, int flags)
{
    int code = 0;
    ZipArchive archive(zip_open(QFile::encodeName(path).constData(), flags, &code));
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const QString reason = QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
        throw ExchangeError(
            QStringLiteral("Не удаётся открыть пакет %1 (%2)").arg(QDir::toNativeSeparators(path), reason));
    }
    return archive;
}

void closeArchive(ZipArchive archive, const QString &path)
{
    if (zip_close(archive.get()) != 0)
        throw ExchangeError(QStringLiteral("Не удаётся записать пакет %1 (%2)")
                                .arg(QDir::toNativeSeparators(path), zipErrorText(archive.get())));
    archive.release(); // zip_close freed it
}

QString zipErrorText(zip_t *archive) { return QString::fromUtf8(zip_strerror(archive)); }

} // namespace exchange
