#pragma once

#include "Dialler.h"

#include <QDBusConnection>
#include <QString>

#include <optional>

namespace platform {

// Dials through NetworkManager on the system bus: a modem connection of the
// program's own ("KXOrders"), made or updated from the phone number and the
// account, is activated on the first modem device, and the device's states
// become the dial's notifications. Without NetworkManager or without a
// modem, the dial fails with error 633 like any failed dial.
class NetworkManagerDialler : public Dialler {
    Q_OBJECT
public:
    explicit NetworkManagerDialler(const QDBusConnection &bus = QDBusConnection::systemBus());
    ~NetworkManagerDialler() override;

    void dial(const DialParameters &parameters) override;
    void hangUp(int waitSeconds) override;
    bool lineUp() const override { return !activeConnection_.isEmpty(); }

    struct Notification {
        int state = 0;
        int error = 0;
    };
    // A device state change (NMDeviceState, NMDeviceStateReason) as the dial
    // sees it; nothing for the states it does not report.
    static std::optional<Notification> notificationFor(uint deviceState, uint reason);
    // The RAS code of the reason a device failed.
    static int errorForReason(uint reason);

private slots:
    void deviceStateChanged(uint newState, uint oldState, uint reason);

private:
    void notifyLater(int state, int error);
    QString modemDevice();
    QString ownConnection(const DialParameters &parameters);

    QDBusConnection bus_;
    QString device_;
    QString activeConnection_;
};

} // namespace platform
