#include "tests/support/OrderFixtures.h"

#include "ordering/HeaderFieldsLayout.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace ordering;
using namespace kx::testsupport;

namespace {

class HeaderFieldsLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("price.dbf"));
        createPriceTable(path, {{.name = QStringLiteral("A")}});
        table.setPath(path);
        table.open();
        ini = dir.filePath(QStringLiteral("NoGridElm.ini"));
    }
    void writeIni(const QByteArray &text)
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    static std::vector<QPoint> valuePositions(const HeaderLayout &layout)
    {
        std::vector<QPoint> out;
        for (const auto &p : layout.fields)
            out.push_back(p.valuePos);
        return out;
    }

    QTemporaryDir dir;
    QString path, ini;
    tables::Table table;
};

TEST_F(HeaderFieldsLayoutTest, PairsFillColumnsDownThePage)
{
    writeIni("[Objects]\r\n1=Name\r\n2=Firm\r\n3=Nothing\r\n4=Cntr\r\n5=Qnt\r\nx=Price1\r\n6=Price2\r\n");
    table.field(QStringLiteral("Firm")).setDisplayLabel(QStringLiteral("Изготовитель"));
    const HeaderLayout layout = LayoutHeaderFields(ini, table, 113);
    ASSERT_EQ(layout.fields.size(), 6u);
    const std::vector<QPoint> captions{{16, 45}, {16, 63}, {16, 81}, {16, 99}, {400, 45}, {400, 63}};
    for (std::size_t i = 0; i < captions.size(); ++i) {
        EXPECT_EQ(layout.fields[i].captionPos, captions[i]) << i;
        EXPECT_EQ(layout.fields[i].valuePos, captions[i] + QPoint(83, 0)) << i;
    }
    EXPECT_EQ(layout.fields[1].caption, QStringLiteral("Изготовитель"));
    EXPECT_EQ(layout.fields[2].caption, QStringLiteral("CNTR")); // no title: the field name
    EXPECT_EQ(layout.fields[2].controlName, QStringLiteral("edCntr"));
    EXPECT_EQ(boundFieldOf(layout.fields[2].controlName, table), QStringLiteral("Cntr"));
    EXPECT_TRUE(boundFieldOf(QStringLiteral("edNothing"), table).isEmpty());
}

TEST_F(HeaderFieldsLayoutTest, PropertiesReplaceTheDefaults)
{
    writeIni("[Properties]\r\nStepX=200\r\nStepY=30\r\nBetween=50\r\nStartTop=10\r\nStartLeft=5\r\n"
             "[Objects]\r\na=Name\r\nb=Firm\r\nc=Cntr\r\n");
    const HeaderLayout layout = LayoutHeaderFields(ini, table, 45);
    EXPECT_EQ(valuePositions(layout), (std::vector<QPoint>{{55, 10}, {55, 40}, {255, 10}}));
}

TEST_F(HeaderFieldsLayoutTest, FieldNamedTwiceIsPlacedOnce)
{
    writeIni("[Objects]\r\n1=Name\r\n2=NAME\r\n3=Firm\r\n");
    const HeaderLayout layout = LayoutHeaderFields(ini, table, 113);
    EXPECT_EQ(valuePositions(layout), (std::vector<QPoint>{{99, 45}, {99, 63}}));
}

TEST_F(HeaderFieldsLayoutTest, MissingFileOrSectionGivesDefaultsAndNoPairs)
{
    for (const QByteArray &text : {QByteArray(), QByteArray("[Properties]\r\nStepX=1\r\n")}) {
        QFile::remove(ini);
        if (!text.isEmpty())
            writeIni(text);
        const HeaderLayout layout = LayoutHeaderFields(ini, table, 113);
        EXPECT_TRUE(layout.fields.empty());
        EXPECT_EQ(layout.settings.stepY, 18);
    }
}

} // namespace

namespace {

// Keys are free: lines sharing a key still place their fields, in line order.
TEST_F(HeaderFieldsLayoutTest, RepeatedKeysKeepEveryLine)
{
    writeIni("[Objects]\r\nF=Name\r\nF=Firm\r\nF=Cntr\r\n");
    const HeaderLayout layout = LayoutHeaderFields(ini, table, 113);
    ASSERT_EQ(layout.fields.size(), 3u);
    EXPECT_EQ(layout.fields[0].fieldName, QStringLiteral("Name"));
    EXPECT_EQ(layout.fields[1].fieldName, QStringLiteral("Firm"));
    EXPECT_EQ(layout.fields[2].fieldName, QStringLiteral("Cntr"));
}

} // namespace
