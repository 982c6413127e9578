// Packing the orders folder: the package name, the status lines, names
// without folders, and packages other tools read.
#include "ExchangeTestSupport.h"

#include "exchange/ExchangeError.h"
#include "exchange/PackageUnzip.h"
#include "exchange/PackageZip.h"

#include <QDir>

using namespace exchange;
using namespace exchange_test;

namespace {

struct OrdersFolder {
    QTemporaryDir dir;
    QString path() const { return dir.path() + u'/'; }

    OrdersFolder()
    {
        writeFile(path() + QStringLiteral("Z17_1.dbf"), QByteArray(5000, 'a'));
        writeFile(path() + QStringLiteral("Z17_2.dbf"), QByteArray("second order"));
        QDir(dir.path()).mkdir(QStringLiteral("sub"));
        writeFile(path() + QStringLiteral("sub/P17_3.dbf"), QByteArray(3000, 'b'));
        writeFile(path() + QStringLiteral("note.txt"), QByteArray("not packed"));
    }
};

QStringList listPackage(const QString &package)
{
    const ToolRun run =
        runTool(QStringLiteral("python3"), {QStringLiteral(KX_PACKAGE_TOOL), QStringLiteral("list"), package});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    return run.out.split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

TEST(ZipFiles, PacksMatchingFilesOfFolderAndSubfoldersUnderTheirNamesWithOneStatusLineEach)
{
    OrdersFolder orders;
    RecordingFeedback feedback;
    const QString package = ZipFiles(orders.path() + QStringLiteral("*.dbf"), 8, QString(), 17, feedback);
    EXPECT_EQ(package, orders.path() + QStringLiteral("Z17_.zip"));
    // name, UTF-8 flag, size, method (8 = deflate)
    EXPECT_EQ(listPackage(package),
              (QStringList{QStringLiteral("Z17_1.dbf\t0\t5000\t8"), QStringLiteral("Z17_2.dbf\t0\t12\t8"),
                           QStringLiteral("P17_3.dbf\t0\t3000\t8")}));
    ASSERT_EQ(feedback.statuses.size(), 3);
    EXPECT_TRUE(feedback.statuses[0].startsWith(QStringLiteral("упакован Z17_1.dbf размер до: 5000 размер после: ")));
    EXPECT_TRUE(feedback.statuses[2].startsWith(QStringLiteral("упакован P17_3.dbf размер до: 3000 размер после: ")));
    EXPECT_TRUE(feedback.messages.isEmpty());
}

TEST(ZipFiles, PackageNames)
{
    EXPECT_EQ(packageNameFor(QStringLiteral("/o/*.dbf"), -1), QStringLiteral("/o/Z-1_.zip"));
    EXPECT_EQ(packageNameFor(QStringLiteral("/o/Z*.dbf"), 17), QStringLiteral("/o/Z17_.zip"));
    EXPECT_EQ(packageNameFor(QStringLiteral("/o/order.dbf"), 17), QStringLiteral("/o/order.zip"));
}

TEST(ZipFiles, NoMatchingFileDoesNothing)
{
    QTemporaryDir dir;
    RecordingFeedback feedback;
    EXPECT_TRUE(ZipFiles(dir.path() + QStringLiteral("/*.dbf"), 8, QString(), 5, feedback).isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_TRUE(feedback.statuses.isEmpty());
}

TEST(ZipFiles, TwoFilesOfOneNameAreRefusedRatherThanOneOverwritingTheOther)
{
    OrdersFolder orders;
    writeFile(orders.path() + QStringLiteral("sub/z17_1.DBF"), QByteArray("other order"));
    RecordingFeedback feedback;
    EXPECT_THROW(ZipFiles(orders.path() + QStringLiteral("*.dbf"), 8, QString(), 17, feedback), ExchangeError);
    EXPECT_FALSE(QFileInfo::exists(orders.path() + QStringLiteral("Z17_.zip")));
}

TEST(ZipFiles, CyrillicNamesCarryTheUtf8FlagAndComeBackAsTheyWere)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    writeFile(folder + QStringLiteral("Заявка.dbf"), QByteArray("cyrillic"));
    writeFile(folder + QStringLiteral("plain.dbf"), QByteArray("ascii"));
    RecordingFeedback feedback;
    const QString package = ZipFiles(folder + QStringLiteral("*.dbf"), 8, QString(), 3, feedback);
    EXPECT_EQ(listPackage(package),
              (QStringList{QStringLiteral("plain.dbf\t0\t5\t8"), QStringLiteral("Заявка.dbf\t1\t8\t8")}));

    QFile::remove(folder + QStringLiteral("Заявка.dbf"));
    UnzipFile(package, QString(), true, feedback);
    EXPECT_EQ(readFile(folder + QStringLiteral("Заявка.dbf")), QByteArray("cyrillic"));
}

TEST(ZipFiles, InfoZipTestsThePackageGood)
{
    SKIP_WITHOUT_PROGRAM("unzip");
    OrdersFolder orders;
    RecordingFeedback feedback;
    for (int level : {0, 1, 8, 9}) {
        const QString package = ZipFiles(orders.path() + QStringLiteral("*.dbf"), level, QString(), 17, feedback);
        const ToolRun run = runTool(QStringLiteral("unzip"), {QStringLiteral("-t"), package});
        EXPECT_EQ(run.exitCode, 0) << "level " << level << ": " << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("No errors detected"))) << run.out.toStdString();
        EXPECT_EQ(listPackage(package).size(), 3);
    }
    EXPECT_THROW(ZipFiles(orders.path() + QStringLiteral("*.dbf"), 10, QString(), 17, feedback), ExchangeError);
}

TEST(ZipFiles, APasswordEncryptsAndOnlyThatPasswordUnpacks)
{
    OrdersFolder orders;
    RecordingFeedback feedback;
    const QString package =
        ZipFiles(orders.path() + QStringLiteral("Z17_2.dbf"), 8, QStringLiteral("секрет"), 17, feedback);
    const QByteArray packed = readFile(package);
    EXPECT_FALSE(packed.contains("second order"));
    QFile::remove(orders.path() + QStringLiteral("Z17_2.dbf"));

    writeFile(orders.path() + QStringLiteral("copy.zip"), packed);
    UnzipFile(orders.path() + QStringLiteral("copy.zip"), QString(), true, feedback);
    EXPECT_EQ(feedback.messages.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(orders.path() + QStringLiteral("Z17_2.dbf")));

    UnzipFile(package, QStringLiteral("секрет"), true, feedback);
    EXPECT_EQ(feedback.messages.size(), 1);
    EXPECT_EQ(readFile(orders.path() + QStringLiteral("Z17_2.dbf")), "second order");
}
