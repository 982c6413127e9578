// The command-line tool: what goes to which stream, and the exit status.
#include "ExchangeTestSupport.h"

#include <QDir>

using namespace exchange_test;

namespace {
ToolRun kxexchange(const QStringList &args) { return runTool(QStringLiteral(KX_KXEXCHANGE), args); }
} // namespace

TEST(KxexchangeTool, PackPrintsTheStatusLinesAndThePackage)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("Z5_1.dbf")), "order");
    const ToolRun run = kxexchange({QStringLiteral("pack"), dir.filePath(QStringLiteral("*.dbf")), QStringLiteral("6"),
                                    QStringLiteral("--subcustomer"), QStringLiteral("5")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("упакован Z5_1.dbf размер до: 5 размер после: ")));
    EXPECT_EQ(lines[1], dir.filePath(QStringLiteral("Z5_.zip")));
}

TEST(KxexchangeTool, UnpackGoesOnPastADamagedPackageAndFailsOnlyOnAnUnreadableFolder)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("bad.zip")), "no package");
    makePackage(dir.filePath(QStringLiteral("good.zip")), {entry(QStringLiteral("a.dbf"), QStringLiteral("a"))});
    const ToolRun run = kxexchange({QStringLiteral("unpack"), dir.path()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QStringLiteral("a.dbf распакован\n"));
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("Ошибка при распаковке ") + dir.filePath(QStringLiteral("bad.zip"))))
        << run.err.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.dbf")});

    EXPECT_EQ(kxexchange({QStringLiteral("unpack"), dir.filePath(QStringLiteral("missing"))}).exitCode, 1);
    EXPECT_EQ(kxexchange({QStringLiteral("unpack")}).exitCode, 2);
}
