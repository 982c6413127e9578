#include "platform/RouteConnectivity.h"

#include <QMap>

#include <gtest/gtest.h>

namespace {

const char kHeader4[] = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";

struct RouteCase {
    const char *label;
    QByteArray ipv4;
    QByteArray ipv6;
    QMap<QString, QByteArray> interfaceFlags; // /sys/class/net/<name>/flags
    bool connected;
};

QByteArray v4(const char *rows) { return QByteArray(kHeader4) + rows; }

const RouteCase kCases[] = {
    {"IPv4 default route on an interface that is up",
     v4("eth0\t00000000\t010200C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n"
        "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n"),
     {},
     {{"eth0", "0x1003\n"}},
     true},
    {"only a local network route", v4("eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n"), {}, {}, false},
    {"default route through loopback only",
     v4("lo\t00000000\t00000000\t0001\t0\t0\t0\t00000000\t0\t0\t0\n"),
     {},
     {},
     false},
    {"default route not marked up", v4("ppp0\t00000000\t00000000\t0000\t0\t0\t0\t00000000\t0\t0\t0\n"), {}, {}, false},
    {"interface of the default route is down",
     v4("wlan0\t00000000\t0101A8C0\t0003\t0\t0\t600\t00000000\t0\t0\t0\n"),
     {},
     {{"wlan0", "0x1002\n"}},
     false},
    {"no interface flags to read: the route counts",
     v4("ppp0\t00000000\t00000000\t0001\t0\t0\t0\t00000000\t0\t0\t0\n"),
     {},
     {},
     true},
    {"IPv6 default route",
     v4(""),
     "fe800000000000000000000000000000 40 00000000000000000000000000000000 00 00000000000000000000000000000000 "
     "00000100 00000001 00000000 00000001     eth1\n"
     "00000000000000000000000000000000 00 00000000000000000000000000000000 00 fe800000000000000000000000000001 "
     "00000400 00000002 00000000 00000003     eth1\n",
     {{"eth1", "0x1003"}},
     true},
    {"IPv6 unreachable default on loopback",
     v4(""),
     "00000000000000000000000000000000 00 00000000000000000000000000000000 00 00000000000000000000000000000000 "
     "ffffffff 00000001 00000000 00200200       lo\n",
     {},
     false},
    {"nothing readable", {}, {}, {}, false},
    {"damaged lines are ignored", v4("eth0 0000\n\n\t\t\nzzz\t00000000\n"), "0 0 0\n", {}, false},
};

class RouteConnectivityCases : public ::testing::TestWithParam<RouteCase> {};

TEST_P(RouteConnectivityCases, ReportsAConnectionExactlyForAnUpDefaultRoute)
{
    const RouteCase &c = GetParam();
    platform::RouteConnectivity connectivity([&](const QString &path) -> QByteArray {
        if (path == QLatin1String("/proc/net/route"))
            return c.ipv4;
        if (path == QLatin1String("/proc/net/ipv6_route"))
            return c.ipv6;
        for (auto it = c.interfaceFlags.begin(); it != c.interfaceFlags.end(); ++it)
            if (path == QStringLiteral("/sys/class/net/%1/flags").arg(it.key()))
                return it.value();
        return {};
    });
    EXPECT_EQ(connectivity.IsConnected(), c.connected) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Cases, RouteConnectivityCases, ::testing::ValuesIn(kCases));

} // namespace
