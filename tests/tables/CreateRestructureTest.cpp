#include "MdxCheck.h"
#include "TestTables.h"

#include "tables/CodePage.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"
#include "tables/TableError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace tables;
using testing_tables::readFile;

namespace {

struct LevelCase {
    int level;
    bool memo;
    int version;
    int mark; // byte 29
    int reopened; // level the file reads back as
};

class CreateLevels : public ::testing::TestWithParam<LevelCase> {};

TEST_P(CreateLevels, VersionByteAndMarkAsTDbfWritesThem)
{
    const LevelCase &c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dbf"));
    FieldSpecs specs{{QStringLiteral("Name"), FieldKind::String, 12}, {QStringLiteral("N"), FieldKind::Integer}};
    if (c.memo)
        specs.push_back({QStringLiteral("Note"), FieldKind::Memo});
    createTable(path, c.level, specs);
    const QByteArray bytes = readFile(path);
    EXPECT_EQ(uchar(bytes[0]), c.version);
    EXPECT_EQ(uchar(bytes[29]), c.mark);
    EXPECT_EQ(uchar(bytes.back()), 0x1A);
    if (c.level == 7) {
        EXPECT_EQ(bytes.mid(32, 8), QByteArray("DB866RU0"));
    }
    EXPECT_EQ(QFileInfo::exists(dir.filePath(QStringLiteral("t.dbt"))), c.memo);
    Table t(path);
    t.open();
    EXPECT_EQ(t.level(), c.reopened);
    EXPECT_EQ(t.codePage().number(), 866);
    const FieldDef &n = t.schema().fields[1];
    EXPECT_EQ(n.type, c.level == 7 ? 'I' : 'N');
    EXPECT_EQ(n.size, c.level == 7 ? 4 : 9);
}

void PrintTo(const LevelCase &c, std::ostream *os) { *os << "level " << c.level << (c.memo ? " memo" : ""); }

INSTANTIATE_TEST_SUITE_P(Levels, CreateLevels,
                         ::testing::Values(LevelCase{3, false, 0x03, 0x00,
                                                     4}, // 0x03 without a mark reads back as dBase IV
                                           LevelCase{3, true, 0x83, 0x00, 3}, LevelCase{4, false, 0x03, 0x26, 4},
                                           LevelCase{4, true, 0x8B, 0x26, 4}, LevelCase{7, false, 0x04, 0x00, 7},
                                           LevelCase{7, true, 0x8C, 0x00, 7}));

TEST(CreateTable, DefaultSizesAndRefusals)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("d.dbf"));
    createTable(path, 4,
                {{QStringLiteral("s"), FieldKind::String},
                 {QStringLiteral("f"), FieldKind::Float},
                 {QStringLiteral("i"), FieldKind::Integer},
                 {QStringLiteral("b"), FieldKind::Boolean},
                 {QStringLiteral("d"), FieldKind::Date},
                 {QStringLiteral("verylongname12"), FieldKind::SmallInt}});
    Table t(path);
    t.open();
    const auto &f = t.schema().fields;
    EXPECT_EQ(f[0].size, 30);
    EXPECT_EQ(f[1].size, 18);
    EXPECT_EQ(f[1].decimals, 8);
    EXPECT_EQ(f[2].size, 9);
    EXPECT_EQ(f[3].size, 1);
    EXPECT_EQ(f[4].size, 8);
    EXPECT_EQ(f[5].name, QStringLiteral("VERYLONGNA"));
    EXPECT_EQ(f[5].size, 4);

    EXPECT_THROW(createTable(path, 4, {{QStringLiteral("x"), FieldKind::String}}), TableError); // exists
    const QString other = dir.filePath(QStringLiteral("e.dbf"));
    EXPECT_THROW(createTable(other, 4, {{QStringLiteral("x"), FieldKind::String, 300}}), TableError);
    EXPECT_THROW(createTable(other, 4, {{QStringLiteral("x"), FieldKind::Float, 21, 2}}), TableError);
    EXPECT_THROW(
        createTable(other, 4, {{QStringLiteral("x"), FieldKind::String}, {QStringLiteral("X"), FieldKind::Date}}),
        TableError);
    EXPECT_THROW(createTable(other, 5, {{QStringLiteral("x"), FieldKind::String}}), TableError);
    EXPECT_FALSE(QFileInfo::exists(other));
}

