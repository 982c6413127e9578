// Tables with their production index: tags made at open, the active index,
// the index kept in step with appends, edits and deletes, locates through a
// tag, several table objects on one file, repair after an interrupted update.
#include "MdxCheck.h"
#include "TestTables.h"

#include "tables/CodePage.h"
#include "tables/MdxFile.h"
#include "tables/MdxKey.h"
#include "tables/MdxOrder.h"
#include "tables/MdxTag.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"
#include "tables/TableError.h"
#include "tables/TableIndexes.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <map>
#include <numeric>
#include <random>

using namespace tables;

namespace {

const QStringList kNames{"ABC", "ab", "AB", "Abd", "АБВ", "абв", "аБ", "", "ёлка", "Ёлка", "AB", "B", "AB-C", "A'B"};

QString makeTable(QTemporaryDir &dir, const QString &name = QStringLiteral("k.dbf"), std::uint8_t mark = 0x26)
{
    const QString path = dir.filePath(name);
    createTable(path, 4,
                {{QStringLiteral("Name"), FieldKind::String, 20},
                 {QStringLiteral("Firm"), FieldKind::String, 10},
                 {QStringLiteral("Code"), FieldKind::Integer, 5}},
                {.languageId = mark});
    Table t(path);
    t.open();
    for (int i = 0; i < kNames.size(); ++i) {
        t.append();
        t.field(u"Name").setString(kNames[i]);
        t.field(u"Firm").setString(i % 2 ? QStringLiteral("Y") : QStringLiteral("X"));
        if (i != 7)
            t.field(u"Code").setInteger((kNames.size() - i) * 10);
        t.post();
    }
    return path;
}

QString mdxOf(const QString &dbf) { return dbf.left(dbf.size() - 4) + QStringLiteral(".mdx"); }

std::vector<std::uint32_t> visit(Table &t, bool backward = false)
{
    std::vector<std::uint32_t> out;
    if (backward) {
        for (t.last(); !t.bof(); t.prior())
            out.push_back(t.recNo());
        std::reverse(out.begin(), out.end());
    } else {
        for (t.first(); !t.eof(); t.next())
            out.push_back(t.recNo());
    }
    return out;
}

// Record numbers by stored NAME bytes, equal names by number: the tag order.
std::vector<std::uint32_t> nameOrder(const QString &path, bool withDeleted)
{
    Table t(path);
    t.setReadOnly(true);
    t.setShowDeleted(true);
    t.open();
    std::vector<std::pair<QByteArray, std::uint32_t>> rows;
    const FieldDef &f = t.schema().fields[size_t(t.schema().indexOf(u"NAME"))];
    for (t.first(); !t.eof(); t.next())
        if (withDeleted || !t.isDeleted())
            rows.emplace_back(QByteArray(t.recordBuffer() + f.offset, f.size), t.recNo());
    std::sort(rows.begin(), rows.end());
    std::vector<std::uint32_t> out;
    for (const auto &r : rows)
        out.push_back(r.second);
    return out;
}

void expectIndexSound(const QString &dbf, std::uint32_t records)
{
    const mdx_check::FileCheck fc = mdx_check::check(mdxOf(dbf));
    EXPECT_TRUE(fc.problems.isEmpty()) << fc.problems.join(u'\n').toStdString();
    for (const auto &t : fc.tags)
        EXPECT_EQ(t.entries.size(), records) << t.name.toStdString();
    const std::vector<std::uint32_t> expected = nameOrder(dbf, true);
    for (const auto &t : fc.tags) {
        if (t.name != QLatin1String("NAME"))
            continue;
        std::vector<std::uint32_t> got;
        for (const auto &e : t.entries)
            got.push_back(e.recno);
        EXPECT_EQ(got, expected);
    }
}

std::uint8_t byteAt(const QString &path, qint64 offset)
{
    const QByteArray b = testing_tables::readFile(path);
    return offset < b.size() ? std::uint8_t(b[offset]) : 0xFF;
}

} // namespace

