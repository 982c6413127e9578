#include "platform/Dialler.h"
#include "platform/NetworkManagerDialler.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using platform::NetworkManagerDialler;
namespace dialstate = platform::dialstate;

TEST(DialTexts, StatesAndErrorsAsTheWindowListsThem)
{
    const struct {
        int state, error;
        const char *text;
    } cases[] = {
        {0, 0, "Открытие порта"},
        {5, 0, "Авторизация на сервере"},
        {11, 0, "The link-speed calculation phase is starting"},
        {4099, 0, "Change password state supported by RASPHONE.EXE"},
        {8192, 0, "Подключено"},
        {8193, 0, "Отключено"},
        {24, 0, ""}, // not in the table: an empty line
        {5, 691, "Доступ запрещён: неверное имя пользователя или пароль."},
        {0, 633, "Модем или другое устройство связи уже используется или не настроено."},
        {0, 799, "Ошибка удалённого доступа 799."},
    };
    for (const auto &c : cases)
        EXPECT_EQ(platform::dialStatusText(c.state, c.error), QString::fromUtf8(c.text)) << c.state << "/" << c.error;
    for (int code : {600, 602, 603, 608, 619, 623, 628, 629, 633, 635, 638, 645, 678, 680, 691, 718, 734, 777})
        EXPECT_FALSE(platform::dialErrorText(code).contains(QString::number(code))) << code << ": a text of its own";
}

// NetworkManager's device states and failure reasons as the dial reports them.
TEST(NetworkManagerDialler, DeviceStatesMapOntoDialStates)
{
    const struct {
        uint deviceState, reason;
        std::optional<int> state;
        int error;
    } cases[] = {
        {40, 0, dialstate::kOpenPort, 0}, // prepare
        {50, 0, dialstate::kConnectDevice, 0}, // config: the modem dials
        {60, 0, dialstate::kAuthenticate, 0}, // need auth
        {70, 0, dialstate::kAuthenticate, 0}, // IP config
        {100, 0, dialstate::kConnected, 0}, // activated
        {30, 39, dialstate::kDisconnected, 0}, // disconnected at the user's request
        {120, 43, dialstate::kDisconnected, 633}, // no modem
        {120, 36, dialstate::kDisconnected, 633}, // modem removed
        {120, 26, dialstate::kDisconnected, 678}, // no answer
        {120, 25, dialstate::kDisconnected, 678}, // no carrier
        {120, 24, dialstate::kDisconnected, 680}, // no dial tone
        {120, 23, dialstate::kDisconnected, 676}, // busy
        {120, 7, dialstate::kDisconnected, 691}, // no secrets
        {120, 14, dialstate::kDisconnected, 691}, // PPP authentication failed
        {120, 1, dialstate::kDisconnected, 629}, // anything else
        {80, 0, std::nullopt, 0}, // IP check: not reported
        {110, 0, std::nullopt, 0}, // deactivating: not reported
    };
    for (const auto &c : cases) {
        const auto n = NetworkManagerDialler::notificationFor(c.deviceState, c.reason);
        ASSERT_EQ(n.has_value(), c.state.has_value()) << c.deviceState << "/" << c.reason;
        if (n) {
            EXPECT_EQ(n->state, *c.state) << c.deviceState << "/" << c.reason;
            EXPECT_EQ(n->error, c.error) << c.deviceState << "/" << c.reason;
        }
    }
}

// Without NetworkManager the dial fails as any dial does: one notification
// with error 633, delivered later on the event loop; nothing to hang up.
TEST(NetworkManagerDialler, WithoutNetworkManagerTheDialFailsWith633)
{
    NetworkManagerDialler dialler(QDBusConnection(QStringLiteral("kx-no-bus")));
    QSignalSpy spy(&dialler, &platform::Dialler::notification);
    dialler.dial({QStringLiteral("1"), QStringLiteral("u"), QStringLiteral("p")});
    EXPECT_EQ(spy.count(), 0); // queued, as a window message would be
    ASSERT_TRUE(spy.wait(1000));
    EXPECT_EQ(spy.at(0).at(1).toInt(), 633);
    EXPECT_FALSE(dialler.lineUp());
    dialler.hangUp(3); // returns at once
}

} // namespace
