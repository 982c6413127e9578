// Reads through the file mapping and through positioned reads (the fallback)
// must see the same file: other writers' posts and appends, and a file that
// another process shrank, which must never fault a reader.
#include "TestTables.h"

#include "tables/FileMapping.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"

#include <QFile>

using namespace tables;

namespace {

// NAME C(10), QTY N(6,0); row i is "r<i>", QTY = i.
class MappedRead : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        FileMapping::setAllowed(GetParam());
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("t.dbf"));
        createTable(path, 4,
                    {{QStringLiteral("Name"), FieldKind::String, 10}, {QStringLiteral("Qty"), FieldKind::Integer, 6}});
    }
    void TearDown() override { FileMapping::setAllowed(true); }

    static QByteArray row(int i)
    {
        return ' ' + QStringLiteral("r%1").arg(i).leftJustified(10).toLatin1()
            + QByteArray::number(i).rightJustified(6);
    }

    // Appends rows first..last the way another program would: bytes at the
    // end of the file, the end marker after them.
    void appendRaw(int first, int last)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek(f.size() - 1)); // over the end marker
        QByteArray bytes;
        for (int i = first; i <= last; ++i)
            bytes += row(i);
        f.write(bytes + '\x1A');
    }

    qint64 sizeWithRows(int rows) const
    {
        Table t(path);
        t.setReadOnly(true);
        t.open();
        return t.file()->header().headerSize + qint64(rows) * t.schema().recordSize;
    }

    static int walkToEnd(Table &t)
    {
        int steps = 0;
        for (; !t.eof(); t.next())
            ++steps;
        return steps;
    }

    QTemporaryDir dir;
    QString path;
};

TEST_P(MappedRead, NextSeesAnotherObjectsPostWithoutRefresh)
{
    appendRaw(1, 3);
    Table reader(path), writer(path);
    reader.setReadOnly(true);
    reader.open();
    writer.open();
    ASSERT_EQ(reader.field(u"Name").asString(), QStringLiteral("r1"));
    writer.gotoBookmark(2);
    writer.edit();
    writer.field(u"Name").setString(QStringLiteral("changed"));
    writer.post();
    reader.next();
    EXPECT_EQ(reader.field(u"Name").asString(), QStringLiteral("changed"));
}

// Appended rows show when the cursor passes the last record it knew, also
// when they grow the file far past the mapped length.
TEST_P(MappedRead, AppendsPastTheMappingShowAtTheLastKnownRecord)
{
    appendRaw(1, 2);
    Table reader(path);
    reader.setReadOnly(true);
    reader.open();
    reader.last();
    ASSERT_EQ(reader.recNo(), 2u);
    const int rows = 2 + 4 * 1024 * 1024 / 17; // several MB beyond the mapping's headroom
    appendRaw(3, rows);
    reader.next();
    ASSERT_FALSE(reader.eof());
    EXPECT_EQ(reader.recNo(), 3u);
    EXPECT_EQ(walkToEnd(reader), rows - 2);
    EXPECT_EQ(reader.recordCount(), std::uint32_t(rows));
    ASSERT_TRUE(reader.gotoBookmark(std::uint32_t(rows)));
    EXPECT_EQ(reader.field(u"Qty").asInteger(), rows);
}

// Also into a table that was empty when opened.
TEST_P(MappedRead, LocateFindsWhatWasAppendedAfterTheLastRead)
{
    Table reader(path);
    reader.setReadOnly(true);
    reader.open();
    for (int rows : {1, 3}) {
        appendRaw(rows == 1 ? 1 : 2, rows);
        EXPECT_TRUE(reader.locate(QStringLiteral("Name"), QStringLiteral("r%1").arg(rows)));
        EXPECT_EQ(reader.recNo(), std::uint32_t(rows));
    }
}

// Another process cuts the file while this one sits far into it: the records
// beyond the cut are gone, never a bus error.
TEST_P(MappedRead, FileShrunkUnderTheReaderEndsItsWalk)
{
    const int rows = 20000; // a few hundred pages
    appendRaw(1, rows);
    Table reader(path);
    reader.setReadOnly(true);
    reader.open();
    ASSERT_TRUE(reader.gotoBookmark(15000));
    ASSERT_TRUE(QFile::resize(path, sizeWithRows(10)));
    EXPECT_FALSE(reader.withRecord(18000, [] {}));
    reader.next();
    EXPECT_TRUE(reader.eof());
    reader.first();
    EXPECT_EQ(walkToEnd(reader), 10);
    EXPECT_EQ(reader.recordCount(), 10u);
}

INSTANTIATE_TEST_SUITE_P(Reads, MappedRead, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool> &info) {
                             return info.param ? "Mapped" : "PositionedReads";
                         });

} // namespace
