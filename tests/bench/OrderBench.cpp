// Benchmark of order creation and totals over a generated 100 000-row price
// list: run by hand, not a test. Prints one line per measurement.
#include "ordering/ClearQuantities.h"
#include "ordering/OrderArchive.h"
#include "ordering/OrderCreation.h"
#include "ordering/OrderFileWriter.h"
#include "ordering/OrderPricing.h"

#include "tables/Table.h"
#include "tables/TableCreate.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using tables::FieldKind;

namespace {

constexpr int kRows = 100000;
constexpr int kOrdered = 2000;

void createPrices(const QString &path)
{
    tables::createTable(path, 4,
                        {{QStringLiteral("Name"), FieldKind::String, 80},
                         {QStringLiteral("Firm"), FieldKind::String, 30},
                         {QStringLiteral("Cntr"), FieldKind::String, 20},
                         {QStringLiteral("CodePst"), FieldKind::Integer, 9},
                         {QStringLiteral("Qnt"), FieldKind::Float, 10, 2},
                         {QStringLiteral("Zak"), FieldKind::Float, 18, 8},
                         {QStringLiteral("Price1"), FieldKind::Float, 12, 2},
                         {QStringLiteral("Price2"), FieldKind::Float, 12, 2},
                         {QStringLiteral("Price3"), FieldKind::Float, 12, 2},
                         {QStringLiteral("NewFlg"), FieldKind::Integer, 2}});
    tables::Table t(path);
    t.open();
    for (int i = 0; i < kRows; ++i) {
        t.append();
        t.field(QStringLiteral("Name")).setString(QStringLiteral("ПРЕПАРАТ %1 таблетки 10 мг").arg(i));
        t.field(QStringLiteral("Firm")).setString(QStringLiteral("Фирма %1").arg(i % 300));
        t.field(QStringLiteral("Cntr")).setString(QStringLiteral("Россия"));
        t.field(QStringLiteral("CodePst")).setInteger(100000 + i);
        t.field(QStringLiteral("Qnt")).setFloat(50);
        t.field(QStringLiteral("Price1")).setFloat(10 + i % 100);
        t.field(QStringLiteral("Price2")).setFloat(11 + i % 100);
        t.field(QStringLiteral("Price3")).setFloat(12 + i % 100);
        if (i % (kRows / kOrdered) == 0)
            t.field(QStringLiteral("Zak")).setFloat(1 + i % 7);
        t.post();
    }
}

void createFolders(const QString &program, const QString &archive)
{
    tables::createTable(QDir(archive).filePath(QStringLiteral("Archiv.dbf")), 4,
                        {{QStringLiteral("IDRow"), FieldKind::Integer, 9},
                         {QStringLiteral("NumZ"), FieldKind::Integer, 9},
                         {QStringLiteral("DateZ"), FieldKind::Date},
                         {QStringLiteral("Summa"), FieldKind::Float, 15, 2},
                         {QStringLiteral("Podr"), FieldKind::String, 60},
                         {QStringLiteral("Year"), FieldKind::Integer, 4},
                         {QStringLiteral("Month"), FieldKind::Integer, 2}});
    tables::createTable(QDir(archive).filePath(QStringLiteral("ArchivPos.dbf")), 4,
                        {{QStringLiteral("IDRow"), FieldKind::Integer, 9},
                         {QStringLiteral("Parent"), FieldKind::Integer, 9},
                         {QStringLiteral("Price"), FieldKind::Float, 12, 2},
                         {QStringLiteral("Qnt"), FieldKind::Float, 12, 3},
                         {QStringLiteral("Name"), FieldKind::String, 80},
                         {QStringLiteral("Firm"), FieldKind::String, 30},
                         {QStringLiteral("Cntr"), FieldKind::String, 20},
                         {QStringLiteral("Drug"), FieldKind::Integer, 9}});
    tables::createTable(QDir(program).filePath(QStringLiteral("order.dbf")), 4,
                        {{QStringLiteral("NumZ"), FieldKind::Integer, 9},
                         {QStringLiteral("DateZ"), FieldKind::Date},
                         {QStringLiteral("CodePst"), FieldKind::Integer, 9},
                         {QStringLiteral("PayID"), FieldKind::Integer, 9},
                         {QStringLiteral("Date"), FieldKind::Date},
                         {QStringLiteral("Podr"), FieldKind::String, 60},
                         {QStringLiteral("Qnt"), FieldKind::Float, 12, 3},
                         {QStringLiteral("Price"), FieldKind::Float, 12, 2},
                         {QStringLiteral("PodrCD"), FieldKind::Integer, 9},
                         {QStringLiteral("Comment"), FieldKind::String, 50}});
}

void report(const char *what, qint64 nanoseconds, int times = 1)
{
    std::printf("%-55s %10.3f ms\n", what, double(nanoseconds) / 1e6 / times);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("prog")), archive = dir.filePath(QStringLiteral("arch")),
                  orders = dir.filePath(QStringLiteral("out"));
    for (const QString &f : {program, archive, orders})
        QDir().mkpath(f);
    const QString pricePath = dir.filePath(QStringLiteral("price.dbf"));
    createPrices(pricePath);
    createFolders(program, archive);

