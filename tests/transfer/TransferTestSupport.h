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
    QString url() const { return QStringLiteral("ftp://127.0.0.1:%1/").arg(port_); }

private:
    QProcess process_;
    int port_ = 0;
};

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
        for (const char *sub : {"price", "reference", "prescription", "narcotics", "invoice", "archive", "program",
                                "incoming"})
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
