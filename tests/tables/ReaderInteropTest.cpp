// Tables we write, read by Debian's python3-dbfread: an independent reader.
#include "TestTables.h"

#include "tables/Table.h"
#include "tables/TableCreate.h"

#include <QFileInfo>
#include <QProcess>

using namespace tables;

namespace {

const char *kPython = "/usr/bin/python3";

bool haveDbfread(QString *why)
{
    if (!QFileInfo::exists(QString::fromLatin1(kPython))) {
        *why = QStringLiteral("/usr/bin/python3 is missing");
        return false;
    }
    QProcess p;
    p.start(QString::fromLatin1(kPython), {QStringLiteral("-c"), QStringLiteral("import dbfread")});
    p.waitForFinished(30000);
    if (p.exitCode() != 0) {
        *why = QStringLiteral("python3-dbfread is not installed");
        return false;
    }
    return true;
}

// Every record as "deleted|field=value|..." with dbfread's decoding.
QStringList readWithDbfread(const QString &path, const QString &encoding)
{
    const QString script = QStringLiteral(
        "import sys, dbfread\n"
        "t = dbfread.DBF(sys.argv[1], encoding=sys.argv[2], load=True, char_decode_errors='strict')\n"
        "rows = [('*' if d else ' ', r) for d, r in [(False, r) for r in t.records] + [(True, r) for r in t.deleted]]\n"
        "for d, r in rows:\n"
        "    print(d + '|' + '|'.join('%s=%r' % (k, v) for k, v in r.items()))\n");
    QProcess p;
    p.start(QString::fromLatin1(kPython), {QStringLiteral("-c"), script, path, encoding});
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

TEST(ReaderInterop, DbfreadReadsOurTablesWithCyrillicIntact)
{
    QString why;
    if (!haveDbfread(&why))
        GTEST_SKIP() << why.toStdString();
    QTemporaryDir dir;
    struct Case {
        int level;
        std::uint8_t mark;
        const char *encoding;
    };
    for (const Case c : {Case{3, 0, "cp866"}, Case{4, 0x26, "cp866"}, Case{4, 0, "cp866"}}) {
        SCOPED_TRACE(c.level);
        const QString path = dir.filePath(QStringLiteral("t%1_%2.dbf").arg(c.level).arg(c.mark));
        createTable(path, c.level,
                    {{QStringLiteral("Name"), FieldKind::String, 30},
                     {QStringLiteral("Qnt"), FieldKind::Integer, 6},
                     {QStringLiteral("Price"), FieldKind::Float, 10, 2},
                     {QStringLiteral("GDate"), FieldKind::Date},
                     {QStringLiteral("Flag"), FieldKind::Boolean}},
                    {.languageId = c.mark});
        Table t(path);
        t.open();
        t.append();
        t.field(u"Name").setString(QStringLiteral("Аспирин «Ёж» №5"));
        t.field(u"Qnt").setInteger(-12);
        t.field(u"Price").setFloat(3277.815);
        t.field(u"GDate").setDate(QDate(2008, 3, 18));
        t.field(u"Flag").setBoolean(true);
        t.post();
        t.append();
        t.field(u"Name").setString(QStringLiteral("удалённая"));
        t.post();
        t.deleteRecord();
        t.close();
        // « and » are not in cp866: they are stored as '?'.
        EXPECT_EQ(
            readWithDbfread(path, QString::fromLatin1(c.encoding)),
            (QStringList{" |NAME='Аспирин ?Ёж? №5'|QNT=-12|PRICE=3277.82|GDATE=datetime.date(2008, 3, 18)|FLAG=True",
                         "*|NAME='удалённая'|QNT=None|PRICE=None|GDATE=None|FLAG=None"}));
    }
}

} // namespace
