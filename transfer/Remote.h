#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>
#include <memory>

namespace transfer {

struct TransferSettings;

// Progress lines to the caller's information list.
using InfoSink = std::function<void(const QString &line)>;

// The distributor's side: folders relative to the server root, each ending
// with '/'. Every failure is a TransferFailure whose message says why.
class Remote {
public:
    virtual ~Remote() = default;

    // Plain file names of the folder (a missing folder lists nothing).
    virtual QStringList list(const QString &folder) = 0;
    // Size of a file, -1 when it is not there.
    virtual qint64 size(const QString &folder, const QString &name) = 0;
    // Writes the whole file to localPath; returns the bytes written.
    virtual qint64 download(const QString &folder, const QString &name, const QString &localPath) = 0;
    virtual void upload(const QString &localPath, const QString &folder, const QString &name) = 0;
    virtual void rename(const QString &folder, const QString &from, const QString &to) = 0;
    virtual void remove(const QString &folder, const QString &name) = 0;
};

// The remote for the settings' address: file:// roots on the local disk,
// anything else through libcurl.
std::unique_ptr<Remote> openRemote(const TransferSettings &settings, bool passive, const InfoSink &info);

// The largest file the library takes from a server.
inline constexpr qint64 kMaxDownloadSize = qint64(1) << 30;
// Names a server may hand us: no path, no hidden file, nothing a command
// line or an FTP command could take for something else.
bool acceptableName(const QString &name);

} // namespace transfer
