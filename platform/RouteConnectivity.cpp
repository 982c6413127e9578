#include "RouteConnectivity.h"

#include <QFile>
#include <QList>
#include <QStringList>

#include <algorithm>

namespace platform {

namespace {

constexpr unsigned kRouteUp = 0x1; // RTF_UP
constexpr unsigned kInterfaceUp = 0x1; // IFF_UP

QByteArray readSmallFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(1 << 20);
}

unsigned hexValue(const QByteArray &text)
{
    bool ok = false;
    QByteArray digits = text.trimmed();
    if (digits.startsWith("0x"))
        digits = digits.mid(2);
    const unsigned value = digits.toUInt(&ok, 16);
    return ok ? value : 0;
}

bool allZero(const QByteArray &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) { return c == '0'; });
}

} // namespace

RouteConnectivity::RouteConnectivity() : read_(readSmallFile) {}

RouteConnectivity::RouteConnectivity(FileReader reader) : read_(std::move(reader)) {}

QStringList RouteConnectivity::defaultRouteInterfaces(const QByteArray &ipv4Routes, const QByteArray &ipv6Routes)
{
    QStringList names;
    const auto add = [&](const QByteArray &iface) {
        const QString name = QString::fromLocal8Bit(iface);
        if (name != QLatin1String("lo") && !names.contains(name))
            names << name;
    };
    // Iface Destination Gateway Flags RefCnt Use Metric Mask MTU Window IRTT
    const QList<QByteArray> lines4 = ipv4Routes.split('\n');
    for (qsizetype i = 1; i < lines4.size(); ++i) {
        const QList<QByteArray> f = lines4[i].simplified().split(' ');
        if (f.size() >= 8 && allZero(f[1]) && allZero(f[7]) && (hexValue(f[3]) & kRouteUp))
            add(f[0]);
    }
    // Destination Length Source Length NextHop Metric RefCnt Use Flags Device
    for (const QByteArray &line : ipv6Routes.split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() >= 10 && allZero(f[0]) && hexValue(f[1]) == 0 && (hexValue(f[8]) & kRouteUp))
            add(f[9]);
    }
    return names;
}

bool RouteConnectivity::interfaceIsUp(const QString &name) const
{
    if (name.contains(u'/'))
        return false;
    const QByteArray flags = read_(QStringLiteral("/sys/class/net/%1/flags").arg(name));
    if (flags.trimmed().isEmpty())
        return true; // no sysfs: the route alone counts
    return hexValue(flags) & kInterfaceUp;
}

bool RouteConnectivity::IsConnected()
{
    const QStringList names =
        defaultRouteInterfaces(read_(QStringLiteral("/proc/net/route")), read_(QStringLiteral("/proc/net/ipv6_route")));
    return std::any_of(names.begin(), names.end(), [this](const QString &name) { return interfaceIsUp(name); });
}

} // namespace platform
