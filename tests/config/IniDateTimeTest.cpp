#include "IniTestFiles.h"

#include "config/IniDateTime.h"
#include "config/IniFile.h"

#include <gtest/gtest.h>

namespace {

// Installs a default locale for the test and restores the previous one.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale &locale) : previous_(QLocale()) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(previous_); }

private:
    QLocale previous_;
};

struct DateTimeCase {
    QLocale::Language language;
    QLocale::Territory territory;
    QDateTime value;
    const char16_t *stored;
};

const DateTimeCase kCases[] = {
    {QLocale::Russian, QLocale::Russia, QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)), u"05.03.2024 14:07:09"},
    {QLocale::Russian, QLocale::Russia, QDateTime(QDate(2024, 3, 5), QTime(0, 0)), u"05.03.2024"},
    {QLocale::Russian, QLocale::Russia, QDateTime(QDate(1900, 1, 1), QTime(0, 0, 1)), u"01.01.1900 00:00:01"},
    {QLocale::English, QLocale::UnitedStates, QDateTime(QDate(2031, 12, 24), QTime(23, 59, 58)),
     u"12/24/2031 11:59:58\u202FPM"},
};

class IniDateTime : public ::testing::TestWithParam<DateTimeCase> {};

TEST_P(IniDateTime, StoredInShortDateAndLongTimeAndReadBack)
{
    const DateTimeCase &c = GetParam();
    const LocaleScope scope(QLocale(c.language, c.territory));
    IniTestFolder folder;
    const config::IniFile ini(folder.path(QStringLiteral("t.ini")));
    ini.writeDateTime(QStringLiteral("FTP"), QStringLiteral("LastRefresh"), c.value);
    const QString stored = ini.readString(QStringLiteral("FTP"), QStringLiteral("LastRefresh"));
    // Qt's time formats differ between versions in their blanks; compare the rest.
    EXPECT_EQ(stored.simplified().remove(u'\u202F').remove(u' ').toStdString(),
              QString::fromUtf16(c.stored).remove(u'\u202F').remove(u' ').toStdString());
    EXPECT_EQ(ini.readDateTime(QStringLiteral("FTP"), QStringLiteral("LastRefresh"), QDateTime()), c.value);
}

INSTANTIATE_TEST_SUITE_P(Cases, IniDateTime, ::testing::ValuesIn(kCases));

TEST(IniDateTimeRead, AcceptsShortTimeAndRefusesNonsense)
{
    const LocaleScope scope(QLocale(QLocale::Russian, QLocale::Russia));
    const QDateTime fallback(QDate(1900, 1, 1), QTime(0, 0));
    EXPECT_EQ(config::parseIniDateTime(QStringLiteral("05.03.2024 14:07")),
              QDateTime(QDate(2024, 3, 5), QTime(14, 7)));
    for (const char16_t *bad : {u"", u"  ", u"31.02.2024", u"abc", u"05.03.2024 25:00:00"})
        EXPECT_FALSE(config::parseIniDateTime(QString::fromUtf16(bad)).has_value()) << QString::fromUtf16(bad).toStdString();
}

TEST(IniDateTimeRead, TwoDigitYearFormatsAreWidened)
{
    EXPECT_TRUE(config::shortDateFormat(QLocale(QLocale::English, QLocale::UnitedStates)).contains(QStringLiteral("yyyy")));
    EXPECT_FALSE(config::longTimeFormat(QLocale(QLocale::Russian, QLocale::Russia)).contains(u't'));
}

} // namespace
