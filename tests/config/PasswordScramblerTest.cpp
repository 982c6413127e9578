#include "IniTestFiles.h"

#include "config/IniDocument.h"
#include "config/IniFile.h"
#include "config/PasswordScrambler.h"
#include "config/SettingsAccessors.h"
#include "config/SettingsKeys.h"
#include "tables/CodePage.h"

#include <gtest/gtest.h>

namespace {

TEST(ScramblePassword, CombinesEachByteWithItsDistanceFromTheEnd)
{
    EXPECT_EQ(config::ScramblePassword(QByteArray("abc")), QByteArray("\x62\x60\x62"));
    EXPECT_EQ(config::ScramblePassword(QByteArray("a")), QByteArray("\x60"));
    EXPECT_EQ(config::ScramblePassword(QByteArray()), QByteArray());
    // Only the low eight bits of the distance count: 256 xors the first byte with 0.
    const QByteArray long256(256, 'q');
    const QByteArray scrambled = config::ScramblePassword(long256);
    EXPECT_EQ(scrambled[0], 'q');
    EXPECT_EQ(scrambled[255], char('q' ^ 1));
}

TEST(ScramblePassword, IsItsOwnInverseOnCyrillicText)
{
    const QString plain = QStringLiteral("Пароль№1 ёЁ");
    const QString scrambled = config::ScramblePassword(plain);
    EXPECT_NE(scrambled, plain);
    EXPECT_EQ(scrambled.size(), plain.size());
    EXPECT_EQ(config::ScramblePassword(scrambled), plain);
}

TEST(StoredPassword, OrdinaryPasswordsAreStoredScrambledAsTheyAre)
{
    EXPECT_EQ(config::storedPasswordForm(QStringLiteral("abc")), QStringLiteral("b`b"));
    EXPECT_EQ(config::storedPasswordForm(QString()), QString());
    EXPECT_EQ(config::plainPasswordFromStored(QStringLiteral("b`b")), QStringLiteral("abc"));
}

// Plain passwords whose scrambled bytes cannot live in a text line as they are.
struct HardCase {
    const char *label;
    QByteArray plainBytes; // code page 1251
};

const HardCase kHardCases[] = {
    {"byte equal to its scrambling value gives NUL",
     QByteArray("a\x02"
                "c")},
    {"scrambled CR",
     QByteArray("x\x0F"
                "y")}, // 0x0F ^ 2 = 0x0D
    {"scrambled LF",
     QByteArray("\x08"
                "b")}, // 0x08 ^ 2 = 0x0A
    {"scrambled blank at the start",
     QByteArray("\x23"
                "bc")}, // 0x23 ^ 3 = ' '
    {"scrambled blank at the end", QByteArray("ab!")}, // '!' ^ 1 = ' '
    {"scrambled tab at the end", QByteArray("\x08")}, // 0x08 ^ 1 = '\t'
    {"scrambled text starting with the marker", config::ScramblePassword(QByteArray("{KXHEX}zz"))},
};

class HardPasswords : public ::testing::TestWithParam<HardCase> {};

TEST_P(HardPasswords, ReadBackExactlyThroughTheSettingsFile)
{
    const QString plain = codepages::CodePage::byNumber(1251).decode(GetParam().plainBytes);
    IniTestFolder folder;
    const config::SettingsAccessors settings(folder.path(QStringLiteral("KXOrders.ini")));
    settings.SetModemPassword(plain);
    const QString stored =
        config::IniFile(settings.settingsFileName()).readString(config::keys::kModem, config::keys::kPassword);
    EXPECT_TRUE(stored.startsWith(QLatin1String(config::kHexPasswordMarker))) << stored.toStdString();
    EXPECT_EQ(settings.GetModemPassword(), plain);
}

INSTANTIATE_TEST_SUITE_P(Cases, HardPasswords, ::testing::ValuesIn(kHardCases));

// Every stored form must survive a settings line: no line break or NUL, and
// nothing at either end that reading trims.
TEST(StoredPassword, EveryTwoBytePasswordHasALineSafeFormThatReadsBack)
{
    const codepages::CodePage &cp = codepages::CodePage::byNumber(1251);
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            const QString plain = cp.decode(QByteArray{char(a), char(b)});
            const QString stored = config::storedPasswordForm(plain);
            ASSERT_EQ(config::trimIniText(stored), stored) << a << " " << b;
            ASSERT_FALSE(stored.contains(u'\r') || stored.contains(u'\n') || stored.contains(QChar(0)))
                << a << " " << b;
            ASSERT_EQ(config::plainPasswordFromStored(stored), plain) << a << " " << b;
        }
    }
}

TEST(StoredPassword, OrdinaryPasswordReadsBackFromTheFile)
{
    IniTestFolder folder;
    folder.putText(QStringLiteral("KXOrders.ini"), QStringLiteral("[Modem]\r\nPassword=b`b\r\n"));
    const config::SettingsAccessors settings(folder.path(QStringLiteral("KXOrders.ini")));
    EXPECT_EQ(settings.GetModemPassword(), QStringLiteral("abc"));
    settings.SetModemPassword(QStringLiteral("абв"));
    EXPECT_EQ(folder.text(QStringLiteral("KXOrders.ini")),
              QStringLiteral("[Modem]\r\nPassword=") + config::ScramblePassword(QStringLiteral("абв"))
                  + QStringLiteral("\r\n"));
}

} // namespace
