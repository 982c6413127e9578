#include "CurlRemote.h"

#include "TransferFailure.h"

#include <QFile>
#include <QUrl>

namespace transfer {

namespace {

constexpr qint64 kMaxListing = qint64(4) << 20;

size_t keepAnswer(char *data, size_t size, size_t count, void *user)
{
    const QByteArray line = QByteArray(data, qsizetype(size * count)).trimmed();
    if (!line.isEmpty())
        *static_cast<QByteArray *>(user) = line;
    return size * count;
}

size_t appendListing(char *data, size_t size, size_t count, void *user)
{
    auto *out = static_cast<QByteArray *>(user);
    if (out->size() + qint64(size * count) > kMaxListing)
        return 0; // a listing this long is not a distributor's folder
    out->append(data, qsizetype(size * count));
    return size * count;
}

size_t writeToFile(char *data, size_t size, size_t count, void *user)
{
    auto *file = static_cast<QFile *>(user);
    return file->write(data, qint64(size * count)) == qint64(size * count) ? size * count : 0;
}

size_t discard(char *, size_t size, size_t count, void *) { return size * count; }

size_t readFromFile(char *data, size_t size, size_t count, void *user)
{
    const qint64 got = static_cast<QFile *>(user)->read(data, qint64(size * count));
    return got < 0 ? CURL_READFUNC_ABORT : size_t(got);
}

} // namespace

CurlRemote::CurlRemote(const TransferSettings &settings, bool passive) : settings_(settings), passive_(passive)
{
    base_ = settings.url;
    if (base_.startsWith(QLatin1String("ftps://"), Qt::CaseInsensitive)) {
        // Explicit TLS: a plain FTP connection that must switch with AUTH TLS.
        explicitTls_ = true;
        base_ = QStringLiteral("ftp://") + base_.mid(7);
    }
    sftp_ = base_.startsWith(QLatin1String("sftp://"), Qt::CaseInsensitive);
    if (!sftp_ && !base_.startsWith(QLatin1String("ftp://"), Qt::CaseInsensitive))
        throw TransferFailure(QStringLiteral("Адрес сервера %1 не поддерживается").arg(settings.url));
}

CurlEasy CurlRemote::handle(const QString &folder, const QString &name)
{
    CurlEasy curl(curl_easy_init());
    if (!curl)
        throw TransferFailure(QStringLiteral("Не удалось начать обмен (libcurl)"));
    CURL *c = curl.get();
    const QByteArray url = (base_ + folder + name).toUtf8();
    curl_easy_setopt(c, CURLOPT_URL, url.constData()); // libcurl copies strings
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "ftp,sftp");
    curl_easy_setopt(c, CURLOPT_USERNAME, settings_.user.toUtf8().constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, settings_.password.toUtf8().constData());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, long(settings_.connectTimeoutSeconds));
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(settings_.responseTimeoutSeconds));
    curl_easy_setopt(c, CURLOPT_ACCEPTTIMEOUT_MS, long(settings_.connectTimeoutSeconds) * 1000L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, long(settings_.stallTimeoutSeconds));
    curl_easy_setopt(c, CURLOPT_FTPPORT, passive_ ? nullptr : "-");
    curl_easy_setopt(c, CURLOPT_FTP_USE_EPSV, 1L);
    if (explicitTls_)
        curl_easy_setopt(c, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    if (!settings_.caFile.isEmpty())
        curl_easy_setopt(c, CURLOPT_CAINFO, settings_.caFile.toLocal8Bit().constData());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, discard);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, keepAnswer);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &lastAnswer_);
    error_[0] = 0;
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error_);
    return curl;
}

CURLcode CurlRemote::perform(CURL *curl, const QString &what, bool missingIsError)
{
    lastAnswer_.clear();
    const CURLcode code = curl_easy_perform(curl);
    if (code == CURLE_OK)
        return code;
    if (!missingIsError && (code == CURLE_REMOTE_FILE_NOT_FOUND || code == CURLE_REMOTE_ACCESS_DENIED))
        return code;
    QString text =
        QStringLiteral("Ошибка: %1 - %2").arg(what, QString::fromUtf8(error_[0] ? error_ : curl_easy_strerror(code)));
    if (!lastAnswer_.isEmpty())
        text += QStringLiteral("; ответ сервера: ") + QString::fromUtf8(lastAnswer_);
    throw TransferFailure(text);
}

