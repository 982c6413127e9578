// Benchmark, run by hand (not a test): transfer_bench [ROWS] [RUNS]
// A demo installation with a ROWS-row price list, its distributor folder
// served by the test FTP server on 127.0.0.1: curl alone downloading the
// price package, then the library's fetch, then unpacking and refreshing
// until the price list is in service again; and an upload of 20 orders.
#include "tests/transfer/TransferTestSupport.h"

#include "config/ProgramFiles.h"
#include "demo/DemoInstallation.h"
#include "exchange/ExchangeFeedback.h"
#include "exchange/FetchSteps.h"
#include "exchange/TransferLibrary.h"
#include "exchange/UploadSteps.h"
#include "tables/CodePage.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace {

struct Quiet : exchange::ExchangeFeedback {
    void setStatusText(const QString &) override {}
    void showMessage(const QString &) override {}
};

double ms(const QElapsedTimer &clock) { return double(clock.nsecsElapsed()) / 1e6; }

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    QTemporaryDir dir;
    const QString base = dir.path() + u'/';
    demo::DemoOptions options;
    options.priceRows = rows;
    demo::createDemoInstallation(base, options);
    QFile::copy(QStringLiteral(KX_TRANSFER_LIBRARY), base + QStringLiteral("libKXOrder.so"));
    config::setProgramFolder(base);
    tables::setDefaultOpenCodePage(866);
    const QString package = base + QStringLiteral("distributor/price/price.zip");
    const QByteArray packageBytes = transfer_test::bytesOf(package);
    transfer_test::FtpServer server(base + QStringLiteral("distributor"));
    const config::IniFile ini(base + QStringLiteral("KXOrder.ini"));
    ini.writeString(QStringLiteral("Server"), QStringLiteral("URL"), server.url());
    ini.writeString(QStringLiteral("Server"), QStringLiteral("User"), transfer_test::kUser);
    ini.writeString(QStringLiteral("Server"), QStringLiteral("Password"),
                    config::storedPasswordForm(transfer_test::kPassword));
    std::printf("price package %lld bytes, %d rows\n", qint64(packageBytes.size()), rows + 20);

    exchange::ExchangeFolders folders;
    for (auto [field, sub] : {std::pair{&folders.price, "IN"},
                              {&folders.orders, "Out"},
                              {&folders.invoices, "Invoice"},
                              {&folders.references, "Reference"},
                              {&folders.archive, "Archiv"},
                              {&folders.prescriptions, "Prescription"},
                              {&folders.narcotics, "Outboundn"}})
        *field = base + QString::fromLatin1(sub) + u'/';
    folders.program = base;
    Quiet quiet;
    double best[4] = {1e18, 1e18, 1e18, 1e18};
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        QProcess curl;
        curl.start(QStringLiteral("curl"),
                   {QStringLiteral("-s"), QStringLiteral("-o"), dir.filePath("curl.zip"), QStringLiteral("--user"),
                    transfer_test::kUser + u':' + transfer_test::kPassword,
                    server.url() + QStringLiteral("price/price.zip")});
        curl.waitForFinished(60000);
        best[0] = std::min(best[0], ms(clock));

        clock.restart();
        exchange::TransferLibrary library;
        const bool fetched = library.getFiles([](const QString &) {}, {-1}, false, true);
        library.unload();
        best[1] = std::min(best[1], ms(clock));
        clock.restart();
        exchange::processFetched(folders, fetched, {-1}, 12, config::propertiesFileName(), quiet);
        best[2] = std::min(best[2], ms(clock));
        if (!fetched)
            std::printf("the fetch failed\n");
        transfer_test::writeBytes(package, packageBytes); // for the next run
    }
    for (int run = 0; run < runs; ++run) {
        for (int n = 1; n <= 20; ++n)
            QFile::copy(base + QStringLiteral("order.dbf"), folders.orders + QStringLiteral("Z12_%1.dbf").arg(n));
        QElapsedTimer clock;
        clock.start();
        exchange::packPreparedFiles(folders.orders, 12, quiet);
        exchange::TransferLibrary library;
        const bool sent = library.putFiles([](const QString &) {}, true);
        best[3] = std::min(best[3], ms(clock));
        if (!sent)
            std::printf("the upload failed\n");
        QDir(base + QStringLiteral("distributor/incoming")).removeRecursively();
        QDir().mkpath(base + QStringLiteral("distributor/incoming"));
    }
    std::printf("curl alone: %.0f ms\nlibrary fetch: %.0f ms\nunpack + refresh: %.0f ms\nfetch + unpack + refresh: "
                "%.0f ms\nupload of 20 orders (pack, check, send): %.0f ms\n",
                best[0], best[1], best[2], best[1] + best[2], best[3]);
    return 0;
}
