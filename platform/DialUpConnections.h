#pragma once

#include <QString>

#include <vector>

namespace platform {

struct DialUpConnection {
    QString name;
    QString id; // what the platform needs to hang this connection up
};

// Active modem (dial-up) connections, for the start-up question whether to
// hang them up. Failures raise PlatformError with rasErrorMessage.
class DialUpConnections {
public:
    virtual ~DialUpConnections() = default;
    virtual std::vector<DialUpConnection> activeConnections() = 0;
    // Hangs up and waits up to waitSeconds until the line is down.
    virtual void hangUp(const DialUpConnection &connection, int waitSeconds) = 0;
};

} // namespace platform
