#include "config/TableEntry.h"
#include "config/ConfigError.h"

#include <gtest/gtest.h>

using config::TableEntry;

namespace {

struct SplitCase {
    const char16_t *text;
    QStringList items;
};

const SplitCase kSplitCases[] = {
    {u"Zak;5;Zak;Y;Y;N;0", {"Zak", "5", "Zak", "Y", "Y", "N", "0"}},
    {u"Name;2;\"Full name\";Y;Y;N;250", {"Name", "2", "Full name", "Y", "Y", "N", "250"}},
    // Unquoted, a space ends an item: the title splits and shifts the rest.
    {u"Name;2;Full name;Y;Y;N;250", {"Name", "2", "Full", "name", "Y", "Y", "N", "250"}},
    {u"A;\"say \"\"hi\"\"\";B", {"A", "say \"hi\"", "B"}},
    {u"A;\"x;y\";B", {"A", "x;y", "B"}},
    {u"  \t A ;  B", {"A", "B"}},
    {u"A;;B", {"A", "", "B"}},
    {u";A", {"", "A"}},
    {u"A;", {"A", ""}},
    {u"A; ", {"A"}},
    {u"\"\"", {""}},
    {u"", {}},
    {u"   ", {}},
    {u"\"ab\"cd;e", {"ab", "cd", "e"}},
    {u"\"open to the end", {"open to the end"}},
    {u"Кол-во;2;Кол-во;Y;N;N;60", {"Кол-во", "2", "Кол-во", "Y", "N", "N", "60"}},
};

class SplitDelimited : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitDelimited, ReadsItems)
{
    const SplitCase &c = GetParam();
    EXPECT_EQ(config::splitDelimited(QString::fromUtf16(c.text)), c.items) << QString::fromUtf16(c.text).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitDelimited, ::testing::ValuesIn(kSplitCases));

struct JoinCase {
    QStringList items;
    const char16_t *text;
};

const JoinCase kJoinCases[] = {
    {{"Zak", "5", "Zak", "Y", "Y", "N", "0"}, u"Zak;5;Zak;Y;Y;N;0"},
    {{"Name", "2", "Full name", "Y", "Y", "N", "250"}, u"Name;2;\"Full name\";Y;Y;N;250"},
    {{"A", "say \"hi\"", "B"}, u"A;\"say \"\"hi\"\"\";B"},
    {{"A", "x;y"}, u"A;\"x;y\""},
    {{"A", "tab\there"}, u"A;\"tab\there\""},
    {{""}, u"\"\""},
    {{"A", "", "B"}, u"A;;B"},
    {{}, u""},
    {{"Название"}, u"Название"},
};

class JoinDelimited : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinDelimited, WritesAndReadsBack)
{
    const JoinCase &c = GetParam();
    const QString text = config::joinDelimited(c.items);
    EXPECT_EQ(text, QString::fromUtf16(c.text));
    EXPECT_EQ(config::splitDelimited(text), c.items);
}

INSTANTIATE_TEST_SUITE_P(Cases, JoinDelimited, ::testing::ValuesIn(kJoinCases));

TEST(TableEntry, DefaultEntryOfAField)
{
    const TableEntry entry = TableEntry::defaultFor(QStringLiteral("Zak"), 5);
    EXPECT_EQ(entry.toString(), QStringLiteral("Zak;5;Zak;Y;Y;N;0"));
    EXPECT_TRUE(entry.visible());
    EXPECT_TRUE(entry.readOnly());
    EXPECT_FALSE(entry.key());
    EXPECT_EQ(entry.position(), 5);
    EXPECT_EQ(entry.width(), 0);
}

TEST(TableEntry, ItemsAreInterpreted)
{
    const TableEntry entry = TableEntry::parse(QStringLiteral("Zak;2;Кол-во;y;N;yes;60"));
    EXPECT_EQ(entry.fieldName(), QStringLiteral("Zak"));
    EXPECT_EQ(entry.position(), 2);
    EXPECT_EQ(entry.title(), QStringLiteral("Кол-во"));
    EXPECT_TRUE(entry.visible()); // "y" in any case
    EXPECT_FALSE(entry.readOnly()); // "N"
    EXPECT_FALSE(entry.key()); // only "Y" counts
    EXPECT_EQ(entry.width(), 60);
}

TEST(TableEntry, ChangedPositionAndWidthAreWrittenWithQuotingAndExtraItemsKept)
{
    TableEntry entry = TableEntry::parse(QStringLiteral("Name;2;\"Full name\";Y;Y;N;250;extra"));
    entry.setPosition(3);
    entry.setWidth(0x40);
    EXPECT_EQ(entry.toString(), QStringLiteral("Name;3;\"Full name\";Y;Y;N;64;extra"));
}

TEST(TableEntry, HexPositionAndWidthAreIntegers)
{
    EXPECT_EQ(TableEntry::parse(QStringLiteral("A;0x2;A;Y;Y;N;0x10")).width(), 16);
}

TEST(TableEntry, DamagedEntriesAreReportedWithTheirNames)
{
    const QString bad[] = {
        QStringLiteral("Name;2;Full name;Y;Y;N;250"), // width "N" after the split
        QStringLiteral("A;1;A;Y;Y;N"), // six items
        QStringLiteral("A;x;A;Y;Y;N;0"),
        QStringLiteral("A;1;A;Y;Y;N;"),
        QString(),
    };
    for (const QString &text : bad) {
        try {
            TableEntry::parse(text, QStringLiteral("Fld"), QStringLiteral("price.dbf"));
            ADD_FAILURE() << "accepted: " << text.toStdString();
        } catch (const config::ConfigError &e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("Fld"))
                        && e.message().contains(QStringLiteral("price.dbf")))
                << e.message().toStdString();
        }
    }
}

} // namespace
