#include "TestTables.h"

#include "tables/Table.h"
#include "tables/TableCreate.h"

using namespace tables;

namespace {

// The 14 rows the TDbf oracle uses for locate semantics (its "keys" fixture).
QString makeKeys(QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("k.dbf"));
    createTable(path, 4,
                {{QStringLiteral("Name"), FieldKind::String, 20},
                 {QStringLiteral("Firm"), FieldKind::String, 10},
                 {QStringLiteral("Code"), FieldKind::Integer, 5},
                 {QStringLiteral("Amount"), FieldKind::Float, 10, 3}},
                {.languageId = 0});
    const QStringList names{"ABC", "ab", "AB", "Abd", "АБВ", "абв", "аБ", "", "ёлка", "Ёлка", "AB", "B", "AB-C", "A'B"};
    Table t(path);
    t.open();
    for (int i = 0; i < names.size(); ++i) {
        t.append();
        t.field(u"Name").setString(names[i]);
        t.field(u"Firm").setString(i % 2 ? QStringLiteral("Y") : QStringLiteral("X"));
        if (i != 7)
            t.field(u"Code").setInteger((i + 1) * 10);
        if (i % 3)
            t.field(u"Amount").setFloat(i * 0.5 - 2);
        t.post();
    }
    t.first();
    for (int i = 0; i < 10; ++i)
        t.next();
    t.deleteRecord(); // record 11, the second "AB"
    return path;
}

struct LocateCase {
    const char *fields;
    QVariantList values;
    bool partial, nocase;
    const char *filter;
    quint32 found;
};

TEST(Locate, RecordByRecordSemantics)
{
    QTemporaryDir dir;
    const QString path = makeKeys(dir);
    const std::vector<LocateCase> cases{
        {"Name", {"AB"}, true, true, "", 1}, // "ABC" comes before "ab"
        {"Name", {"AB"}, false, true, "", 2},
        {"Name", {"AB"}, false, false, "", 3},
        {"Name", {"AB"}, true, false, "", 1},
        {"Name", {"аб"}, true, true, "", 5}, // Cyrillic folds too
        {"Name", {"ЁЛКА"}, false, true, "", 9},
        {"Name", {"Z"}, true, false, "", 0}, // no "first key >= Z" answer
        {"Name", {""}, true, false, "", 1}, // an empty partial key matches the first record
        {"Name", {"B"}, false, false, "", 12},
        {"NAME;firm", {"ab", "X"}, false, true, "", 3},
        {"Firm;Name", {"x", "ab"}, true, true, "", 1}, // partial applies to the last field only
        {"Firm;Name", {"X", "A"}, false, false, "", 0},
        {"Name", {"AB"}, true, false, "Firm='Y'", 0}, // the filter is in force
        {"Name", {"AB"}, true, true, "Firm='Y'", 2},
        {"Code", {0}, false, false, "", 0}, // an empty number is not 0
        {"Code", {40}, false, false, "", 4},
        {"Code", {"40"}, false, false, "", 4},
        {"Code", {110}, false, false, "", 0}, // record 11 is deleted
        {"Amount", {-1.5}, false, false, "", 2},
    };
    Table t(path);
    t.open();
    for (const LocateCase &c : cases) {
        SCOPED_TRACE(QStringLiteral("%1=%2 %3").arg(c.fields, c.values.value(0).toString(), c.filter).toStdString());
        t.setFiltered(false);
        t.setFilter(QString::fromUtf8(c.filter));
        t.setFiltered(*c.filter != 0);
        t.last();
        const quint32 before = t.recNo();
        const bool hit =
            t.locate(QString::fromUtf8(c.fields), c.values, {.caseInsensitive = c.nocase, .partialKey = c.partial});
        EXPECT_EQ(hit, c.found != 0);
        EXPECT_EQ(t.recNo(), c.found ? c.found : before); // a miss leaves the cursor
    }
}

} // namespace
