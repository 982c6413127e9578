#include "platform/NetworkManagerDialUp.h"
#include "platform/PlatformError.h"

#include <gtest/gtest.h>

namespace {

TEST(NetworkManagerDialUp, ListsOnlyModemConnectionsOfTheTerseOutput)
{
    const QByteArray output = "Wired connection 1:5f1c-01:802-3-ethernet\n"
                              "MTS\\: modem:aa-bb:gsm\n"
                              "DSL:cc-dd:pppoe\n"
                              "Old CDMA:ee:cdma\n"
                              "broken line\n"
                              "no id::gsm\n";
    const auto list = platform::NetworkManagerDialUp::parseActiveConnections(output);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].name, QStringLiteral("MTS: modem"));
    EXPECT_EQ(list[0].id, QStringLiteral("aa-bb"));
    EXPECT_EQ(list[1].name, QStringLiteral("DSL"));
    EXPECT_EQ(list[2].id, QStringLiteral("ee"));
}

TEST(NetworkManagerDialUp, TerseFieldsKeepEscapedBackslashes)
{
    EXPECT_EQ(platform::NetworkManagerDialUp::splitTerseLine(QStringLiteral("a\\\\b:c\\:d:")),
              QStringList({QStringLiteral("a\\b"), QStringLiteral("c:d"), QString()}));
}

TEST(RasErrorMessage, CodeThenQuotedTextOnTheNextLine)
{
    EXPECT_EQ(platform::rasErrorMessage(691, QStringLiteral("Access denied")),
              QStringLiteral("RAS Error code: 691.\n\"Access denied\""));
}

} // namespace
