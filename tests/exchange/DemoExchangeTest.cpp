// The demo installation receives a new price list as a package: the tool
// unpacks and refreshes it, the typed quantities stay on the same drugs and
// the dropped ones are listed.
#include "ExchangeTestSupport.h"
#include "tests/support/PriceCopies.h"

#include "demo/DemoInstallation.h"
#include "exchange/OldTables.h"
#include "exchange/PackageZip.h"

#include <QDir>
#include <QHash>

using namespace exchange;
using namespace exchange_test;
using namespace kx::testsupport;

namespace {

// IDRow -> Zak of the records with a quantity.
QHash<qint64, double> quantities(const QString &path)
{
    tables::Table t(path);
    t.setReadOnly(true);
    t.open();
    QHash<qint64, double> result;
    for (t.first(); !t.eof(); t.next())
        if (!t.field(u"Zak").isNull())
            result.insert(t.field(u"IDRow").asInteger(), t.field(u"Zak").asFloat());
    return result;
}

} // namespace

TEST(DemoExchange, ANewPriceListArrivesAsAPackageAndKeepsTheTypedQuantities)
{
    QTemporaryDir dir;
    const QString installation = dir.path() + QStringLiteral("/kx/");
    demo::DemoOptions options;
    options.priceRows = 500;
    demo::createDemoInstallation(installation, options);
    const QString price = installation + QStringLiteral("IN/price.dbf");

    // The pharmacist types quantities into every 25th drug.
    std::vector<std::uint32_t> records;
    QHash<qint64, double> typed;
    qint64 goneId = 0;
    {
        tables::Table t(price);
        t.open();
        records = recordNumbers(t);
        for (size_t i = 0; i < records.size(); i += 25) {
            t.gotoBookmark(records[i]);
            t.edit();
            t.field(u"Zak").setFloat(double(i / 25 + 1));
            t.post();
            typed.insert(t.field(u"IDRow").asInteger(), double(i / 25 + 1));
            if (i == 0)
                goneId = t.field(u"IDRow").asInteger();
        }
    }
    typed = quantities(price); // with what the demo had entered already

    // The distributor's list: in reverse order, without the first typed drug.
    const QString staging = dir.path() + QStringLiteral("/staging/");
    QDir().mkpath(staging);
    std::vector<std::uint32_t> next(records.rbegin(), records.rend() - 1);
    copyPriceRows(price, staging + QStringLiteral("price.dbf"), next);
    RecordingFeedback feedback;
    const QString package = ZipFiles(staging + QStringLiteral("price.dbf"), 8, QString(), 1, feedback);
    ASSERT_TRUE(QFile::rename(package, installation + QStringLiteral("IN/price.zip")));

    // The fetch: the tables become ".old", the package is unpacked, the
    // quantities carried, the tables without a new copy come back.
    renameTablesToOld(installation + QStringLiteral("IN/"), installation + QStringLiteral("properties.ini"), feedback);
    const ToolRun unpacked =
        runTool(QStringLiteral(KX_KXEXCHANGE), {QStringLiteral("unpack"), installation + QStringLiteral("IN")});
    ASSERT_EQ(unpacked.exitCode, 0) << unpacked.err.toStdString();
    EXPECT_EQ(unpacked.out, QStringLiteral("price.dbf распакован\n"));
    const ToolRun refreshed = runTool(QStringLiteral(KX_KXEXCHANGE), {QStringLiteral("refresh"), installation});
    ASSERT_EQ(refreshed.exitCode, 0) << refreshed.err.toStdString();
    restoreOldTables(installation + QStringLiteral("IN/"), feedback);

    const QStringList lines = refreshed.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 3) << refreshed.out.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Обновляю структуру таблицы..."));
    EXPECT_EQ(lines[1], QStringLiteral("Информация перенесена - price.dbf"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Не перенесено значений: 1,"))) << lines[2].toStdString();

    QHash<qint64, double> expected = typed;
    const QString dropped = lines.last();
    const QStringList parts = dropped.split(u'\t');
    ASSERT_EQ(parts.size(), 4) << dropped.toStdString();
    EXPECT_EQ(parts[0], QStringLiteral("price.dbf"));
    EXPECT_EQ(parts[1], QString::number(goneId));
    EXPECT_EQ(parts[3].toDouble(), typed.value(goneId));
    expected.remove(goneId);
    EXPECT_EQ(quantities(price), expected);
    EXPECT_FALSE(QFileInfo::exists(installation + QStringLiteral("IN/price.old")));
}