QStringList CurlRemote::list(const QString &folder)
{
    CurlEasy curl = handle(folder);
    QByteArray listing;
    curl_easy_setopt(curl.get(), CURLOPT_DIRLISTONLY, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, appendListing);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &listing);
    if (perform(curl.get(), QStringLiteral("список ") + folder, false) != CURLE_OK)
        return {};
    QStringList names;
    for (const QByteArray &line : listing.split('\n')) {
        QString name = QString::fromUtf8(line.trimmed());
        // Some servers list "folder/name".
        name = name.mid(name.lastIndexOf(u'/') + 1);
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

qint64 CurlRemote::size(const QString &folder, const QString &name)
{
    CurlEasy curl = handle(folder, name);
    curl_easy_setopt(curl.get(), CURLOPT_NOBODY, 1L);
    if (perform(curl.get(), QStringLiteral("размер ") + name, false) != CURLE_OK)
        return -1;
    curl_off_t length = -1;
    curl_easy_getinfo(curl.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    return qint64(length);
}

qint64 CurlRemote::download(const QString &folder, const QString &name, const QString &localPath)
{
    QFile file(localPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw TransferFailure(QStringLiteral("Не удалось создать файл %1").arg(localPath));
    CurlEasy curl = handle(folder, name);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, writeToFile);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &file);
    curl_easy_setopt(curl.get(), CURLOPT_MAXFILESIZE_LARGE, curl_off_t(kMaxDownloadSize));
    perform(curl.get(), QStringLiteral("получение ") + name);
    if (!file.flush())
        throw TransferFailure(QStringLiteral("Не удалось записать файл %1").arg(localPath));
    return file.size();
}

void CurlRemote::upload(const QString &localPath, const QString &folder, const QString &name)
{
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly))
        throw TransferFailure(QStringLiteral("Не удалось открыть файл %1").arg(localPath));
    CurlEasy curl = handle(folder, name);
    curl_easy_setopt(curl.get(), CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_READFUNCTION, readFromFile);
    curl_easy_setopt(curl.get(), CURLOPT_READDATA, &file);
    curl_easy_setopt(curl.get(), CURLOPT_INFILESIZE_LARGE, curl_off_t(file.size()));
    perform(curl.get(), QStringLiteral("отправка ") + name);
}

QString CurlRemote::sftpPath(const QString &folder, const QString &name) const
{
    return QUrl(base_).path() + folder + name;
}

void CurlRemote::command(const QString &folder, const QStringList &commands, const QString &what)
{
    CurlEasy curl = handle(folder);
    CurlList list;
    for (const QString &line : commands) {
        curl_slist *longer = curl_slist_append(list.get(), line.toUtf8().constData());
        if (!longer)
            throw TransferFailure(QStringLiteral("Не удалось начать обмен (libcurl)"));
        (void)list.release();
        list.reset(longer);
    }
    curl_easy_setopt(curl.get(), CURLOPT_NOBODY, 1L);
    // After the change into the folder, so that names are the folder's.
    curl_easy_setopt(curl.get(), CURLOPT_POSTQUOTE, list.get());
    perform(curl.get(), what);
}

void CurlRemote::rename(const QString &folder, const QString &from, const QString &to)
{
    const QString what = QStringLiteral("переименование ") + from;
    if (sftp_)
        command(folder, {QStringLiteral("rename \"%1\" \"%2\"").arg(sftpPath(folder, from), sftpPath(folder, to))},
                what);
    else
        command(folder, {QStringLiteral("RNFR ") + from, QStringLiteral("RNTO ") + to}, what);
}

void CurlRemote::remove(const QString &folder, const QString &name)
{
    const QString what = QStringLiteral("удаление ") + name;
    if (sftp_)
        command(folder, {QStringLiteral("rm \"%1\"").arg(sftpPath(folder, name))}, what);
    else
        command(folder, {QStringLiteral("DELE ") + name}, what);
}

} // namespace transfer
