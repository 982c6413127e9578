#include "IniTestFiles.h"

#include "config/IniFile.h"

#include <gtest/gtest.h>

using config::IniFile;

namespace {

enum class As { String, Integer, Bool };

struct ReadCase {
    const char *label;
    const char16_t *file; // nullptr: no file at all
    const char16_t *section;
    const char16_t *key;
    As as;
    const char16_t *defaultValue; // string default, or the integer / 0|1 as text
    const char16_t *expected;
};

QString readAsText(const IniFile &ini, const ReadCase &c)
{
    const QString section = QString::fromUtf16(c.section);
    const QString key = QString::fromUtf16(c.key);
    const QString def = QString::fromUtf16(c.defaultValue);
    switch (c.as) {
    case As::String: return ini.readString(section, key, def);
    case As::Integer: return QString::number(ini.readInteger(section, key, def.toInt()));
    case As::Bool: return ini.readBool(section, key, def == u"1") ? QStringLiteral("1") : QStringLiteral("0");
    }
    return {};
}

const ReadCase kReadCases[] = {
    {"missing file gives default", nullptr, u"Main", u"Top", As::Integer, u"280", u"280"},
    {"missing section gives default", u"[Other]\r\nTop=1\r\n", u"Main", u"Top", As::Integer, u"280", u"280"},
    {"missing key gives default", u"[Main]\r\nLeft=1\r\n", u"Main", u"Top", As::Integer, u"280", u"280"},
    {"key of another section is not seen", u"[A]\r\nTop=1\r\n[Main]\r\n", u"Main", u"Top", As::Integer, u"7", u"7"},
    {"plain string", u"[Modem]\r\nPhone=8-800\r\n", u"Modem", u"Phone", As::String, u"", u"8-800"},
    {"section and key ignore Latin case", u"[price.dbf]\r\nDBFCaption=Прайс\r\n", u"PRICE.DBF", u"dbfcaption",
     As::String, u"", u"Прайс"},
    {"Cyrillic section ignores case", u"[ЗАКАЗ]\r\nActivePercent=12\r\n", u"заказ", u"ActivePercent", As::String, u"",
     u"12"},
    {"Cyrillic key ignores case, Ё included", u"[Окна]\r\nЁлка=1\r\n", u"ОКНА", u"ёЛКА", As::String, u"", u"1"},
    {"blanks around names and value are dropped", u"  [ Main ]  \r\n  Top  =  12  \r\n", u"Main", u"Top", As::String,
     u"", u"12"},
    {"value keeps inner blanks and equals signs", u"[S]\r\nK=a = b;c\r\n", u"S", u"K", As::String, u"", u"a = b;c"},
    {"quotes are part of the value", u"[S]\r\nK=\"\"\r\n", u"S", u"K", As::String, u"x", u"\"\""},
    {"empty value is empty, not the default", u"[S]\r\nK=\r\n", u"S", u"K", As::String, u"x", u""},
    {"first of two sections wins", u"[S]\r\nK=1\r\n[s]\r\nK=2\r\n", u"S", u"K", As::String, u"", u"1"},
    {"first of two keys wins", u"[S]\r\nK=1\r\nk=2\r\n", u"S", u"K", As::String, u"", u"1"},
    {"comment lines are no keys", u"[S]\r\n;K=1\r\n", u"S", u";K", As::String, u"d", u"d"},
    {"LF line ends", u"[S]\nA=1\nB=2\n", u"S", u"B", As::String, u"", u"2"},
    {"CR line ends", u"[S]\rA=1\rB=2\r", u"S", u"B", As::String, u"", u"2"},
    {"last line without line end", u"[S]\r\nB=2", u"S", u"B", As::String, u"", u"2"},
    {"decimal integer", u"[S]\r\nN=546\r\n", u"S", u"N", As::Integer, u"0", u"546"},
    {"negative integer", u"[S]\r\nN=-2\r\n", u"S", u"N", As::Integer, u"0", u"-2"},
    {"hex integer", u"[S]\r\nN=0x1F\r\n", u"S", u"N", As::Integer, u"0", u"31"},
    {"hex with capital X", u"[S]\r\nN=0XfF\r\n", u"S", u"N", As::Integer, u"0", u"255"},
    {"hex is a 32-bit pattern", u"[S]\r\nN=0xFFFFFFFF\r\n", u"S", u"N", As::Integer, u"0", u"-1"},
    {"hex longer than 32 bits is no integer", u"[S]\r\nN=0x100000000\r\n", u"S", u"N", As::Integer, u"5", u"5"},
    {"bare 0x is no integer", u"[S]\r\nN=0x\r\n", u"S", u"N", As::Integer, u"5", u"5"},
    {"dollar hex is no integer", u"[S]\r\nN=$10\r\n", u"S", u"N", As::Integer, u"5", u"5"},
    {"trailing letters give default", u"[S]\r\nN=12abc\r\n", u"S", u"N", As::Integer, u"-1", u"-1"},
    {"decimal point gives default", u"[S]\r\nN=1.5\r\n", u"S", u"N", As::Integer, u"-1", u"-1"},
    {"empty integer gives default", u"[S]\r\nN=\r\n", u"S", u"N", As::Integer, u"9", u"9"},
    {"sign alone gives default", u"[S]\r\nN=-\r\n", u"S", u"N", As::Integer, u"9", u"9"},
    {"overflow gives default", u"[S]\r\nN=2147483648\r\n", u"S", u"N", As::Integer, u"9", u"9"},
    {"lowest integer", u"[S]\r\nN=-2147483648\r\n", u"S", u"N", As::Integer, u"9", u"-2147483648"},
    {"boolean 1", u"[FTP]\r\nPassive=1\r\n", u"FTP", u"Passive", As::Bool, u"0", u"1"},
    {"boolean 2 is true", u"[FTP]\r\nPassive=2\r\n", u"FTP", u"Passive", As::Bool, u"0", u"1"},
    {"boolean -1 is true", u"[FTP]\r\nPassive=-1\r\n", u"FTP", u"Passive", As::Bool, u"0", u"1"},
    {"boolean 0", u"[FTP]\r\nPassive=0\r\n", u"FTP", u"Passive", As::Bool, u"1", u"0"},
    {"boolean abc gives default false", u"[FTP]\r\nPassive=abc\r\n", u"FTP", u"Passive", As::Bool, u"0", u"0"},
    {"boolean abc gives default true", u"[FTP]\r\nPassive=abc\r\n", u"FTP", u"Passive", As::Bool, u"1", u"1"},
    {"boolean absent", u"", u"FTP", u"Passive", As::Bool, u"0", u"0"},
};

class IniFileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniFileRead, GivesStoredValueOrDefault)
{
    const ReadCase &c = GetParam();
    IniTestFolder folder;
    if (c.file)
        folder.putText(QStringLiteral("test.ini"), QString::fromUtf16(c.file));
    const IniFile ini(folder.path(QStringLiteral("test.ini")));
    EXPECT_EQ(readAsText(ini, c).toStdString(), QString::fromUtf16(c.expected).toStdString());
}

