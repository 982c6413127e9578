#pragma once

#include "CurlHandles.h"
#include "Remote.h"
#include "TransferSettings.h"

#include <QByteArray>

namespace transfer {

// FTP (passive or active), FTP with explicit TLS for ftps:// addresses, and
// SFTP where libcurl offers it. Every step has its time-outs.
class CurlRemote : public Remote {
public:
    CurlRemote(const TransferSettings &settings, bool passive);

    QStringList list(const QString &folder) override;
    qint64 size(const QString &folder, const QString &name) override;
    qint64 download(const QString &folder, const QString &name, const QString &localPath) override;
    void upload(const QString &localPath, const QString &folder, const QString &name) override;
    void rename(const QString &folder, const QString &from, const QString &to) override;
    void remove(const QString &folder, const QString &name) override;

private:
    CurlEasy handle(const QString &folder, const QString &name = {});
    // Runs the request; a failure becomes a TransferFailure with the server's answer.
    CURLcode perform(CURL *curl, const QString &what, bool missingIsError = true);
    void command(const QString &folder, const QStringList &commands, const QString &what);
    QString sftpPath(const QString &folder, const QString &name) const;

    TransferSettings settings_;
    bool passive_;
    bool explicitTls_ = false;
    bool sftp_ = false;
    QString base_; // the address curl gets, ending with '/'
    char error_[CURL_ERROR_SIZE] = {};
    QByteArray lastAnswer_;
};

} // namespace transfer