TEST(MdxTable, IndexDefinitionsCreateMissingTagsAtOpen)
{
    QTemporaryDir dir;
    const QString path = makeTable(dir);
    EXPECT_FALSE(QFile::exists(mdxOf(path)));
    EXPECT_EQ(byteAt(path, 28), 0);
    {
        // Read-only, as TDbf: the missing tag (and the file) are made anyway.
        Table ro(path);
        ro.setReadOnly(true);
        ro.addIndexDef(QStringLiteral("Name"), QStringLiteral("Name"));
        ro.open();
        EXPECT_EQ(ro.indexTagNames(), QStringList{"NAME"});
        EXPECT_TRUE(QFile::exists(mdxOf(path)));
        ro.first();
        EXPECT_THROW(ro.edit(), TableError);
    }
    EXPECT_EQ(byteAt(path, 28), 1);
    {
        Table t(path);
        t.addIndexDef(QStringLiteral("Name"), QStringLiteral("Name"));
        t.addIndexDef(QStringLiteral("Code"), QStringLiteral("CODE"));
        t.open();
        EXPECT_EQ(t.indexTagNames(), (QStringList{"NAME", "CODE"}));
        EXPECT_THROW(t.addIndexDef(QStringLiteral("X"), QStringLiteral("FIRM")), TableError);
    }
    EXPECT_EQ(byteAt(path, 28), 1);
    EXPECT_EQ(byteAt(mdxOf(path), 31), 0x26); // the table's mark
    expectIndexSound(path, 14);
    {
        // The definitions were for that opening; the tags stay, one more is added.
        Table t(path);
        t.addIndexDef(QStringLiteral("Firm"), QStringLiteral("FIRM+NAME"));
        t.open();
        EXPECT_EQ(t.indexTagNames(), (QStringList{"NAME", "CODE", "FIRM"}));
        t.close();
        t.open();
        EXPECT_EQ(t.indexTagNames().size(), 3);
    }
    // A definition the index cannot hold fails the opening.
    Table bad(path);
    bad.addIndexDef(QStringLiteral("Bad"), QStringLiteral("NOSUCHFIELD"));
    EXPECT_THROW(bad.open(), TableError);
    EXPECT_FALSE(bad.isOpen());
}

TEST(MdxTable, ProductionIndexIsOpenedAsTDbfDoes)
{
    QTemporaryDir dir;
    const QString path = makeTable(dir);
    {
        Table t(path);
        t.addIndexDef(QStringLiteral("Name"), QStringLiteral("Name"));
        t.open();
    }
    // The .mdx in another language: not used, not changed.
    QByteArray mdx = testing_tables::readFile(mdxOf(path));
    QByteArray foreign = mdx;
    foreign[31] = char(0x58);
    testing_tables::writeFile(mdxOf(path), foreign);
    {
        Table t(path);
        t.setIndexName(QStringLiteral("NAME"));
        t.open();
        EXPECT_TRUE(t.indexTagNames().isEmpty());
        EXPECT_EQ(visit(t).front(), 1u);
        t.last();
        t.append();
        t.field(u"Name").setString(QStringLiteral("ZZ"));
        t.post();
    }
    EXPECT_EQ(testing_tables::readFile(mdxOf(path)), foreign);
    // Language 0 goes with any table.
    mdx[31] = 0;
    testing_tables::writeFile(mdxOf(path), mdx);
    {
        Table t(path);
        t.setReadOnly(true);
        t.open();
        EXPECT_EQ(t.indexTagNames(), QStringList{"NAME"});
    }
    // The flag says there is an index but there is none: the flag is cleared.
    QFile::remove(mdxOf(path));
    {
        Table t(path);
        t.open();
        EXPECT_TRUE(t.indexTagNames().isEmpty());
    }
    EXPECT_EQ(byteAt(path, 28), 0);
}

