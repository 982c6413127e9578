#include "TestTables.h"

#include "tables/Table.h"
#include "tables/TableCreate.h"
#include "tables/TableError.h"

#include <QFile>

using namespace tables;

namespace {

// NAME C(10), QTY N(6,0), PRICE N(8,2); rows "r1".."rN", QTY = i, PRICE = i * 1.5.
class TableFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("t.dbf"));
        createTable(path, 4,
                    {{QStringLiteral("Name"), FieldKind::String, 10},
                     {QStringLiteral("Qty"), FieldKind::Integer, 6},
                     {QStringLiteral("Price"), FieldKind::Float, 8, 2}});
    }

    void fill(Table &t, int rows)
    {
        for (int i = 1; i <= rows; ++i) {
            t.append();
            t.field(u"name").setString(QStringLiteral("r%1").arg(i));
            t.field(u"QTY").setInteger(i);
            t.field(u"Price").setFloat(i * 1.5);
            t.post();
        }
    }

    static QList<quint32> visit(Table &t)
    {
        QList<quint32> seen;
        for (t.first(); !t.eof(); t.next())
            seen << t.recNo();
        return seen;
    }

    QTemporaryDir dir;
    QString path;
};

TEST_F(TableFixture, CursorWalksBothWaysAndSkipsDeleted)
{
    Table t(path);
    t.open();
    EXPECT_TRUE(t.isEmpty());
    EXPECT_TRUE(t.bof());
    EXPECT_TRUE(t.eof());
    fill(t, 5);
    t.first();
    t.next();
    t.deleteRecord(); // record 2
    EXPECT_EQ(t.recNo(), 3u);
    EXPECT_EQ(visit(t), (QList<quint32>{1, 3, 4, 5}));

    QList<quint32> backwards;
    for (t.last(); !t.bof(); t.prior())
        backwards << t.recNo();
    EXPECT_EQ(backwards, (QList<quint32>{5, 4, 3, 1}));
    EXPECT_EQ(t.recordCount(), 5u); // deleted records still count
    EXPECT_EQ(t.visibleRecords(), (std::vector<std::uint32_t>{1, 3, 4, 5}));
    t.setShowDeleted(true);
    EXPECT_EQ(visit(t).size(), 5);
}

TEST_F(TableFixture, FieldsByNameAnyCaseAndMissingFieldNamesBoth)
{
    Table t(path);
    t.open();
    fill(t, 1);
    t.first();
    EXPECT_EQ(t.field(u"nAmE").asString(), QStringLiteral("r1"));
    EXPECT_DOUBLE_EQ(t.field(u"PRICE").asFloat(), 1.5);
    try {
        t.field(u"Zak");
        FAIL() << "a missing field must raise";
    } catch (const TableError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Zak")));
        EXPECT_TRUE(e.message().contains(path));
    }
    EXPECT_FALSE(t.findField(u"Zak").isValid());
    const auto fields = t.fieldsByNames(QStringLiteral("Name;Price"));
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[1].name(), QStringLiteral("PRICE"));
}

TEST_F(TableFixture, BookmarksSurvivePostsAndFilterChanges)
{
    Table t(path);
    t.open();
    fill(t, 6);
    t.first();
    t.next();
    t.next();
    const Bookmark mark = t.bookmark();
    t.edit();
    t.field(u"Qty").setInteger(100);
    t.post();
    t.setFilter(QStringLiteral("Qty >= 4"));
    t.setFiltered(true);
    EXPECT_EQ(visit(t), (QList<quint32>{3, 4, 5, 6}));
    EXPECT_EQ(t.visibleRecords(), (std::vector<std::uint32_t>{3, 4, 5, 6}));
    EXPECT_TRUE(t.gotoBookmark(mark));
    EXPECT_EQ(t.field(u"Qty").asInteger(), 100);
    t.setFiltered(false);
    EXPECT_TRUE(t.gotoBookmark(mark));
    t.setFilter(QStringLiteral("Qty < 4"));
    t.setFiltered(true);
    EXPECT_FALSE(t.gotoBookmark(mark)); // filtered out: the cursor does not go there
}

