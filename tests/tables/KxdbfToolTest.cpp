// The table tool as administrators and scripts use it.
#include "TestTables.h"

#include <QProcess>

namespace {

struct ToolRun {
    int exitCode;
    QString out, err;
};

ToolRun kxdbf(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(KX_KXDBF), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

TEST(KxdbfTool, CreateAppendDumpFilterLocate)
{
    QTemporaryDir dir;
    const QString t = dir.filePath(QStringLiteral("t.dbf"));
    ASSERT_EQ(kxdbf({"create", t, "4", "NAME:C:12,QNT:N:5:0,PRICE:N:8:2,DAY:D,OK:L"}).exitCode, 0);
    EXPECT_EQ(kxdbf({"append", t, "NAME=Анальгин;QNT=5;PRICE=1.5;DAY=20080318;OK=T"}).out, "1\n");
    EXPECT_EQ(kxdbf({"append", t, "NAME=tab\there\\;QNT=7"}).out, "2\n");
    EXPECT_EQ(
        kxdbf({"dump", t}).out,
        "level\t4\ncodepage\t866\nrecords\t2\n"
        "field\tNAME\tC\t12\t0\nfield\tQNT\tN\t5\t0\nfield\tPRICE\tN\t8\t2\nfield\tDAY\tD\t8\t0\nfield\tOK\tL\t1\t0\n"
        "\n"
        "1\t \tАнальгин\t5\t1.50\t20080318\tT\n"
        "2\t \ttab\\there\\\\\t7\t\t\t\n");
    EXPECT_EQ(kxdbf({"filter", t, "QNT > 4 and PRICE = 0"}).out, "1\n2\n");
    EXPECT_EQ(kxdbf({"locate", t, "NAME", "анал", "--partial", "--nocase"}).out, "1\n");
    EXPECT_EQ(kxdbf({"locate", t, "NAME;QNT", "анальгин|5"}).out, "0\n");
    EXPECT_EQ(kxdbf({"locate", t, "NAME;QNT", "анальгин|5", "--nocase"}).out, "1\n");
}

TEST(KxdbfTool, ErrorsGoToStandardErrorWithStatusOne)
{
    QTemporaryDir dir;
    const QString t = dir.filePath(QStringLiteral("t.dbf"));
    kxdbf({"create", t, "4", "NAME:C:12"});
    for (const QStringList &args :
         {QStringList{"dump", dir.filePath("missing.dbf")}, QStringList{"filter", t, "NAME ="},
          QStringList{"append", t, "NOPE=1"}, QStringList{"frobnicate"}}) {
        const ToolRun r = kxdbf(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(r.err.isEmpty());
    }
}

} // namespace
