#include "TestTables.h"

#include "tables/Table.h"
#include "tables/TableCreate.h"
#include "tables/TableError.h"

#include <QFile>

#include <functional>

using namespace tables;
using testing_tables::readFile;
using testing_tables::writeFile;

namespace {

// A valid 14-record table: header 32 + 2*32 + 1 = 97 bytes, records of 1 + 10 + 5.
QByteArray goodTable(QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("src.dbf"));
    createTable(path, 4,
                {{QStringLiteral("Name"), FieldKind::String, 10}, {QStringLiteral("N"), FieldKind::Integer, 5}});
    Table t(path);
    t.open();
    for (int i = 1; i <= 14; ++i) {
        t.append();
        t.field(u"N").setInteger(i);
        t.post();
    }
    t.close();
    return readFile(path);
}

void put16(QByteArray &b, int off, int v)
{
    b[off] = char(v & 0xFF);
    b[off + 1] = char(v >> 8);
}

struct DamageCase {
    const char *name;
    std::function<void(QByteArray &)> damage;
    int records; // -1: opening must fail with a message naming the file
};

TEST(DamagedTable, OpensWithWhatIsThereOrFailsNamingTheFile)
{
    QTemporaryDir dir;
    const QByteArray good = goodTable(dir);
    const std::vector<DamageCase> cases{
        {"header count too high", [](QByteArray &b) { b[4] = 20; }, 14},
        {"header count too low", [](QByteArray &b) { b[4] = 10; }, 14},
        {"partial last record", [](QByteArray &b) { b.chop(9); }, 13},
        {"stray bytes after the end", [](QByteArray &b) { b.append(30, 'x'); }, 15},
        {"no end marker", [](QByteArray &b) { b.chop(1); }, 14},
        {"header size beyond the file", [](QByteArray &b) { put16(b, 8, 60000); }, -1},
        {"header size too small", [](QByteArray &b) { put16(b, 8, 20); }, -1},
        {"record size zero", [](QByteArray &b) { put16(b, 10, 0); }, -1},
        {"field beyond the record", [](QByteArray &b) { b[32 + 16] = char(200); }, -1},
        {"field of size zero", [](QByteArray &b) { b[64 + 16] = 0; }, -1},
        {"unknown version", [](QByteArray &b) { b[0] = 0x01; }, -1},
        {"no field descriptors", [](QByteArray &b) { b[32] = 0x0D; }, -1},
        {"shorter than a header", [](QByteArray &b) { b.truncate(20); }, -1},
        {"empty file", [](QByteArray &b) { b.clear(); }, -1},
    };
    for (const DamageCase &c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes = good;
        c.damage(bytes);
        const QString path = dir.filePath(QStringLiteral("bad.dbf"));
        writeFile(path, bytes);
        Table t(path);
        t.setReadOnly(true);
        if (c.records < 0) {
            try {
                t.open();
                ADD_FAILURE() << "opened";
            } catch (const TableError &e) {
                EXPECT_TRUE(e.message().contains(path)) << e.what();
            }
            EXPECT_FALSE(t.isOpen());
            continue;
        }
        t.open();
        int n = 0;
        for (t.first(); !t.eof(); t.next())
            ++n;
        EXPECT_EQ(n, c.records);
    }
}

TEST(DamagedTable, AppendAfterAWrongHeaderCountKeepsEveryRecord)
{
    QTemporaryDir dir;
    QByteArray bytes = goodTable(dir);
    bytes[4] = 3; // the header claims 3 records of 14
    const QString path = dir.filePath(QStringLiteral("t.dbf"));
    writeFile(path, bytes);
    Table t(path);
    t.open();
    t.append();
    t.field(u"N").setInteger(99);
    t.post();
    EXPECT_EQ(t.recNo(), 15u);
    EXPECT_EQ(uchar(readFile(path)[4]), 15);
}

} // namespace

namespace {

// What a user reads of an engine error: Russian, the file named, the
// technical text after it in parentheses.
TEST(DamagedTable, UserMessagesAreRussianAndNameTheFile)
{
    QTemporaryDir dir;
    const QString damaged = dir.filePath(QStringLiteral("bad.dbf"));
    writeFile(damaged, QByteArray("not a table at all"));
    const QString missing = dir.filePath(QStringLiteral("none.dbf"));
    const QString good = dir.filePath(QStringLiteral("good.dbf"));
    writeFile(good, goodTable(dir));
    const struct {
        const char *name;
        std::function<void()> act;
        QString lead;
    } cases[] = {
        {"damaged", [&] { Table(damaged).open(); }, QStringLiteral("Файл таблицы %1 повреждён (").arg(damaged)},
        {"missing", [&] { Table(missing).open(); }, QStringLiteral("Не найден файл %1 (").arg(missing)},
        {"no such field",
         [&] {
             Table t(good);
             t.open();
             t.field(QStringLiteral("NOPE"));
         },
         QStringLiteral("В таблице %1 нет нужного поля (").arg(good)},
    };
    for (const auto &c : cases) {
        try {
            c.act();
            ADD_FAILURE() << c.name << ": no error";
        } catch (const TableError &e) {
            EXPECT_TRUE(e.userMessage().startsWith(c.lead)) << e.userMessage().toStdString();
            EXPECT_TRUE(e.userMessage().endsWith(e.message() + u')')) << c.name;
        }
    }
}

} // namespace