TEST(MdxTable, ActiveIndexDecidesTheOrder)
{
    QTemporaryDir dir;
    const QString path = makeTable(dir);
    Table t(path);
    t.addIndexDef(QStringLiteral("Name"), QStringLiteral("Name"));
    t.addIndexDef(QStringLiteral("Code"), QStringLiteral("Code"));
    t.setIndexName(QStringLiteral("name"));
    t.open();
    const std::vector<std::uint32_t> byName = nameOrder(path, false);
    EXPECT_EQ(visit(t), byName);
    EXPECT_EQ(visit(t, true), byName);
    // CODE descends with the record number; the empty one is 0, first.
    t.setIndexName(QStringLiteral("CODE"));
    std::vector<std::uint32_t> byCode{8};
    for (std::uint32_t r = 14; r >= 1; --r)
        if (r != 8)
            byCode.push_back(r);
    EXPECT_EQ(visit(t), byCode);
    // A name that is no tag (the program passes the .mdx path) keeps the stored order.
    for (const QString &name : {mdxOf(path), QString(), QStringLiteral("NOSUCH")}) {
        t.setIndexName(name);
        std::vector<std::uint32_t> stored(14);
        std::iota(stored.begin(), stored.end(), 1u);
        EXPECT_EQ(visit(t), stored) << name.toStdString();
    }
    // Deleted records and the filter still apply in index order.
    t.setIndexName(QStringLiteral("NAME"));
    t.setFilter(QStringLiteral("FIRM='X'"));
    t.setFiltered(true);
    ASSERT_TRUE(t.locate(QStringLiteral("Name"), QStringLiteral("ABC")));
    t.deleteRecord();
    std::vector<std::uint32_t> expected;
    for (std::uint32_t r : byName)
        if (r % 2 == 1 && r != 1)
            expected.push_back(r);
    EXPECT_EQ(visit(t), expected);
}

TEST(MdxTable, IndexFollowsAppendsEditsAndDeletes)
{
    QTemporaryDir dir;
    const QString path = makeTable(dir);
    Table t(path);
    t.addIndexDef(QStringLiteral("Name"), QStringLiteral("Name"));
    t.addIndexDef(QStringLiteral("Code"), QStringLiteral("Code"));
    t.addIndexDef(QStringLiteral("FirmName"), QStringLiteral("FIRM+NAME"));
    t.setIndexName(QStringLiteral("NAME"));
    t.open();
    std::mt19937 rng(3);
    const QStringList pool{"ab", "AB", "Б", "б", "Ц", "AAA", "", "ёж", "Z", "AB-C"};
    std::uint32_t records = 14;
    for (int op = 0; op < 300; ++op) {
        const QString name =
            pool[std::uniform_int_distribution<int>(0, int(pool.size()) - 1)(rng)] + QString::number(op % 7);
        switch (op % 4) {
        case 0:
        case 1: {
            t.append();
            t.field(u"Name").setString(name);
            t.field(u"Code").setInteger(op);
            t.post();
            ++records;
            // The new record is current, and navigation goes on from its place.
            ASSERT_EQ(t.recNo(), records);
            break;
        }
        case 2: {
            t.gotoBookmark(std::uniform_int_distribution<std::uint32_t>(1, records)(rng));
            if (t.isEmpty())
                break;
            const std::uint32_t r = t.recNo();
            t.edit();
            t.field(u"Name").setString(name);
            t.post();
            EXPECT_EQ(t.recNo(), r);
            break;
        }
        default:
            if (t.gotoBookmark(std::uniform_int_distribution<std::uint32_t>(1, records)(rng)))
                t.deleteRecord();
            break;
        }
        if (op % 50 == 49) {
            expectIndexSound(path, records);
            EXPECT_EQ(visit(t), nameOrder(path, false));
        }
    }
    // After an edit the cursor's neighbours are those of the new place.
    const std::vector<std::uint32_t> before = nameOrder(path, false);
    ASSERT_GE(before.size(), 3u);
    const std::uint32_t moved = before[1];
    ASSERT_TRUE(t.gotoBookmark(moved));
    t.edit();
    t.field(u"Name").setString(QStringLiteral("Z"));
    t.post();
    const std::vector<std::uint32_t> after = nameOrder(path, false);
    const size_t at = size_t(std::find(after.begin(), after.end(), moved) - after.begin());
    ASSERT_LT(at, after.size());
    ASSERT_GT(at, 1u);
    t.next();
    EXPECT_EQ(t.eof() ? 0u : t.recNo(), at + 1 < after.size() ? after[at + 1] : 0u);
    ASSERT_TRUE(t.gotoBookmark(moved));
    t.prior();
    EXPECT_EQ(t.recNo(), after[at - 1]);
    t.close();
    expectIndexSound(path, records);
}

