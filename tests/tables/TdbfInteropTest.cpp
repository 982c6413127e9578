// The real TDbf engine and ours must agree on every file either of us writes.
#include "TestTables.h"
#include "tests/support/OracleHarness.h"

#include "tables/CodePage.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

using namespace tables;

namespace {

struct Dump {
    QMap<QString, QString> meta; // "#level" -> "4"
    QStringList fieldTypes; // TDbf field class per column
    QList<QStringList> rows; // deletion flag, then the values
};

Dump tdbfDump(const QString &path)
{
    const kx::testsupport::RunResult r =
        kx::testsupport::OracleHarness::instance().run(QStringLiteral("dbfdump"), {path});
    EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
    Dump d;
    bool records = false;
    for (const QString &line : r.out.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(u'\t');
        if (line.startsWith(QStringLiteral("#columns"))) {
            records = true;
        } else if (line.startsWith(QStringLiteral("#field"))) {
            d.fieldTypes << parts.value(7);
        } else if (line.startsWith(u'#')) {
            if (!d.meta.contains(parts[0]))
                d.meta.insert(parts[0], parts.value(1));
            if (line.startsWith(QStringLiteral("#mdx")))
                records = false;
        } else if (records) {
            d.rows << parts;
        }
    }
    return d;
}

QString escaped(const QString &v)
{
    QString s;
    for (QChar c : v) {
        switch (c.unicode()) {
        case '\\': s += QStringLiteral("\\\\"); break;
        case '\t': s += QStringLiteral("\\t"); break;
        case '\n': s += QStringLiteral("\\n"); break;
        case '\r': s += QStringLiteral("\\r"); break;
        case 0: s += QStringLiteral("\\0"); break;
        default: s += c;
        }
    }
    return s;
}

// Compares one record as TDbf printed it with what our field accessors read.
void expectSameRecord(Table &t, const QStringList &theirs, const QString &where)
{
    ASSERT_EQ(theirs.size(), int(t.schema().fields.size()) + 1) << where.toStdString();
    EXPECT_EQ(theirs[0] == QStringLiteral("*"), t.isDeleted()) << where.toStdString();
    for (int i = 0; i < int(t.schema().fields.size()); ++i) {
        Field f = t.field(i);
        const QString &v = theirs[i + 1];
        const std::string ctx =
            QStringLiteral("%1 field %2 TDbf [%3] ours [%4]").arg(where, f.name(), v, f.asString()).toStdString();
        if (v == QStringLiteral("\\N")) {
            EXPECT_TRUE(f.isNull()) << ctx;
            continue;
        }
        ASSERT_FALSE(f.isNull()) << ctx;
        switch (f.kind()) {
        case FieldKind::String:
        case FieldKind::Memo: EXPECT_EQ(escaped(f.asString()), v) << ctx; break;
        case FieldKind::Date: EXPECT_EQ(f.asDate().toString(QStringLiteral("yyyy-MM-dd")), v) << ctx; break;
        case FieldKind::DateTime:
            EXPECT_EQ(f.asDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")), v) << ctx;
            break;
        case FieldKind::Boolean: EXPECT_EQ(f.asBoolean() ? "T" : "F", v) << ctx; break;
        case FieldKind::Float: {
            const double want = v.toDouble();
            EXPECT_NEAR(f.asFloat(), want, std::fabs(want) * 1e-12) << ctx;
            break;
        }
        default: EXPECT_EQ(QString::number(f.asInteger()), v) << ctx; break;
        }
    }
}

void expectAgreement(const QString &path)
{
    const Dump d = tdbfDump(path);
    Table t(path);
    t.setReadOnly(true);
    t.setShowDeleted(true);
    t.open();
    EXPECT_EQ(d.meta.value("#level").toInt(), t.level()) << path.toStdString();
    EXPECT_EQ(d.meta.value("#textcp").toInt(), t.codePage().number()) << path.toStdString();
    EXPECT_EQ(d.meta.value("#tdbfrecords").toUInt(), t.recordCount()) << path.toStdString();
    int n = 0;
    for (t.first(); !t.eof(); t.next(), ++n) {
        ASSERT_LT(n, d.rows.size());
        expectSameRecord(t, d.rows[n], QStringLiteral("%1 record %2").arg(QFileInfo(path).fileName()).arg(t.recNo()));
    }
    EXPECT_EQ(n, d.rows.size());
}

TEST(TdbfInterop, WeReadEveryTableTDbfWrote)
{
    SKIP_WITHOUT_TDBF_ORACLE();
    auto &o = kx::testsupport::OracleHarness::instance();
    const QString types = o.makeFixture({"types", "types"});
    const QString types26 = o.makeFixture({"types", "types26", "--lang=0x26"});
    QStringList files;
    for (const QString &dir : {types, types26})
        for (const char *name : {"t3.dbf", "t4.dbf", "t7.dbf"})
            files << QDir(dir).filePath(name);
    files << o.makeFixture({"keys", "k.dbf"}) << o.makeFixture({"price", "p.dbf", "200", "7", "--zak", "--deleted"})
          << o.makeFixture({"prescr", "prescr.dbf", "6", "3"});
    const QString archive = o.makeFixture({"archive", "arch", "20", "5"});
    files << QDir(archive).filePath("Archiv.dbf") << QDir(archive).filePath("ArchivPos.dbf");
    for (const QString &f : files) {
        SCOPED_TRACE(f.toStdString());
        expectAgreement(f);
    }
}

TEST(TdbfInterop, TDbfReadsEveryTableWeWrite)
{
    SKIP_WITHOUT_TDBF_ORACLE();
    QTemporaryDir dir;
    for (int level : {3, 4, 7}) {
        SCOPED_TRACE(level);
        const QString path = dir.filePath(QStringLiteral("ours%1.dbf").arg(level));
        FieldSpecs specs{
            {QStringLiteral("Name"), FieldKind::String, 24},    {QStringLiteral("Qnt"), FieldKind::Integer},
            {QStringLiteral("Price"), FieldKind::Float, 12, 2}, {QStringLiteral("Zak"), FieldKind::Float},
            {QStringLiteral("GDate"), FieldKind::Date},         {QStringLiteral("Flag"), FieldKind::Boolean}};
        if (level == 7)
            specs.push_back({QStringLiteral("Stamp"), FieldKind::DateTime});
        createTable(path, level, specs);
        Table t(path);
        t.open();
        const QStringList names{"Аспирин табл. №10", "  ведущие пробелы", "", "Ёлка-ёжик", "Latin 1"};
        for (int i = 0; i < names.size(); ++i) {
            t.append();
            t.field(u"Name").setString(names[i]);
            if (i != 2) {
                t.field(u"Qnt").setInteger(i * 1000 - 1500);
                t.field(u"Price").setFloat(i * 12.345);
                t.field(u"Zak").setFloat(i == 1 ? 0 : 1.0 / (i + 1));
                t.field(u"GDate").setDate(i == 4 ? QDate(1899, 12, 30) : QDate(2008, 1 + i, 28));
                t.field(u"Flag").setBoolean(i % 2);
                if (level == 7)
                    t.field(u"Stamp").setValue(QDateTime(QDate(2008, 3, 18), QTime(13, 45, 30)));
            }
            t.post();
        }
        t.first();
        t.next();
        t.deleteRecord();
        t.close();
        expectAgreement(path);
        const Dump d = tdbfDump(path);
        EXPECT_EQ(d.meta.value("#language"), level == 3 || level == 7 ? "0x00" : "0x26");
    }
}

TEST(TdbfInterop, RestructuredTableReadsTheSameInTDbf)
{
    SKIP_WITHOUT_TDBF_ORACLE();
    auto &o = kx::testsupport::OracleHarness::instance();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("price.dbf"));
    QFile::copy(o.makeFixture({"price", "pr.dbf", "50", "3", "--deleted"}), path);
    const Dump before = tdbfDump(path);
    Table t(path);
    t.open();
    FieldSpecs specs = fieldSpecsOf(t);
    t.close();
    specs.push_back({QStringLiteral("Zak"), FieldKind::Float});
    restructureTable(path, specs);
    const Dump after = tdbfDump(path);
    EXPECT_EQ(after.meta.value("#language"), "0x26");
    ASSERT_EQ(after.rows.size(), before.rows.size());
    for (int i = 0; i < before.rows.size(); ++i)
        EXPECT_EQ(after.rows[i], before.rows[i] + QStringList{"\\N"}) << i;
    EXPECT_EQ(after.fieldTypes.back(), "Float");
}

struct OracleLocate {
    const char *fields, *values;
    bool partial, nocase;
};

TEST(TdbfInterop, LocateFindsWhatTDbfsRecordByRecordSearchFinds)
{
    SKIP_WITHOUT_TDBF_ORACLE();
    auto &o = kx::testsupport::OracleHarness::instance();
    const QString keys = o.makeFixture({"keys", "k.dbf"});
    const std::vector<OracleLocate> cases{
        {"NAME", "AB", true, true},         {"NAME", "AB", false, true},
        {"NAME", "AB", false, false},       {"NAME", "аб", true, true},
        {"NAME", "АБВ", false, true},       {"NAME", "ёлка", false, true},
        {"NAME", "Z", true, false},         {"NAME", "", true, false},
        {"NAME;FIRM", "ab|X", false, true}, {"FIRM;NAME", "Y|a", true, true},
        {"CODE", "40", false, false},       {"CODE", "0", false, false},
        {"AMOUNT", "0.05", false, false},   {"NAME;CODE", "B|120", false, false},
    };
    Table t(keys);
    t.setReadOnly(true);
    t.open();
    for (const OracleLocate &c : cases) {
        QStringList args{keys, c.fields, c.values};
        if (c.partial)
            args << "partial";
        if (c.nocase)
            args << "nocase";
        args << "--linear";
        const kx::testsupport::RunResult r = o.run("dbflocate", args);
        const quint32 theirs = r.out.trimmed().split(u'\n').last().toUInt();
        QVariantList values;
        for (const QString &v : QString::fromUtf8(c.values).split(u'|'))
            values << v;
        const bool hit =
            t.locate(QString::fromUtf8(c.fields), values, {.caseInsensitive = c.nocase, .partialKey = c.partial});
        EXPECT_EQ(hit ? t.recNo() : 0u, theirs) << c.fields << "=" << c.values << " " << r.errors.toStdString();
    }
}

} // namespace
