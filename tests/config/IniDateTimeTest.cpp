#include "IniTestFiles.h"

#include "config/IniDateTime.h"
#include "config/IniFile.h"
#include "config/ProgramLocale.h"

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
    EXPECT_EQ(config::parseIniDateTime(QStringLiteral("05.03.2024 14:07")), QDateTime(QDate(2024, 3, 5), QTime(14, 7)));
    for (const char16_t *bad : {u"", u"  ", u"31.02.2024", u"abc", u"05.03.2024 25:00:00"})
        EXPECT_FALSE(config::parseIniDateTime(QString::fromUtf16(bad)).has_value())
            << QString::fromUtf16(bad).toStdString();
}

TEST(IniDateTimeRead, TwoDigitYearFormatsAreWidened)
{
    EXPECT_TRUE(
        config::shortDateFormat(QLocale(QLocale::English, QLocale::UnitedStates)).contains(QStringLiteral("yyyy")));
    EXPECT_FALSE(config::longTimeFormat(QLocale(QLocale::Russian, QLocale::Russia)).contains(u't'));
}

} // namespace

namespace {

// The program's locale: the system's where its users read it, else Russian.
TEST(ProgramLocale, RussianUnlessTheSystemSpeaksALanguageOfItsUsers)
{
    const struct {
        QLocale system;
        QLocale::Language shown;
    } cases[] = {
        {QLocale::c(), QLocale::Russian},
        {QLocale(QLocale::English, QLocale::UnitedStates), QLocale::Russian},
        {QLocale(QLocale::German, QLocale::Germany), QLocale::Russian},
        {QLocale(QLocale::Russian, QLocale::Russia), QLocale::Russian},
        {QLocale(QLocale::Ukrainian, QLocale::Ukraine), QLocale::Ukrainian},
        {QLocale(QLocale::Belarusian, QLocale::Belarus), QLocale::Belarusian},
        {QLocale(QLocale::Kazakh, QLocale::Kazakhstan), QLocale::Kazakh},
    };
    for (const auto &c : cases)
        EXPECT_EQ(config::programLocale(c.system).language(), c.shown) << c.system.name().toStdString();
}

// Settings written under another locale by earlier runs still read back.
TEST(IniDateTimeForms, FormsWrittenSoFarAreRead)
{
    const QDateTime expected(QDate(2026, 12, 9), QTime(8, 30));
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    for (const QString &stored : {QStringLiteral("09.12.2026 8:30:00"), QStringLiteral("09.12.2026 08:30"),
                                  QStringLiteral("9 Dec 2026 08:30:00")}) {
        const std::optional<QDateTime> read = config::parseIniDateTime(stored, russian);
        ASSERT_TRUE(read.has_value()) << stored.toStdString();
        EXPECT_EQ(*read, expected) << stored.toStdString();
    }
    EXPECT_EQ(config::formatIniDateTime(expected, config::programLocale(QLocale::c())),
              QStringLiteral("09.12.2026 08:30:00")); // never a time zone
}

} // namespace