TEST(MdxTable, TableObjectsShareOneFileAndItsIndex)
{
    QTemporaryDir dir;
    const QString path = makeTable(dir);
    Table a(path);
    a.addIndexDef(QStringLiteral("Name"), QStringLiteral("Name"));
    a.setIndexName(QStringLiteral("NAME"));
    a.open();
    Table b(path);
    b.setIndexName(QStringLiteral("NAME"));
    b.open();
    ASSERT_EQ(b.indexTagNames(), QStringList{"NAME"});
    // Appends from both interleave without overwriting each other.
    for (int i = 0; i < 40; ++i) {
        Table &w = i % 2 ? a : b;
        w.append();
        w.field(u"Name").setString(QStringLiteral("N%1").arg(i, 2, 10, QLatin1Char('0')));
        w.post();
    }
    a.refresh();
    b.refresh();
    EXPECT_EQ(a.recordCount(), 54u);
    EXPECT_EQ(b.recordCount(), 54u);
    // A post by one is what the other reads at its next navigation.
    ASSERT_TRUE(a.locate(QStringLiteral("Name"), QStringLiteral("N07")));
    a.edit();
    a.field(u"Name").setString(QStringLiteral("ZZZ"));
    a.post();
    ASSERT_TRUE(b.locate(QStringLiteral("Name"), QStringLiteral("ZZZ")));
    EXPECT_EQ(b.recNo(), a.recNo());
    EXPECT_EQ(visit(b), nameOrder(path, false));
    b.first();
    b.edit();
    b.field(u"Name").setString(QStringLiteral("ЯЯ"));
    b.post();
    EXPECT_EQ(visit(a), nameOrder(path, false));
    a.close();
    b.close();
    expectIndexSound(path, 54);
}

TEST(MdxTable, LocateThroughATagFindsWhatTheRecordSearchFinds)
{
    QTemporaryDir dir;
    const QString indexed = makeTable(dir, QStringLiteral("i.dbf"));
    const QString plain = makeTable(dir, QStringLiteral("p.dbf"));
    // More rows, the same in both tables, some deleted.
    std::mt19937 rng(5);
    const QStringList parts{"аб", "АБ", "Аб", "ab", "AB", "Ё", "ё", " x", "B", "Б"};
    for (const QString &path : {indexed, plain}) {
        std::mt19937 same(9);
        Table t(path);
        if (path == indexed)
            t.addIndexDef(QStringLiteral("Name"), QStringLiteral("NAME"));
        t.open();
        for (int i = 0; i < 400; ++i) {
            QString name;
            for (int k = std::uniform_int_distribution<int>(0, 3)(same); k >= 0; --k)
                name += parts[std::uniform_int_distribution<int>(0, int(parts.size()) - 1)(same)];
            t.append();
            t.field(u"Name").setString(name);
            t.field(u"Firm").setString(i % 3 ? QStringLiteral("X") : QStringLiteral("Y"));
            t.post();
            if (i % 11 == 0)
                t.deleteRecord();
        }
    }
    Table ti(indexed);
    ti.open();
    ASSERT_EQ(ti.indexTagNames(), QStringList{"NAME"});
    Table tp(plain);
    tp.open();
    int hits = 0;
    for (int round = 0; round < 4; ++round) {
        // Stored order and the tag's own order; with and without a filter.
        const bool byTag = round % 2 == 1;
        const bool filtered = round >= 2;
        ti.setIndexName(byTag ? QStringLiteral("NAME") : QString());
        tp.setOrder(nullptr);
        for (Table *t : {&ti, &tp}) {
            t->setFilter(QStringLiteral("FIRM='X'"));
            t->setFiltered(filtered);
        }
        // The visiting order the record search follows in the tag rounds.
        std::vector<std::uint32_t> tagOrder;
        if (byTag) {
            Table ref(indexed);
            ref.setReadOnly(true);
            ref.setIndexName(QStringLiteral("NAME"));
            ref.open();
            ref.setFilter(QStringLiteral("FIRM='X'"));
            ref.setFiltered(filtered);
            tagOrder = visit(ref);
        }
        for (int i = 0; i < 300; ++i) {
            QString key;
            for (int k = std::uniform_int_distribution<int>(0, 2)(rng); k >= 0; --k)
                key += parts[std::uniform_int_distribution<int>(0, int(parts.size()) - 1)(rng)];
            if (i % 10 == 0)
                key = key.left(1);
            if (i % 17 == 0)
                key += u' ';
            const LocateOptions options{.caseInsensitive = i % 2 == 0, .partialKey = i % 3 != 0};
            const bool found = ti.locate(QStringLiteral("Name"), key, options);
            std::uint32_t expected = 0;
            if (byTag) {
                // The record search in tag order, for the indexed table.
                for (std::uint32_t r : tagOrder) {
                    if (!tp.gotoBookmark(r))
                        continue;
                    const QString v = tp.field(u"Name").asString();
                    const QString a = options.caseInsensitive ? v.toUpper() : v;
                    const QString b = options.caseInsensitive ? key.toUpper() : key;
                    if (options.partialKey ? a.startsWith(b) : a == b) {
                        expected = r;
                        break;
                    }
                }
            } else {
                expected = tp.locate(QStringLiteral("Name"), key, options) ? tp.recNo() : 0;
            }
            EXPECT_EQ(found ? ti.recNo() : 0u, expected) << key.toStdString() << " nocase " << options.caseInsensitive
                                                         << " partial " << options.partialKey << " round " << round;
            hits += found;
        }
    }
    EXPECT_GT(hits, 200);
    // Every one of them went through the tag.
    EXPECT_EQ(ti.indexes().locatesThroughTags(), 1200u);
}

