#pragma once

// A real FTP server on 127.0.0.1 and a program folder with the transfer
// library beside it, for the transfer tests.
#include "config/IniFile.h"
#include "config/PasswordScrambler.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace transfer_test {

inline const QString kUser = QStringLiteral("apteka");
inline const QString kPassword = QStringLiteral("se;cr=et");

// The pyftpdlib server of ftp_server.py over `root`, killed when it goes.
class FtpServer {
public:
    explicit FtpServer(const QString &root, const QStringList &extra = {})
    {
        process_.setProgram(QStringLiteral(KX_SYSTEM_PYTHON));
        process_.setArguments(QStringList{QStringLiteral(KX_FTP_SERVER_SCRIPT), QStringLiteral("--root"), root,
                                          QStringLiteral("--user"), kUser, QStringLiteral("--password"), kPassword,
                                          QStringLiteral("--lifetime"), QStringLiteral("60")}
                              + extra);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
        if (process_.waitForStarted(5000) && process_.waitForReadyRead(10000))
            port_ = process_.readLine().trimmed().toInt();
    }
    ~FtpServer()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }
    int port() const { return port_; }
    QString tlsUrl() const { return QStringLiteral("ftps://127.0.0.1:%1/").arg(port_); }
    QString url() const { return QStringLiteral("ftp://127.0.0.1:%1/").arg(port_); }

private:
    QProcess process_;
    int port_ = 0;
};

// A self-signed certificate for 127.0.0.1 (key and certificate in one file
// for the server, the certificate alone for the client); empty when the
// tools for it are missing.
struct TestCertificate {
    QString serverFile, caFile;
};
inline TestCertificate makeCertificate(const QString &folder)
{
    QProcess check;
    check.start(QStringLiteral(KX_SYSTEM_PYTHON), {QStringLiteral("-c"), QStringLiteral("import OpenSSL")});
    if (!check.waitForFinished(10000) || check.exitCode() != 0)
        return {};
    const QString key = folder + QStringLiteral("/key.pem"), cert = folder + QStringLiteral("/cert.pem");
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1", "-addext",
                   "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out", cert});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
        return {};
    QFile both(folder + QStringLiteral("/server.pem"));
    if (!both.open(QIODevice::WriteOnly))
        return {};
    QFile k(key), c(cert);
    if (!k.open(QIODevice::ReadOnly) || !c.open(QIODevice::ReadOnly))
        return {};
    both.write(k.readAll() + c.readAll());
    return {both.fileName(), cert};
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A program folder holding libKXOrder.so and its KXOrder.ini, the working
// folders under it at their defaults, and a server root with the
// distributor's folders.
struct Installation {
    Installation()
    {
        program = dir.path() + QStringLiteral("/program/");
        root = dir.path() + QStringLiteral("/server/");
        for (const char *sub : {"IN", "Out", "Invoice", "Reference", "Archiv", "Prescription", "Outboundn"})
            QDir().mkpath(program + QString::fromLatin1(sub));
        for (const char *sub :
             {"price", "reference", "prescription", "narcotics", "invoice", "archive", "program", "incoming"})
            QDir().mkpath(root + QString::fromLatin1(sub));
        QFile::copy(QStringLiteral(KX_TRANSFER_LIBRARY), program + QStringLiteral("libKXOrder.so"));
    }

    void useServer(const QString &url, int responseSeconds = 5) const
    {
        const config::IniFile ini(program + QStringLiteral("KXOrder.ini"));
        ini.writeString(QStringLiteral("Server"), QStringLiteral("URL"), url);
        ini.writeString(QStringLiteral("Server"), QStringLiteral("User"), kUser);
        ini.writeString(QStringLiteral("Server"), QStringLiteral("Password"), config::storedPasswordForm(kPassword));
        ini.writeInteger(QStringLiteral("Timeouts"), QStringLiteral("Connect"), 3);
        ini.writeInteger(QStringLiteral("Timeouts"), QStringLiteral("Response"), responseSeconds);
        ini.writeInteger(QStringLiteral("Timeouts"), QStringLiteral("Stall"), 5);
    }
    void useLocalRoot() const { useServer(QStringLiteral("file://") + root); }
    QString library() const { return program + QStringLiteral("KXOrder"); }

    QTemporaryDir dir;
    QString program;
    QString root;
};

} // namespace transfer_test
