#pragma once

#include "DialUpConnections.h"

#include <QByteArray>
#include <QStringList>

namespace platform {

// Linux: the active modem connections of NetworkManager (types gsm, cdma and
// pppoe) through its command-line client. Without nmcli, or when
// NetworkManager does not answer, there are none.
class NetworkManagerDialUp : public DialUpConnections {
public:
    std::vector<DialUpConnection> activeConnections() override;
    void hangUp(const DialUpConnection &connection, int waitSeconds) override;

    // The connections of `nmcli -t -f NAME,UUID,TYPE connection show --active` output.
    static std::vector<DialUpConnection> parseActiveConnections(const QByteArray &output);
    // One line of nmcli's terse output split at unescaped colons.
    static QStringList splitTerseLine(const QString &line);
};

} // namespace platform
