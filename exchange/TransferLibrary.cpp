#include "TransferLibrary.h"

#include "ExchangeError.h"

#include "config/ProgramFiles.h"
#include "transfer/KXOrder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <vector>

namespace exchange {

namespace {

// The file QLibrary looks for: "lib" + name + ".so" beside the given path.
QString sharedObjectPath(const QString &fileName)
{
    const QFileInfo info(fileName);
    return info.path() + QStringLiteral("/lib") + info.fileName() + QStringLiteral(".so");
}

const QString kBaseName = QStringLiteral("KXOrder");

void forwardLine(void *context, const char *line)
{
    (*static_cast<const TransferLine *>(context))(QString::fromUtf8(line));
}

} // namespace

QString TransferLibrary::defaultFileName() { return fileNameIn(config::programFolder(), installedFolder()); }

QString TransferLibrary::fileNameIn(const QString &programFolder, const QString &installedFolder)
{
    const QString own = config::withTrailingSeparator(programFolder) + kBaseName;
    const QString installed = config::withTrailingSeparator(installedFolder) + kBaseName;
    if (!QFileInfo::exists(sharedObjectPath(own)) && !installedFolder.isEmpty()
        && QFileInfo::exists(sharedObjectPath(installed)))
        return installed;
    return own;
}

QString TransferLibrary::installedFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + u'/' + QStringLiteral(KX_TRANSFER_DIR_FROM_BIN));
}

TransferLibrary::TransferLibrary(const QString &fileName) : library_(fileName)
{
    if (!library_.load())
        throw ExchangeError(QStringLiteral("Не найдена библиотека обмена %1, обмен невозможен (%2)")
                                .arg(sharedObjectPath(fileName), library_.errorString()));
    get_ = reinterpret_cast<void *>(library_.resolve(KX_GET_FTP_FILES));
    put_ = reinterpret_cast<void *>(library_.resolve(KX_PUT_FTP_FILES));
    if (!get_ || !put_) {
        const QString name = sharedObjectPath(fileName);
        library_.unload();
        throw ExchangeError(QStringLiteral("В библиотеке обмена %1 нет функции %2")
                                .arg(name, QString::fromLatin1(get_ ? KX_PUT_FTP_FILES : KX_GET_FTP_FILES)));
    }
}

TransferLibrary::~TransferLibrary() { unload(); }

void TransferLibrary::unload()
{
    get_ = put_ = nullptr;
    if (library_.isLoaded())
        library_.unload();
}

bool TransferLibrary::getFiles(const TransferLine &line, const QList<int> &ids, bool invoices, bool passive)
{
    if (!get_ || ids.isEmpty())
        return false;
    const std::vector<int32_t> list(ids.begin(), ids.end());
    auto call = reinterpret_cast<KxGetFtpFiles>(get_);
    return call(forwardLine, const_cast<TransferLine *>(&line), list.data(), int32_t(list.size() - 1), invoices ? 1 : 0,
                passive ? 1 : 0)
        != 0;
}

bool TransferLibrary::putFiles(const TransferLine &line, bool passive)
{
    if (!put_)
        return false;
    auto call = reinterpret_cast<KxPutFtpFiles>(put_);
    return call(forwardLine, const_cast<TransferLine *>(&line), passive ? 1 : 0) != 0;
}

} // namespace exchange
