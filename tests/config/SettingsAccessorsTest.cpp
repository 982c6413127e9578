#include "IniTestFiles.h"

#include "config/IniFile.h"
#include "config/ProgramFiles.h"
#include "config/SettingsAccessors.h"

#include <gtest/gtest.h>

namespace {

const QString kName = QStringLiteral("KXOrders.ini");

class SettingsAccessorsTest : public ::testing::Test {
protected:
    config::SettingsAccessors settings() const { return config::SettingsAccessors(folder_.path(kName)); }
    IniTestFolder folder_;
};

TEST_F(SettingsAccessorsTest, AbsentValuesGiveTheirDefaults)
{
    EXPECT_EQ(settings().GetActiveCustomer(), QString());
    EXPECT_EQ(settings().GetActiveCustomerID(), -1);
    EXPECT_EQ(settings().GetActivePercent(), QString());
    EXPECT_EQ(settings().GetActivePercentID(), -1);
    EXPECT_FALSE(settings().GetPassiveMode());
    EXPECT_EQ(settings().GetLastRefresh(), QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
    EXPECT_FALSE(QFile::exists(folder_.path(kName))); // reading writes nothing
}

TEST_F(SettingsAccessorsTest, OrderChoicesAreWrittenToTheOrderSection)
{
    settings().SetActiveCustomer(QStringLiteral("Аптека №5"));
    settings().SetActiveCustomerID(12);
    settings().SetActivePercent(QStringLiteral("12"));
    settings().SetActivePercentID(3);
    EXPECT_EQ(folder_.text(kName),
              QStringLiteral("[ЗАКАЗ]\r\nActiveCustomer=Аптека №5\r\nActiveCustomerID=12\r\n"
                             "ActivePercent=12\r\nActivePercentID=3\r\n"));
    EXPECT_EQ(settings().GetActiveCustomer(), QStringLiteral("Аптека №5"));
    EXPECT_EQ(settings().GetActiveCustomerID(), 12);
    EXPECT_EQ(settings().GetActivePercent(), QStringLiteral("12"));
    EXPECT_EQ(settings().GetActivePercentID(), 3);
}

struct DeltaExCase {
    const char16_t *stored; // nullptr: key absent
    int returned;
    const char16_t *storedAfter;
};

const DeltaExCase kDeltaExCases[] = {
    {nullptr, 9, u"9"}, {u"-5", 9, u"9"},  {u"0", 0, u"0"},
    {u"12", 12, u"12"}, {u"abc", 9, u"9"}, // unreadable reads as -1
};

class GetDeltaEx : public ::testing::TestWithParam<DeltaExCase> {};

TEST_P(GetDeltaEx, RepairsAbsentOrNegativeValues)
{
    const DeltaExCase &c = GetParam();
    IniTestFolder folder;
    folder.putText(kName,
                   c.stored
                       ? QStringLiteral("[заказ]\r\nDeltaEx=") + QString::fromUtf16(c.stored) + QStringLiteral("\r\n")
                       : QStringLiteral("[ЗАКАЗ]\r\nActiveField=Price1\r\n"));
    const config::SettingsAccessors settings(folder.path(kName));
    EXPECT_EQ(settings.GetDeltaEx(), c.returned);
    EXPECT_EQ(config::IniFile(folder.path(kName)).readString(QStringLiteral("ЗАКАЗ"), QStringLiteral("DeltaEx")),
              QString::fromUtf16(c.storedAfter));
}

INSTANTIATE_TEST_SUITE_P(Cases, GetDeltaEx, ::testing::ValuesIn(kDeltaExCases));

TEST_F(SettingsAccessorsTest, PassiveModeTakesAnyNonZeroIntegerAsTrue)
{
    folder_.putText(kName, QStringLiteral("[FTP]\r\nPassive=2\r\n"));
    EXPECT_TRUE(settings().GetPassiveMode());
    folder_.putText(kName, QStringLiteral("[FTP]\r\nPassive=abc\r\n"));
    EXPECT_FALSE(settings().GetPassiveMode());
}

TEST_F(SettingsAccessorsTest, LastRefreshUnreadableGivesDefault)
{
    folder_.putText(kName, QStringLiteral("[FTP]\r\nLastRefresh=yesterday\r\n"));
    EXPECT_EQ(settings().GetLastRefresh(), config::SettingsAccessors::defaultLastRefresh());
}

TEST(ProgramFiles, SettingsFilesLiveInTheProgramFolder)
{
    config::setProgramFolder(QStringLiteral("/opt/kx"));
    EXPECT_EQ(config::programFolder(), QStringLiteral("/opt/kx/"));
    EXPECT_EQ(config::settingsFileName(), QStringLiteral("/opt/kx/KXOrders.ini"));
    EXPECT_EQ(config::propertiesFileName(), QStringLiteral("/opt/kx/properties.ini"));
    config::setProgramFolder(QString());
}

} // namespace
