// .mdx files exchanged with TDbf: we read the files TDbf writes in its order,
// and TDbf reads ours — every record once, in our order, with the keys TDbf
// computes itself — also after appends, edits and deletes.
#include "MdxCheck.h"
#include "MdxOracle.h"

#include "tables/CodePage.h"
#include "tables/DbfFile.h"
#include "tables/MdxCursor.h"
#include "tables/MdxFile.h"
#include "tables/MdxKeyList.h"
#include "tables/MdxKeySource.h"
#include "tables/MdxTag.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace tables;

namespace {

void make(const QString &dir, const QStringList &args)
{
    const mdx_oracle::Result r = mdx_oracle::run(QStringLiteral("dbfmake"), args, dir);
    ASSERT_EQ(r.exitCode, 0) << (r.out + r.err).toStdString();
}

TableSchema schemaOf(const DbfFile &dbf)
{
    TableSchema s;
    s.fields = dbf.header().fields;
    s.recordSize = dbf.header().recordSize;
    s.codePage = &CodePage::byNumber(866);
    return s;
}

QString mdxPathOf(const QString &dbfPath)
{
    const QFileInfo fi(dbfPath);
    return fi.path() + u'/' + fi.completeBaseName() + QStringLiteral(".mdx");
}

QList<std::uint32_t> orderOf(MdxTag &tag)
{
    QList<std::uint32_t> out;
    MdxCursor c(tag);
    for (bool ok = c.first(); ok; ok = c.next())
        out << c.recno();
    return out;
}

QByteArray recordOf(const DbfFile &dbf, std::uint32_t recno)
{
    QByteArray r(dbf.header().recordSize, '\0');
    EXPECT_TRUE(dbf.readRecord(recno, r.data()));
    return r;
}

struct TagDef {
    const char *name;
    const char *expression;
};

// Builds the production index of a table the way the engine does: keys of
// every record, deleted ones included, then the header flag.
void buildIndex(const QString &dbfPath, const std::vector<TagDef> &tags)
{
    DbfFile dbf(dbfPath, OpenMode::ReadWrite);
    const TableSchema schema = schemaOf(dbf);
    auto mdx = MdxFile::create(mdxPathOf(dbfPath), QFileInfo(dbfPath).completeBaseName(), dbf.header().languageId);
    for (const TagDef &t : tags) {
        const MdxKeySource source = MdxKeySource::compile(QString::fromLatin1(t.expression), schema);
        MdxKeyList keys(source.length());
        for (std::uint32_t r = 1; r <= dbf.recordCount(); ++r)
            keys.add(source.key(recordOf(dbf, r).constData()), r);
        mdx->addTag(
            {QString::fromLatin1(t.name), source.expression(), source.type(), source.length(), source.isField()},
            std::move(keys));
    }
    dbf.setProductionIndexFlag(true);
}

bool nearlyEqualKeys(const QString &hexA, const QString &hexB)
{
    const QByteArray a = QByteArray::fromHex(hexA.toLatin1());
    const QByteArray b = QByteArray::fromHex(hexB.toLatin1());
    if (a.size() != mdxkey::kNumericLength || b.size() != mdxkey::kNumericLength)
        return false;
    const double x = mdxkey::numericValue(a.constData());
    const double y = mdxkey::numericValue(b.constData());
    return std::fabs(x - y) <= 1e-13 * std::max(std::fabs(x), std::fabs(y));
}

// TDbf's view of every tag must be ours: same entries in the same order, the
// stored keys equal to what TDbf computes. Tags in `belowTenth` may fail
// TDbf's order check for the values TDbf sorts before 0; in `rounded` (float
// keys) TDbf's own float formatting may round the 16th digit of a few keys
// the other way.
void expectTDbfAgrees(const QString &dbfPath, const QStringList &belowTenth = {}, const QStringList &rounded = {})
{
    const mdx_oracle::DumpReport report = mdx_oracle::dump(dbfPath);
    ASSERT_TRUE(report.mdxOpened) << report.raw.toStdString();
    const mdx_check::FileCheck ours = mdx_check::check(mdxPathOf(dbfPath));
    EXPECT_TRUE(ours.problems.isEmpty()) << ours.problems.join(u'\n').toStdString();
    ASSERT_EQ(report.tagNames.size(), int(ours.tags.size()));
    for (const mdx_check::TagCheck &tag : ours.tags) {
        SCOPED_TRACE(tag.name.toStdString());
        ASSERT_TRUE(report.tags.contains(tag.name));
        const mdx_oracle::TagReport &t = report.tags[tag.name];
        QList<std::uint32_t> order;
        QStringList keys;
        for (const auto &e : tag.entries) {
            order << e.recno;
            keys << QString::fromLatin1(e.key.toHex().toUpper());
        }
        EXPECT_EQ(t.order, order);
        ASSERT_EQ(t.keys.size(), keys.size());
        int roundedKeys = 0;
        for (int i = 0; i < keys.size(); ++i) {
            if (t.keys[i] == keys[i])
                continue;
            ++roundedKeys;
            EXPECT_TRUE(rounded.contains(tag.name) && nearlyEqualKeys(t.keys[i], keys[i]))
                << "record " << order[i] << ": TDbf " << t.keys[i].toStdString() << ", ours " << keys[i].toStdString();
        }
        EXPECT_LE(roundedKeys, keys.size() / 100 + 1);
        for (const QString &e : t.errors) {
            const bool allowed =
                (belowTenth.contains(tag.name) && e.contains(QLatin1String("smaller than the previous")))
                || (rounded.contains(tag.name) && e.contains(QLatin1String("stored key differs")));
            EXPECT_TRUE(allowed) << e.toStdString();
        }
        if (!belowTenth.contains(tag.name) && !rounded.contains(tag.name)) {
            EXPECT_TRUE(t.checkOk) << t.errors.join(u'\n').toStdString();
        }
    }
}

// Where TDbf's own index search (an exact Locate on the tag's field) lands.
std::uint32_t tdbfLocate(const QString &dbfPath, const QString &field, const QString &value)
{
    const mdx_oracle::Result r = mdx_oracle::run(QStringLiteral("dbflocate"), {dbfPath, field, value});
    EXPECT_TRUE(r.out.contains(QStringLiteral("#path\tindex(%1)").arg(field))) << r.out.toStdString();
    return r.out.trimmed().split(u'\n').last().toUInt();
}

class MdxInterop : public ::testing::Test {
protected:
    void SetUp() override { KX_REQUIRE_MDX_ORACLE(); }
    QString file(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(MdxInterop, WeReadTagsTDbfWroteInItsOrder)
{
    make(dir.path(), {QStringLiteral("keys"), QStringLiteral("km.dbf"), QStringLiteral("--mdx")});
    make(dir.path(),
         {QStringLiteral("price"), QStringLiteral("p.dbf"), QStringLiteral("2500"), QStringLiteral("5"),
          QStringLiteral("--mdx"), QStringLiteral("--zak"), QStringLiteral("--deleted")});
    make(dir.path(), {QStringLiteral("archive"), QStringLiteral("arch"), QStringLiteral("300"), QStringLiteral("5")});
    struct Case {
        const char *dbf;
        QStringList tags;
    };
    const Case cases[] = {
        {"km.dbf", {"NAME", "CODE", "AMOUNT"}}, {"p.dbf", {"NAME"}}, {"arch/ArchivPos.dbf", {"DETAIL", "STATIST"}}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.dbf);
        const QString dbfPath = file(c.dbf);
        const mdx_oracle::DumpReport report = mdx_oracle::dump(dbfPath);
        ASSERT_TRUE(report.mdxOpened);
        auto mdx = MdxFile::open(mdxPathOf(dbfPath), MdxFile::Mode::ReadOnly);
        DbfFile dbf(dbfPath, OpenMode::ReadOnly);
        const TableSchema schema = schemaOf(dbf);
        ASSERT_EQ(mdx->tagCount(), c.tags.size());
        for (int i = 0; i < mdx->tagCount(); ++i) {
            MdxTag &tag = mdx->tag(i);
            SCOPED_TRACE(tag.name().toStdString());
            EXPECT_EQ(tag.name(), c.tags[i]);
            const mdx_oracle::TagReport &t = report.tags[tag.name()];
            EXPECT_EQ(tag.expression(), t.expression);
            EXPECT_EQ(QString(QLatin1Char(char(tag.keyType()))), t.keyType);
            EXPECT_EQ(orderOf(tag), t.order);
            // The keys we compute for the records are the ones TDbf stored.
            const MdxKeySource source = MdxKeySource::compile(tag.expression(), schema);
            EXPECT_EQ(source.type(), tag.keyType());
            EXPECT_EQ(source.length(), tag.keyLength());
            MdxCursor cur(tag);
            int checked = 0;
            for (bool ok = cur.first(); ok; ok = cur.next(), ++checked)
                ASSERT_EQ(source.key(recordOf(dbf, cur.recno()).constData()).toHex(), cur.key().toHex()) << cur.recno();
            EXPECT_EQ(checked, int(dbf.recordCount()));
        }
    }
}

TEST_F(MdxInterop, TDbfReadsTagsWeBuild)
{
    // Unmarked and 0x26-marked tables; character, numeric and expression
    // tags. AMOUNT holds 0.05 and 0.001, which TDbf's comparator puts
    // before 0: TDbf's own check flags that tag, by design.
    for (const char *lang : {"0", "0x26"}) {
        SCOPED_TRACE(lang);
        const QString dbfPath = file(lang[1] ? "k26.dbf" : "k.dbf");
        make(dir.path(), {QStringLiteral("keys"), QFileInfo(dbfPath).fileName(), QStringLiteral("--lang=") + lang});
        buildIndex(dbfPath,
                   {{"NAME", "NAME"},
                    {"CODE", "CODE"},
                    {"AMOUNT", "AMOUNT"},
                    {"NAMEFIRM", "NAME+FIRM"},
                    {"DAYS", "DTOS(DAY)"},
                    {"CODE2", "CODE*2"}});
        EXPECT_EQ(mdx_check::check(mdxPathOf(dbfPath)).language, lang[1] ? 0x26 : 0);
        expectTDbfAgrees(dbfPath, {QStringLiteral("AMOUNT")});
        // TDbf searches our trees. (With a 0x26 mark the oracle's TDbf finds
        // no text through any index, its own included.)
        EXPECT_EQ(tdbfLocate(dbfPath, QStringLiteral("CODE"), QStringLiteral("130")), 13u);
        if (!lang[1]) {
            EXPECT_EQ(tdbfLocate(dbfPath, QStringLiteral("NAME"), QStringLiteral("AB-C")), 13u);
        }
    }
}

TEST_F(MdxInterop, TDbfReadsTheIndexRebuiltByARestructure)
{
    // Our tags and TDbf's, through a dropped field, a longer key field and
    // an added field.
    struct Case {
        const char *what;
        QStringList makeArgs;
        std::vector<TagDef> ourTags; // none: TDbf built the index
        const char *dropField, *widenField;
        QStringList dropped;
    };
    const std::vector<Case> cases{
        {"our index",
         {"keys", "k.dbf"},
         {{"NAME", "NAME"}, {"CODE", "CODE"}, {"NAMEFIRM", "NAME+FIRM"}, {"DAYS", "DTOS(DAY)"}},
         "FIRM",
         "NAME",
         {"NAMEFIRM"}},
        {"TDbf's index", {"price", "p.dbf", "400", "5", "--mdx", "--deleted"}, {}, "CNTR", "NAME", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString dbfPath = dir.filePath(c.makeArgs[1]);
        make(dir.path(), c.makeArgs);
        if (!c.ourTags.empty())
            buildIndex(dbfPath, c.ourTags);
        FieldSpecs specs;
        {
            const DbfFile dbf(dbfPath, OpenMode::ReadOnly);
            for (FieldSpec f : fieldSpecsOf(schemaOf(dbf))) {
                if (f.name == QLatin1String(c.dropField))
                    continue;
                if (f.name == QLatin1String(c.widenField))
                    f.size += 6;
                specs.push_back(f);
            }
        }
        specs.push_back({QStringLiteral("ZAK2"), FieldKind::Float});
        QStringList dropped;
        restructureTable(dbfPath, specs, &dropped);
        EXPECT_EQ(dropped, c.dropped);
        expectTDbfAgrees(dbfPath);
        if (!c.ourTags.empty()) {
            EXPECT_EQ(tdbfLocate(dbfPath, QStringLiteral("CODE"), QStringLiteral("130")), 13u);
        }
    }
}

TEST_F(MdxInterop, IndexesStayRightForTDbfThroughAppendsEditsAndDeletes)
{
    // Our tags, and a tag TDbf built, changed by us record by record.
    for (const bool ours : {true, false}) {
        SCOPED_TRACE(ours ? "our index" : "TDbf's index");
        const QString dbfPath = file(ours ? "price.dbf" : "tdbf.dbf");
        QStringList args{QStringLiteral("price"), QFileInfo(dbfPath).fileName(), QStringLiteral("1500"),
                         QStringLiteral("9"), QStringLiteral("--zak")};
        if (!ours)
            args << QStringLiteral("--mdx");
        make(dir.path(), args);
        if (ours)
            buildIndex(dbfPath, {{"NAME", "NAME"}, {"IDROW", "IDROW"}, {"PRICE1", "PRICE1"}});
        std::mt19937 rng(11);
        QList<std::uint32_t> probes;
        {
            DbfFile dbf(dbfPath, OpenMode::ReadWrite);
            const TableSchema schema = schemaOf(dbf);
            auto mdx = MdxFile::open(mdxPathOf(dbfPath), MdxFile::Mode::ReadWrite);
            std::vector<MdxKeySource> sources;
            for (int i = 0; i < mdx->tagCount(); ++i)
                sources.push_back(MdxKeySource::compile(mdx->tag(i).expression(), schema));
            const FieldDef &name = schema.fields[size_t(schema.indexOf(u"NAME"))];
            const FieldDef &idrow = schema.fields[size_t(schema.indexOf(u"IDROW"))];
            auto pick = [&] { return std::uniform_int_distribution<std::uint32_t>(1, dbf.recordCount())(rng); };
            for (int op = 0; op < 900; ++op) {
                const std::uint32_t recno = pick();
                QByteArray rec = recordOf(dbf, recno);
                const int what = op % 3;
                if (what == 2) {
                    // Deleting keeps the entries: only the flag changes.
                    dbf.setDeleted(recno, true);
                    continue;
                }
                // A new name (and for appends a new IDROW), made from another row's.
                const QByteArray other = recordOf(dbf, pick());
                std::memcpy(rec.data() + name.offset, other.constData() + name.offset, size_t(name.size));
                rec[name.offset + std::uniform_int_distribution<int>(0, 5)(rng)] = char('A' + op % 26);
                rec[0] = ' ';
                if (what == 0) {
                    const QByteArray id = QByteArray::number(100000 + op).rightJustified(idrow.size, ' ');
                    std::memcpy(rec.data() + idrow.offset, id.constData(), size_t(idrow.size));
                    const std::uint32_t added = dbf.appendRecord(rec.constData());
                    for (int i = 0; i < mdx->tagCount(); ++i)
                        ASSERT_TRUE(mdx->tag(i).insert(sources[size_t(i)].key(rec.constData()), added));
                    if (op % 90 == 0)
                        probes << added;
                } else {
                    const QByteArray before = recordOf(dbf, recno);
                    dbf.writeRecord(recno, rec.constData());
                    for (int i = 0; i < mdx->tagCount(); ++i)
                        mdx->tag(i).update(sources[size_t(i)].key(before.constData()),
                                           sources[size_t(i)].key(rec.constData()), recno);
                    if (op % 90 == 1)
                        probes << recno;
                }
                if (op % 150 == 0)
                    mdx->flush();
            }
        }
        if (ours) {
            expectTDbfAgrees(dbfPath, {}, {QStringLiteral("PRICE1")});
        } else {
            // TDbf's tree has its own layout (an abandoned first root, no
            // balance rule of ours): only TDbf's reading counts.
            const mdx_oracle::DumpReport report = mdx_oracle::dump(dbfPath);
            ASSERT_TRUE(report.tags.contains(QStringLiteral("NAME")));
            const mdx_oracle::TagReport &t = report.tags[QStringLiteral("NAME")];
            EXPECT_TRUE(t.checkOk) << t.errors.join(u'\n').toStdString();
            auto mdx = MdxFile::open(mdxPathOf(dbfPath), MdxFile::Mode::ReadOnly);
            EXPECT_EQ(orderOf(mdx->tag(0)), t.order);
        }
        // TDbf's index search in our trees finds the first live record of a name.
        DbfFile dbf(dbfPath, OpenMode::ReadOnly);
        const TableSchema schema = schemaOf(dbf);
        const FieldDef &name = schema.fields[size_t(schema.indexOf(u"NAME"))];
        auto mdx = MdxFile::open(mdxPathOf(dbfPath), MdxFile::Mode::ReadOnly);
        MdxTag &tag = *mdx->findTag(u"NAME");
        int found = 0;
        for (const std::uint32_t probe : probes) {
            const QByteArray rec = recordOf(dbf, probe);
            const QByteArray key = rec.mid(name.offset, name.size);
            std::uint32_t expected = 0;
            MdxCursor c(tag);
            for (bool ok = c.seek(key); ok && c.key() == key; ok = c.next()) {
                if (recordOf(dbf, c.recno())[0] != '*') {
                    expected = c.recno();
                    break;
                }
            }
            const QString text = schema.codePage->decode(key).trimmed();
            EXPECT_EQ(tdbfLocate(dbfPath, QStringLiteral("NAME"), text), expected) << text.toStdString();
            found += expected != 0;
        }
        EXPECT_GE(found, probes.size() / 2);
    }
}

TEST_F(MdxInterop, TDbfReadsTheIndexAfterTableObjectsChangedTheRecords)
{
    // A table TDbf made without index, given tags by our table object, and a
    // table with TDbf's own index; records appended, edited and deleted
    // through two table objects.
    make(dir.path(), {QStringLiteral("keys"), QStringLiteral("k.dbf")});
    make(dir.path(),
         {QStringLiteral("price"), QStringLiteral("p.dbf"), QStringLiteral("600"), QStringLiteral("4"),
          QStringLiteral("--mdx")});
    for (const char *name : {"k.dbf", "p.dbf"}) {
        SCOPED_TRACE(name);
        const QString path = file(name);
        const bool keys = name[0] == 'k';
        Table a(path);
        if (keys) {
            a.addIndexDef(QStringLiteral("Name"), QStringLiteral("NAME"));
            a.addIndexDef(QStringLiteral("Code"), QStringLiteral("CODE"));
            a.addIndexDef(QStringLiteral("NameFirm"), QStringLiteral("NAME+FIRM"));
        }
        a.setIndexName(QStringLiteral("NAME"));
        a.open();
        Table b(path);
        b.open();
        std::mt19937 rng(21);
        for (int op = 0; op < 120; ++op) {
            Table &t = op % 2 ? a : b;
            t.refresh();
            const std::uint32_t n = t.recordCount();
            const std::uint32_t r = std::uniform_int_distribution<std::uint32_t>(1, n)(rng);
            const QString newName = QStringLiteral("%1 Имя %2").arg(QChar(u'A' + op % 26)).arg(op);
            switch (op % 4) {
            case 0:
                t.append();
                t.field(u"NAME").setString(newName);
                if (keys)
                    t.field(u"CODE").setInteger(op);
                t.post();
                break;
            case 3:
                if (t.gotoBookmark(r))
                    t.deleteRecord();
                break;
            default:
                if (t.gotoBookmark(r)) {
                    t.edit();
                    t.field(u"NAME").setString(newName);
                    t.post();
                }
                break;
            }
        }
        a.close();
        b.close();
        if (keys) {
            expectTDbfAgrees(path);
        } else {
            const mdx_oracle::DumpReport report = mdx_oracle::dump(path);
            const mdx_oracle::TagReport &t = report.tags[QStringLiteral("NAME")];
            EXPECT_TRUE(t.checkOk) << t.errors.join(u'\n').toStdString();
            DbfFile dbf(path, OpenMode::ReadOnly);
            EXPECT_EQ(t.order.size(), int(dbf.recordCount()));
        }
    }
}
