#include "NetworkManagerDialler.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QMap>
#include <QThread>
#include <QTimer>
#include <QVariantMap>

using ConnectionSettings = QMap<QString, QVariantMap>;
Q_DECLARE_METATYPE(ConnectionSettings)

namespace platform {

namespace {

const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
const QString kManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString kSettingsPath = QStringLiteral("/org/freedesktop/NetworkManager/Settings");
const QString kManager = QStringLiteral("org.freedesktop.NetworkManager");
const QString kSettings = QStringLiteral("org.freedesktop.NetworkManager.Settings");
const QString kConnection = QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection");
const QString kDevice = QStringLiteral("org.freedesktop.NetworkManager.Device");
const QString kActive = QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kConnectionId = QStringLiteral("KXOrders");
constexpr uint kModemDeviceType = 8;
constexpr uint kActiveDeactivated = 4;

// NMDeviceState
enum : uint {
    kDeviceDisconnected = 30,
    kDevicePrepare = 40,
    kDeviceConfig = 50,
    kDeviceNeedAuth = 60,
    kDeviceIpConfig = 70,
    kDeviceActivated = 100,
    kDeviceDeactivating = 110,
    kDeviceFailed = 120,
};

QVariant dbusProperty(const QDBusConnection &bus, const QString &path, const QString &interface, const QString &name)
{
    QDBusInterface properties(kService, path, kProperties, bus);
    const QDBusReply<QDBusVariant> reply = properties.call(QStringLiteral("Get"), interface, name);
    return reply.isValid() ? reply.value().variant() : QVariant();
}

} // namespace

NetworkManagerDialler::NetworkManagerDialler(const QDBusConnection &bus) : bus_(bus)
{
    qDBusRegisterMetaType<ConnectionSettings>();
}

NetworkManagerDialler::~NetworkManagerDialler() = default;

std::optional<NetworkManagerDialler::Notification> NetworkManagerDialler::notificationFor(uint deviceState, uint reason)
{
    switch (deviceState) {
    case kDevicePrepare: return Notification{dialstate::kOpenPort, 0};
    case kDeviceConfig: return Notification{dialstate::kConnectDevice, 0};
    case kDeviceNeedAuth:
    case kDeviceIpConfig: return Notification{dialstate::kAuthenticate, 0};
    case kDeviceActivated: return Notification{dialstate::kConnected, 0};
    case kDeviceDisconnected: return Notification{dialstate::kDisconnected, 0};
    case kDeviceFailed: return Notification{dialstate::kDisconnected, errorForReason(reason)};
    default: return std::nullopt;
    }
}

int NetworkManagerDialler::errorForReason(uint reason)
{
    // NMDeviceStateReason
    switch (reason) {
    case 7: // no secrets
    case 14: // PPP failed
    case 31: // registration denied
        return dialerror::kAuthenticationFailed;
    case 12: return dialerror::kPppTimeout; // PPP could not start
    case 13: return dialerror::kPortDisconnected; // PPP disconnected
    case 23: return dialerror::kLineBusy; // modem busy
    case 24: return dialerror::kNoDialTone; // no dial tone
    case 25: // no carrier
    case 26: // dial timeout
    case 27: return dialerror::kNoAnswer; // dial failed
    case 28: // modem init failed
    case 36: // device removed
    case 43: return dialerror::kDeviceUnavailable; // modem not found
    default: return dialerror::kRemoteDisconnected;
    }
}

void NetworkManagerDialler::notifyLater(int state, int error)
{
    QTimer::singleShot(0, this, [this, state, error] { emit notification(state, error); });
}

QString NetworkManagerDialler::modemDevice()
{
    QDBusInterface manager(kService, kManagerPath, kManager, bus_);
    const QDBusReply<QList<QDBusObjectPath>> devices = manager.call(QStringLiteral("GetDevices"));
    if (!devices.isValid())
        return {};
    for (const QDBusObjectPath &device : devices.value())
        if (dbusProperty(bus_, device.path(), kDevice, QStringLiteral("DeviceType")).toUInt() == kModemDeviceType)
            return device.path();
    return {};
}

QString NetworkManagerDialler::ownConnection(const DialParameters &parameters)
{
    ConnectionSettings settings;
    settings[QStringLiteral("connection")] = {{QStringLiteral("id"), kConnectionId},
                                              {QStringLiteral("type"), QStringLiteral("gsm")},
                                              {QStringLiteral("autoconnect"), false}};
    settings[QStringLiteral("gsm")] = {{QStringLiteral("number"), parameters.phoneNumber},
                                       {QStringLiteral("username"), parameters.userName},
                                       {QStringLiteral("password"), parameters.password}};
    settings[QStringLiteral("ipv4")] = {{QStringLiteral("method"), QStringLiteral("auto")}};
    settings[QStringLiteral("ppp")] = QVariantMap();

    QDBusInterface store(kService, kSettingsPath, kSettings, bus_);
    const QDBusReply<QList<QDBusObjectPath>> known = store.call(QStringLiteral("ListConnections"));
    if (known.isValid()) {
        for (const QDBusObjectPath &path : known.value()) {
            QDBusInterface connection(kService, path.path(), kConnection, bus_);
            const QDBusReply<ConnectionSettings> stored = connection.call(QStringLiteral("GetSettings"));
            if (!stored.isValid()
                || stored.value().value(QStringLiteral("connection")).value(QStringLiteral("id")).toString()
                    != kConnectionId)
                continue;
            const QDBusReply<void> updated = connection.call(QStringLiteral("Update"), QVariant::fromValue(settings));
            return updated.isValid() ? path.path() : QString();
        }
    }
    const QDBusReply<QDBusObjectPath> added =
        store.call(QStringLiteral("AddConnection"), QVariant::fromValue(settings));
    return added.isValid() ? added.value().path() : QString();
}

void NetworkManagerDialler::dial(const DialParameters &parameters)
{
    const bool running =
        bus_.isConnected() && bus_.interface() && bus_.interface()->isServiceRegistered(kService).value();
    device_ = running ? modemDevice() : QString();
    const QString connection = device_.isEmpty() ? QString() : ownConnection(parameters);
    if (connection.isEmpty()) {
        notifyLater(dialstate::kOpenPort, dialerror::kDeviceUnavailable);
        return;
    }
    bus_.connect(kService, device_, kDevice, QStringLiteral("StateChanged"), this,
                 SLOT(deviceStateChanged(uint, uint, uint)));
    QDBusInterface manager(kService, kManagerPath, kManager, bus_);
    const QDBusReply<QDBusObjectPath> active =
        manager.call(QStringLiteral("ActivateConnection"), QVariant::fromValue(QDBusObjectPath(connection)),
                     QVariant::fromValue(QDBusObjectPath(device_)), QVariant::fromValue(QDBusObjectPath("/")));
    if (!active.isValid()) {
        notifyLater(dialstate::kOpenPort, dialerror::kDeviceUnavailable);
        return;
    }
    activeConnection_ = active.value().path();
}

void NetworkManagerDialler::deviceStateChanged(uint newState, uint, uint reason)
{
    const std::optional<Notification> n = notificationFor(newState, reason);
    if (!n)
        return;
    if (n->state == dialstate::kDisconnected && n->error == 0)
        activeConnection_.clear();
    emit notification(n->state, n->error);
}

void NetworkManagerDialler::hangUp(int waitSeconds)
{
    if (activeConnection_.isEmpty())
        return;
    QDBusInterface manager(kService, kManagerPath, kManager, bus_);
    manager.call(QStringLiteral("DeactivateConnection"), QVariant::fromValue(QDBusObjectPath(activeConnection_)));
    // As long as the line takes to go down, at most the wait given.
    for (int i = 0; i < 10 * waitSeconds; ++i) {
        const QVariant state = dbusProperty(bus_, activeConnection_, kActive, QStringLiteral("State"));
        if (!state.isValid() || state.toUInt() == kActiveDeactivated)
            break;
        QThread::msleep(100);
    }
    activeConnection_.clear();
}

} // namespace platform