INSTANTIATE_TEST_SUITE_P(Cases, IniFileRead, ::testing::ValuesIn(kReadCases), [](const auto &info) {
    std::string name;
    for (const char *p = info.param.label; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

TEST(IniFileReadText, TextIsCodePage1251OnDisk)
{
    IniTestFolder folder;
    // "[ЗАКАЗ]" and the value "Аптека №1" spelled in code page 1251 bytes.
    folder.putBytes(QStringLiteral("t.ini"),
                    QByteArray("[\xC7\xC0\xCA\xC0\xC7]\r\nActiveCustomer=\xC0\xEF\xF2\xE5\xEA\xE0 \xB9"
                               "1\r\n"));
    const IniFile ini(folder.path(QStringLiteral("t.ini")));
    EXPECT_EQ(ini.readString(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActiveCustomer")), QStringLiteral("Аптека №1"));
}

TEST(IniFileReadText, UnicodeFileWithByteOrderMarkIsRead)
{
    IniTestFolder folder;
    folder.putBytes(QStringLiteral("t.ini"),
                    QByteArray("\xEF\xBB\xBF") + QStringLiteral("[Шрифт]\nИмя=Тахома\n").toUtf8());
    const IniFile ini(folder.path(QStringLiteral("t.ini")));
    EXPECT_EQ(ini.readString(QStringLiteral("шрифт"), QStringLiteral("имя")), QStringLiteral("Тахома"));
}

TEST(IniFileReadText, ValuesAreCutAt2047Characters)
{
    IniTestFolder folder;
    const QString longValue = QString(3000, u'я');
    folder.putText(QStringLiteral("t.ini"), QStringLiteral("[S]\r\nK=") + longValue + QStringLiteral("\r\n"));
    const IniFile ini(folder.path(QStringLiteral("t.ini")));
    EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("K")), longValue.left(2047));
}

TEST(IniFileReadText, SectionsAndKeysAreListedInFileOrder)
{
    IniTestFolder folder;
    folder.putText(
        QStringLiteral("t.ini"),
        QStringLiteral("[price.dbf]\r\nDBFCaption=Прайс\r\nZak=Zak;5;Zak;Y;N;N;0\r\n\r\n[Архив]\r\nTop=1\r\n"));
    const IniFile ini(folder.path(QStringLiteral("t.ini")));
    EXPECT_EQ(ini.readSections(), QStringList({QStringLiteral("price.dbf"), QStringLiteral("Архив")}));
    EXPECT_EQ(ini.readSection(QStringLiteral("PRICE.DBF")),
              QStringList({QStringLiteral("DBFCaption"), QStringLiteral("Zak")}));
    EXPECT_TRUE(ini.sectionExists(QStringLiteral("архив")));
    EXPECT_TRUE(ini.valueExists(QStringLiteral("архив"), QStringLiteral("TOP")));
    EXPECT_FALSE(ini.valueExists(QStringLiteral("архив"), QStringLiteral("Left")));
    EXPECT_TRUE(ini.readSection(QStringLiteral("none")).isEmpty());
}

TEST(IniFileReadText, OversizedFileIsReportedNotRead)
{
    IniTestFolder folder;
    folder.putBytes(QStringLiteral("t.ini"), QByteArray(IniFile::kMaxFileSize + 1, 'x'));
    const IniFile ini(folder.path(QStringLiteral("t.ini")));
    EXPECT_THROW(ini.readString(QStringLiteral("S"), QStringLiteral("K")), std::runtime_error);
}

} // namespace