TEST(MdxTable, LocateInANumericTagOrderFindsWhatTheRecordSearchFinds)
{
    QTemporaryDir dir;
    const QString path = makeTable(dir);
    {
        // Repeated codes, some deleted, one edited after the tag was made.
        Table t(path);
        t.addIndexDef(QStringLiteral("Code"), QStringLiteral("CODE"));
        t.open();
        for (int i = 0; i < 60; ++i) {
            t.append();
            t.field(u"Code").setInteger(i % 7 - 1);
            t.field(u"Firm").setString(i % 3 ? QStringLiteral("X") : QStringLiteral("Y"));
            t.post();
            if (i % 5 == 0)
                t.deleteRecord();
        }
        t.first();
        t.edit();
        t.field(u"Code").setInteger(3);
        t.post();
    }
    for (const bool filtered : {false, true}) {
        Table t(path);
        t.setIndexName(QStringLiteral("Code"));
        t.open();
        t.setFilter(QStringLiteral("FIRM='X'"));
        t.setFiltered(filtered);
        const std::vector<std::uint32_t> order = visit(t);
        const std::uint64_t before = t.indexes().locatesThroughTags();
        int narrowed = 0;
        for (const QVariant &value : {QVariant(-1), QVariant(0), QVariant(3), QVariant(3.0), QVariant(5), QVariant(9),
                                      QVariant(140), QVariant(QStringLiteral("4")), QVariant(2.5)}) {
            std::uint32_t expected = 0;
            for (std::uint32_t r : order) {
                t.gotoBookmark(r);
                if (!t.field(u"Code").isNull() && t.field(u"Code").asFloat() == value.toDouble()) {
                    expected = r;
                    break;
                }
            }
            const bool found = t.locate(QStringLiteral("Code"), value);
            EXPECT_EQ(found ? t.recNo() : 0u, expected) << value.toString().toStdString() << " filtered " << filtered;
            narrowed += value != QVariant(2.5);
        }
        // Whole numbers go through the tag; 2.5 is searched record by record.
        EXPECT_EQ(t.indexes().locatesThroughTags() - before, std::uint64_t(narrowed));
    }
}

