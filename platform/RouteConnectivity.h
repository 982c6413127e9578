#pragma once

#include "Connectivity.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace platform {

// Linux: connected when an interface other than loopback that is up carries
// a default route (IPv4 /proc/net/route or IPv6 /proc/net/ipv6_route).
class RouteConnectivity : public Connectivity {
public:
    // Reads a file of /proc or /sys; empty when unreadable.
    using FileReader = std::function<QByteArray(const QString &path)>;

    RouteConnectivity();
    explicit RouteConnectivity(FileReader reader);

    bool IsConnected() override;

    // Interface names of the default routes in the text of those two files.
    static QStringList defaultRouteInterfaces(const QByteArray &ipv4Routes, const QByteArray &ipv6Routes);

private:
    bool interfaceIsUp(const QString &name) const;
    FileReader read_;
};

} // namespace platform