TEST_F(TableFixture, EditingRaisesEventsInOrderAndCancelRestores)
{
    Table t(path);
    QStringList events;
    t.beforeInsert = [&](Table &) { events << "beforeInsert"; };
    t.onNewRecord = [&](Table &tt) {
        events << "newRecord";
        tt.field(u"Qty").setInteger(7);
    };
    t.beforeEdit = [&](Table &) { events << "beforeEdit"; };
    t.beforePost = [&](Table &) { events << "beforePost"; };
    t.afterPost = [&](Table &) { events << "afterPost"; };
    t.open();
    t.afterScroll = [&](Table &) { events << "afterScroll"; };
    t.append();
    EXPECT_EQ(t.state(), TableState::Insert);
    t.post();
    EXPECT_EQ(t.field(u"Qty").asInteger(), 7);
    t.edit();
    t.field(u"Qty").setInteger(8);
    t.cancel();
    EXPECT_EQ(t.field(u"Qty").asInteger(), 7);
    t.edit();
    t.field(u"Qty").setInteger(9);
    t.first(); // moving posts a modified record
    EXPECT_EQ(t.state(), TableState::Browse);
    EXPECT_EQ(events,
              (QStringList{"beforeInsert", "newRecord", "beforePost", "afterPost", "beforeEdit", "beforeEdit",
                           "beforePost", "afterPost", "afterScroll"}));
    Table other(path);
    other.open();
    EXPECT_EQ(other.field(u"Qty").asInteger(), 9);
    EXPECT_THROW(t.field(u"Qty").setInteger(1), TableError); // browse state: no writes
}

TEST_F(TableFixture, ReadOnlyTableRefusesWritesClearly)
{
    {
        Table t(path);
        t.open();
        fill(t, 1);
    }
    Table t(path);
    t.setReadOnly(true);
    t.open();
    for (auto write :
         {+[](Table &x) { x.append(); }, +[](Table &x) { x.edit(); }, +[](Table &x) { x.deleteRecord(); }}) {
        try {
            write(t);
            FAIL() << "read-only table accepted a write";
        } catch (const TableError &e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("read-only")));
        }
    }
}

TEST_F(TableFixture, CalculatedFieldsAreComputedPerRecordAndNeverStored)
{
    {
        Table t(path);
        t.open();
        fill(t, 3);
    }
    const QByteArray before = testing_tables::readFile(path);
    Table t(path);
    t.addCalculatedField(QStringLiteral("Total"), FieldKind::Float);
    t.onCalcFields = [](Table &tt) { tt.field(u"Total").setFloat(tt.field(u"Qty").asInteger() * 10.0); };
    t.open();
    QList<double> totals;
    for (t.first(); !t.eof(); t.next())
        totals << t.field(u"total").asFloat();
    EXPECT_EQ(totals, (QList<double>{10, 20, 30}));
    t.first();
    // A view reading another row sees that row's values; the cursor stays.
    double seen = 0;
    EXPECT_TRUE(t.withRecord(3, [&] { seen = t.field(u"Total").asFloat(); }));
    EXPECT_EQ(seen, 30);
    EXPECT_EQ(t.recNo(), 1u);
    EXPECT_EQ(t.field(u"Total").asFloat(), 10);
    t.close();
    EXPECT_EQ(testing_tables::readFile(path), before);
}

class Recorder : public TableObserver {
public:
    void tableChanged(Table &, TableChange change, std::uint32_t recno) override { log.push_back({change, recno}); }
    std::vector<std::pair<TableChange, std::uint32_t>> log;
};

TEST_F(TableFixture, ObserversSeePostsAndSuspendedUpdatesArriveOnce)
{
    Recorder r; // outlives the table, which tells its observers when it closes
    Table t(path);
    t.open();
    t.addObserver(&r);
    fill(t, 1);
    EXPECT_NE(std::find(r.log.begin(), r.log.end(), std::make_pair(TableChange::RecordPosted, 1u)), r.log.end());
    r.log.clear();
    t.disableControls();
    fill(t, 3);
    t.disableControls();
    t.enableControls();
    EXPECT_TRUE(r.log.empty());
    t.enableControls();
    ASSERT_EQ(r.log.size(), 1u);
    EXPECT_EQ(r.log[0].first, TableChange::DataChanged);
}

TEST_F(TableFixture, TwoObjectsOnOneFileSeeEachOthersPostsAndAppends)
{
    Table a(path), b(path);
    a.open();
    b.open();
    fill(a, 2);
    b.first();
    EXPECT_EQ(b.field(u"Name").asString(), QStringLiteral("r1"));
    fill(b, 1); // appended after a's two records, not over them
    a.last();
    EXPECT_EQ(a.recNo(), 3u);
    a.first();
    a.edit();
    a.field(u"Name").setString(QStringLiteral("changed"));
    a.post();
    b.refresh();
    b.first();
    EXPECT_EQ(b.field(u"Name").asString(), QStringLiteral("changed"));
}

} // namespace

namespace {

TEST_F(TableFixture, OpensByFullPathWhateverTheExtensionOrLetterCase)
{
    {
        Table t(path);
        t.open();
        fill(t, 2);
    }
    const QString old = dir.filePath(QStringLiteral("price.old"));
    ASSERT_TRUE(QFile::rename(path, old));
    for (const QString &spelled : {old, dir.filePath(QStringLiteral("PRICE.OLD"))}) {
        Table t(spelled);
        t.open();
        EXPECT_EQ(t.visibleRecords().size(), 2u) << spelled.toStdString();
    }
    Table missing(dir.filePath(QStringLiteral("none.dbf")));
    EXPECT_THROW(missing.open(), TableError);
}

} // namespace