class Restructure : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("price.dbf"));
        createTable(path, 4,
                    {{QStringLiteral("Name"), FieldKind::String, 20},
                     {QStringLiteral("Price1"), FieldKind::Float, 10, 2},
                     {QStringLiteral("Qnt"), FieldKind::Integer, 5}},
                    {.languageId = 0});
        Table t(path);
        t.open();
        const QStringList names{"Аспирин", "Анальгин", "Но-шпа"};
        for (int i = 0; i < 3; ++i) {
            t.append();
            t.field(u"Name").setString(names[i]);
            t.field(u"Price1").setFloat(10.25 * (i + 1));
            if (i != 1)
                t.field(u"Qnt").setInteger(i * 7);
            t.post();
        }
        t.first();
        t.next();
        t.deleteRecord();
    }
    QTemporaryDir dir;
    QString path;
};

TEST_F(Restructure, AddingZakKeepsEveryRecordAndMarksTheTable)
{
    Table before(path);
    before.open();
    FieldSpecs specs = fieldSpecsOf(before);
    before.close();
    specs.push_back({QStringLiteral("Zak"), FieldKind::Float});
    const QString kept = restructureTable(path, specs);
    EXPECT_EQ(kept, dir.filePath(QStringLiteral("price_2.dbf")));
    EXPECT_TRUE(QFileInfo::exists(kept));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("price_1.dbf"))));
    EXPECT_EQ(uchar(readFile(path)[29]), 0x26); // unmarked table gets the cp866 mark

    Table t(path);
    t.setShowDeleted(true);
    t.open();
    ASSERT_EQ(t.recordCount(), 3u);
    const FieldDef &zak = t.schema().fields.back();
    EXPECT_EQ(zak.name, QStringLiteral("ZAK"));
    EXPECT_EQ(zak.size, 18);
    EXPECT_EQ(zak.decimals, 8);
    QStringList rows;
    for (t.first(); !t.eof(); t.next())
        rows << QStringLiteral("%1|%2|%3|%4|%5")
                    .arg(t.isDeleted() ? "*" : " ", t.field(u"Name").asString(), t.field(u"Price1").asString(),
                         t.field(u"Qnt").asString(), t.field(u"Zak").isNull() ? "null" : "value");
    EXPECT_EQ(rows, (QStringList{" |Аспирин|10.25|0|null", "*|Анальгин|20.50||null", " |Но-шпа|30.75|14|null"}));

    // A second restructure keeps the first copy and takes the next free name.
    t.close();
    EXPECT_EQ(restructureTable(path, specs), dir.filePath(QStringLiteral("price_3.dbf")));
}

TEST_F(Restructure, ResizedFieldsConvertValuesAndRefuseWhatDoesNotFit)
{
    FieldSpecs specs{{QStringLiteral("Name"), FieldKind::String, 4},
                     {QStringLiteral("Price1"), FieldKind::Float, 12, 3},
                     {QStringLiteral("Qnt"), FieldKind::Integer, 5}};
    restructureTable(path, specs);
    Table t(path);
    t.open();
    EXPECT_EQ(t.field(u"Name").asString(), QStringLiteral("Аспи"));
    EXPECT_EQ(t.field(u"Price1").asString(), QStringLiteral("10.250"));
    t.close();

    const QByteArray before = readFile(path);
    FieldSpecs tooSmall{{QStringLiteral("Name"), FieldKind::String, 4},
                        {QStringLiteral("Price1"), FieldKind::Float, 4, 2}};
    EXPECT_THROW(restructureTable(path, tooSmall), TableError);
    EXPECT_EQ(readFile(path), before); // the table is untouched after a failed restructure
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("price_1.dbf"))));
}

struct IndexCase {
    const char *what;
    std::vector<std::pair<QString, QString>> tags; // production index before; none when empty
    FieldSpecs after;
    QStringList kept; // tags of the new index, in order
    QStringList dropped; // reported as left out
    QStringList byFirstTag; // Name of every record (deleted too) through the first kept tag
};

void PrintTo(const IndexCase &c, std::ostream *os) { *os << c.what; }

class RestructureIndex : public Restructure, public ::testing::WithParamInterface<IndexCase> {
protected:
    QString mdx(const char *base) const { return dir.filePath(QString::fromLatin1(base) + QStringLiteral(".mdx")); }

    QStringList namesInOrder(Table &t)
    {
        QStringList names;
        for (t.first(); !t.eof(); t.next())
            names << t.field(u"Name").asString();
        return names;
    }
};