TEST(MdxTable, InterruptedUpdateIsRepairedAtTheNextOpening)
{
    QTemporaryDir dir;
    const QString path = makeTable(dir);
    {
        Table t(path);
        t.addIndexDef(QStringLiteral("Name"), QStringLiteral("Name"));
        t.addIndexDef(QStringLiteral("Code"), QStringLiteral("Code"));
        t.open();
    }
    // What a crash between the record and the index leaves: records the tags
    // do not have, and the mark of the update.
    {
        Table t(path);
        t.open();
        t.append();
        t.field(u"Name").setString(QStringLiteral("NEW"));
        t.post();
    }
    QByteArray mdx = testing_tables::readFile(mdxOf(path));
    {
        auto f = MdxFile::open(mdxOf(path), MdxFile::Mode::ReadWrite);
        ASSERT_TRUE(f->tag(0).remove(QByteArray("NEW").leftJustified(20, ' '), 15));
        f->setUpdating(true);
    }
    const QByteArray interrupted = testing_tables::readFile(mdxOf(path));
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly);
        testing_tables::writeFile(mdxOf(path), interrupted);
        // Opened read-only or not, the index is rebuilt before it is used.
        Table t(path);
        t.setReadOnly(readOnly);
        t.setIndexName(QStringLiteral("NAME"));
        t.open();
        EXPECT_EQ(t.indexTagNames(), (QStringList{"NAME", "CODE"}));
        EXPECT_EQ(visit(t), nameOrder(path, false));
        EXPECT_EQ(byteAt(mdxOf(path), 47), 0);
        expectIndexSound(path, 15);
    }
    // When the file cannot be written, a read-only opening does not use it.
    testing_tables::writeFile(mdxOf(path), interrupted);
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    QFile::setPermissions(mdxOf(path), QFileDevice::ReadOwner);
    if (!QFileInfo(path).isWritable()) { // not when the tests run as root
        Table ro(path);
        ro.setReadOnly(true);
        ro.setIndexName(QStringLiteral("NAME"));
        ro.open();
        EXPECT_TRUE(ro.indexTagNames().isEmpty());
        EXPECT_EQ(visit(ro).front(), 1u);
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile::setPermissions(mdxOf(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST(MdxTable, DetailFollowsItsMaster)
{
    QTemporaryDir dir;
    const QString masterPath = dir.filePath(QStringLiteral("Archiv.dbf"));
    const QString detailPath = dir.filePath(QStringLiteral("ArchivPos.dbf"));
    createTable(masterPath, 4, {{QStringLiteral("IDRow"), FieldKind::Integer, 10}});
    createTable(detailPath, 4,
                {{QStringLiteral("IDRow"), FieldKind::Integer, 10},
                 {QStringLiteral("Parent"), FieldKind::Integer, 10},
                 {QStringLiteral("Drug"), FieldKind::Integer, 10}});
    {
        Table m(masterPath);
        m.open();
        for (int id : {3, 1, 2, 4}) { // order 4 has no positions
            m.append();
            m.field(u"IDRow").setInteger(id);
            m.post();
        }
        Table d(detailPath);
        d.open();
        const int parents[] = {1, 2, 1, 3, 2, 1, 3};
        for (int i = 0; i < 7; ++i) {
            d.append();
            d.field(u"IDRow").setInteger(i + 1);
            d.field(u"Parent").setInteger(parents[i]);
            d.field(u"Drug").setInteger(100 - i % 3);
            d.post();
        }
    }
    Table master(masterPath);
    master.setReadOnly(true);
    master.open();
    // Read-only, its tags defined before opening (and made then), as the
    // archive window does.
    Table detail(detailPath);
    detail.setReadOnly(true);
    detail.addIndexDef(QStringLiteral("Detail"), QStringLiteral("Parent"));
    detail.addIndexDef(QStringLiteral("Statist"), QStringLiteral("Drug"));
    detail.setIndexName(QStringLiteral("Detail"));
    detail.open();
    ASSERT_EQ(detail.indexTagNames(), (QStringList{"DETAIL", "STATIST"}));
    detail.setMasterLink(&master, QStringLiteral("IDRow"));
    const std::map<int, std::vector<std::uint32_t>> expected{{3, {4, 7}}, {1, {1, 3, 6}}, {2, {2, 5}}, {4, {}}};
    for (master.first(); !master.eof(); master.next()) {
        const int id = int(master.field(u"IDRow").asInteger());
        SCOPED_TRACE(id);
        EXPECT_EQ(visit(detail), expected.at(id));
        EXPECT_EQ(visit(detail, true), expected.at(id));
        auto *order = dynamic_cast<MdxOrder *>(&detail.order());
        ASSERT_NE(order, nullptr);
        EXPECT_EQ(order->recordNumbers(), expected.at(id));
    }
    // The statistics: link off, the other tag over all records, then back.
    master.first();
    detail.setMasterLink(nullptr, QString());
    detail.setIndexName(QStringLiteral("Statist"));
    EXPECT_EQ(visit(detail), (std::vector<std::uint32_t>{3, 6, 2, 5, 1, 4, 7}));
    detail.setIndexName(QStringLiteral("Detail"));
    detail.setMasterLink(&master, QStringLiteral("IDRow"));
    EXPECT_EQ(visit(detail), expected.at(3));
    ASSERT_TRUE(master.locate(QStringLiteral("IDRow"), 2));
    EXPECT_EQ(visit(detail), expected.at(2));
    // Without a tag to match against, the link shows nothing.
    detail.setIndexName(QStringLiteral("NOSUCH"));
    detail.first();
    EXPECT_TRUE(detail.eof());
    detail.setMasterLink(nullptr, QString());
}
