// kxdbf index: the tag is made once, then the order the index holds is printed.
#include "MdxCheck.h"
#include "TestTables.h"

#include <QProcess>

namespace {

QString kxdbfOut(const QStringList &args, int *exitCode)
{
    QProcess p;
    p.start(QStringLiteral(KX_KXDBF), args);
    p.waitForFinished(120000);
    *exitCode = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput()) + QString::fromUtf8(p.readAllStandardError());
}

} // namespace

TEST(MdxKxdbf, IndexAddsTheTagOnceAndPrintsItsOrder)
{
    QTemporaryDir dir;
    const QString t = dir.filePath(QStringLiteral("t.dbf"));
    int code = 0;
    kxdbfOut({"create", t, "4", "NAME:C:10,QNT:N:5:0"}, &code);
    ASSERT_EQ(code, 0);
    for (const char *row : {"NAME=b;QNT=3", "NAME=a;QNT=-1", "NAME=b;QNT=0", "NAME=Б;QNT=7", "NAME=;QNT=2"})
        kxdbfOut({"append", t, row}, &code);
    EXPECT_EQ(kxdbfOut({"index", t, "Name", "NAME"}, &code), "5\n2\n1\n3\n4\n");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(kxdbfOut({"index", t, "Qnt", "QNT"}, &code), "2\n3\n5\n1\n4\n");
    // An existing tag is printed as it is, even when asked with another expression.
    EXPECT_EQ(kxdbfOut({"index", t, "NAME", "QNT"}, &code), "5\n2\n1\n3\n4\n");
    const mdx_check::FileCheck fc = mdx_check::check(dir.filePath(QStringLiteral("t.mdx")));
    EXPECT_TRUE(fc.problems.isEmpty()) << fc.problems.join(u'\n').toStdString();
    EXPECT_EQ(fc.tags.size(), 2u);
    kxdbfOut({"index", t, "Bad", "NOSUCH"}, &code);
    EXPECT_EQ(code, 1);
}