    tables::Table prices(pricePath);
    prices.open();
    ordering::OrderPricing pricing(prices, QStringLiteral("Price1"));
    pricing.attach();
    QElapsedTimer timer;

    timer.start();
    pricing.RecountTotals();
    report("RecountTotals over 100 000 rows", timer.nsecsElapsed());

    prices.setFilter(QStringLiteral("Zak<>0"));
    prices.setFiltered(true);
    timer.start();
    prices.first();
    const std::size_t inView = prices.visibleRecords().size();
    report("order view (filter Zak<>0) first row and row list", timer.nsecsElapsed());
    std::printf("  rows in the order view: %zu\n", inView);

    timer.start();
    constexpr int kPosts = 1000;
    for (int i = 0; i < kPosts; ++i) {
        prices.edit();
        prices.field(QStringLiteral("Zak")).setFloat(1 + i % 5);
        prices.post();
    }
    report("quantity post with totals update, each", timer.nsecsElapsed(), kPosts);

    ordering::OrderInput in;
    in.prices = &prices;
    in.priceField = pricing.priceField();
    in.consignee = QStringLiteral("Аптека");
    in.consigneeId = 1;
    in.markupId = 1;
    in.subCustomerId = 5;
    in.programFolder = program;
    in.archiveFolder = archive;
    in.ordersFolder = orders;
    in.now = QDateTime::currentDateTime();
    {
        // The steps one by one, on copies, to see where the time goes.
        timer.start();
        const std::vector<std::uint32_t> rows = ordering::orderedRows(prices);
        report("  step: rows with a quantity", timer.nsecsElapsed());
        const QString copy = QDir(program).filePath(QStringLiteral("bench-copy.dbf"));
        QFile::copy(QDir(program).filePath(QStringLiteral("order.dbf")), copy);
        timer.start();
        ordering::WriteOrderFile(copy, QString(), in, rows, 1);
        report("  step: order file", timer.nsecsElapsed());
        QFile::remove(copy);
        QTemporaryDir scratch;
        QFile::copy(QDir(archive).filePath(QStringLiteral("Archiv.dbf")),
                    scratch.filePath(QStringLiteral("Archiv.dbf")));
        QFile::copy(QDir(archive).filePath(QStringLiteral("ArchivPos.dbf")),
                    scratch.filePath(QStringLiteral("ArchivPos.dbf")));
        ordering::OrderArchive a(scratch.path());
        timer.start();
        a.ArchiveOrder(in, rows, a.nextNumbers(in.now));
        report("  step: archive rows", timer.nsecsElapsed());
    }
    timer.start();
    const ordering::CreatedOrder created = ordering::CreateOrder(in);
    report("create an order (archive, order file, clearing)", timer.nsecsElapsed());
    std::printf("  positions: %d, file %s\n", created.positions, qPrintable(created.filePath));
    return 0;
}