TEST_P(RestructureIndex, TagsAreRebuiltForTheNewLayout)
{
    const IndexCase &c = GetParam();
    if (!c.tags.empty()) {
        Table t(path);
        for (const auto &[name, expression] : c.tags)
            t.addIndexDef(name, expression);
        t.open();
    }
    const QByteArray oldIndex = readFile(mdx("price"));
    QStringList dropped{QStringLiteral("stale")};
    restructureTable(path, c.after, &dropped);
    EXPECT_EQ(dropped, c.dropped);

    const bool indexed = !c.kept.isEmpty();
    EXPECT_EQ(readFile(path)[28] != 0, indexed);
    EXPECT_EQ(QFileInfo::exists(mdx("price")), indexed);
    EXPECT_FALSE(QFileInfo::exists(mdx("price_1")));
    // The old index goes with the old table, unchanged.
    EXPECT_EQ(readFile(mdx("price_2")), oldIndex);
    if (indexed) {
        const mdx_check::FileCheck check = mdx_check::check(mdx("price"));
        EXPECT_TRUE(check.problems.isEmpty()) << check.problems.join(u'\n').toStdString();
    }

    // Opened for writing, every tag must fit the new fields; an append (first
    // in every tag) keeps them.
    Table t(path);
    t.setShowDeleted(true);
    t.open();
    EXPECT_EQ(t.indexTagNames(), c.kept);
    if (!indexed)
        return;
    t.setIndexName(c.kept.first());
    EXPECT_EQ(namesInOrder(t), c.byFirstTag);
    t.append();
    t.field(u"Name").setString(QStringLiteral("Аа"));
    if (t.hasField(u"Qnt"))
        t.field(u"Qnt").setInteger(-1);
    t.post();
    QStringList expected = c.byFirstTag;
    expected.prepend(QStringLiteral("Аа"));
    EXPECT_EQ(namesInOrder(t), expected);
}

const std::vector<std::pair<QString, QString>> kNameAndQnt{{"NAME", "NAME"}, {"QNT", "QNT"}};

INSTANTIATE_TEST_SUITE_P(
    Cases, RestructureIndex,
    ::testing::Values(
        IndexCase{"added field",
                  kNameAndQnt,
                  {{"Name", FieldKind::String, 20},
                   {"Price1", FieldKind::Float, 10, 2},
                   {"Qnt", FieldKind::Integer, 5},
                   {"Zak", FieldKind::Float}},
                  {"NAME", "QNT"},
                  {},
                  {"Анальгин", "Аспирин", "Но-шпа"}},
        IndexCase{"changed sizes",
                  {{"QNT", "QNT"}, {"NAME", "UPPER(NAME)"}},
                  {{"Name", FieldKind::String, 4}, {"Price1", FieldKind::Float, 12, 3}, {"Qnt", FieldKind::Integer, 3}},
                  {"QNT", "NAME"},
                  {},
                  {"Аспи", "Анал", "Но-ш"}},
        IndexCase{"dropped field",
                  {{"QNT", "QNT"}, {"NAME", "NAME"}, {"NQ", "NAME+STR(QNT,5)"}},
                  {{"Price1", FieldKind::Float, 10, 2}, {"Name", FieldKind::String, 20}},
                  {"NAME"},
                  {"QNT", "NQ"},
                  {"Анальгин", "Аспирин", "Но-шпа"}},
        IndexCase{"every tag dropped", {{"QNT", "QNT"}}, {{"Name", FieldKind::String, 20}}, {}, {"QNT"}, {}},
        IndexCase{"no index", {}, {{"Name", FieldKind::String, 20}, {"Zak", FieldKind::Float}}, {}, {}, {}}));

TEST_F(Restructure, FailedRestructureLeavesTheIndexAlone)
{
    {
        Table t(path);
        t.addIndexDef(QStringLiteral("NAME"), QStringLiteral("NAME"));
        t.open();
    }
    const QString mdxPath = dir.filePath(QStringLiteral("price.mdx"));
    const QByteArray before = readFile(mdxPath);
    FieldSpecs tooSmall{{QStringLiteral("Name"), FieldKind::String, 4},
                        {QStringLiteral("Price1"), FieldKind::Float, 4, 2}};
    EXPECT_THROW(restructureTable(path, tooSmall), TableError);
    EXPECT_EQ(readFile(mdxPath), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"price.dbf", "price.mdx"}));
}

} // namespace
