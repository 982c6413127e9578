#include "DemoDistributor.h"

#include "DemoTables.h"

#include "config/IniFile.h"
#include "exchange/ExchangeFeedback.h"
#include "exchange/PackageZip.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <stdexcept>

namespace demo {

namespace {

const char *const kServerFolders[] = {"price",   "reference", "prescription", "narcotics",
                                      "invoice", "archive",   "program",      "incoming"};

struct SilentFeedback : exchange::ExchangeFeedback {
    void setStatusText(const QString &) override {}
    void showMessage(const QString &) override {}
};

} // namespace

void writeDistributor(const QString &base, int priceRows, unsigned seed, const QDate &today)
{
    const QString root = base + QStringLiteral("distributor/");
    for (const char *name : kServerFolders)
        if (!QDir().mkpath(root + QString::fromLatin1(name)))
            throw std::runtime_error(QStringLiteral("Cannot create %1%2").arg(root, name).toStdString());

    QTemporaryDir work;
    const QString table = work.filePath(QStringLiteral("price.dbf"));
    writePriceTable(table, priceRows + kNewDrugs, seed, today);
    SilentFeedback feedback;
    const QString package = exchange::ZipFiles(table, 8, QString(), -1, feedback);
    if (package.isEmpty() || !QFile::rename(package, root + QStringLiteral("price/price.zip")))
        throw std::runtime_error("Cannot write the distributor's price package");

    const config::IniFile ini(base + QStringLiteral("KXOrder.ini"));
    // Relative, so that the installation may move.
    ini.writeString(QStringLiteral("Server"), QStringLiteral("URL"), QStringLiteral("file:distributor/"));
}

} // namespace demo
