#include "DemoInstallation.h"

#include "DemoDistributor.h"
#include "DemoSettings.h"
#include "DemoTables.h"

#include "tables/CodePage.h"
#include "tables/FileLookup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace demo {

namespace {

const char *const kFolders[] = {"IN", "Out", "Invoice", "Reference", "Archiv", "Prescription", "Outboundn"};

void makeFolder(const QString &path)
{
    if (!QDir().mkpath(path))
        throw std::runtime_error(QStringLiteral("Cannot create the folder %1").arg(path).toStdString());
}

void copyExecutable(const QString &from, const QString &to)
{
    QFile::remove(to);
    if (!QFile::copy(from, to))
        throw std::runtime_error(QStringLiteral("Cannot copy %1 to %2").arg(from, to).toStdString());
    QFile::setPermissions(to, QFile::permissions(to) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
}

} // namespace

bool holdsInstallation(const QString &folder)
{
    const QString base = QDir(folder).absolutePath() + u'/';
    return tables::fileExistsNoCase(base + QStringLiteral("KXOrders.ini"))
        || tables::fileExistsNoCase(base + QStringLiteral("properties.ini"))
        || tables::fileExistsNoCase(base + QStringLiteral("IN/price.dbf"));
}

void createDemoInstallation(const QString &folder, const DemoOptions &options)
{
    if (holdsInstallation(folder))
        throw std::runtime_error(
            QStringLiteral("%1 already holds an installation; it is left as it is").arg(folder).toStdString());
    const QString base = QDir(folder).absolutePath() + u'/';
    makeFolder(base);
    for (const char *name : kFolders)
        makeFolder(base + QString::fromLatin1(name));

    // Unmarked tables are written, like the distributor's, in DOS Cyrillic.
    tables::setDefaultOpenCodePage(866);
    const QDate today = QDate::currentDate();
    const QString invoice = QStringLiteral("N%1.dbf").arg(today.dayOfYear() + 1000);

    writePriceTable(base + QStringLiteral("IN/price.dbf"), options.priceRows, options.seed, today);
    writeNarcoticsPriceTable(base + QStringLiteral("Outboundn/PriceN.dbf"), today);
    writeNarcoticsCustomers(base + QStringLiteral("Outboundn/CustomerN.dbf"));
    writeSubCustomers(base + QStringLiteral("Reference/SubCustomer.dbf"));
    writeWorkScheme(base + QStringLiteral("Reference/WorkScheme.dbf"));
    writeMakers(base + QStringLiteral("Reference/Firms.dbf"));
    writeCountries(base + QStringLiteral("Reference/Countries.dbf"));
    writeInvoice(base + QStringLiteral("Invoice/") + invoice, base + QStringLiteral("IN/price.dbf"),
                 today.dayOfYear() + 1000, today.addDays(-2));
    writeArchive(base + QStringLiteral("Archiv/Archiv.dbf"), base + QStringLiteral("Archiv/ArchivPos.dbf"),
                 base + QStringLiteral("IN/price.dbf"), today);
    writePharmCom(base + QStringLiteral("Prescription/PharmCom.dbf"),
                  base + QStringLiteral("Prescription/PharmComP.dbf"));
    writePrescriptions(base + QStringLiteral("Prescription/"), today);
    writeOrderTemplate(base + QStringLiteral("order.dbf"));

    writeOrderMapping(base + QStringLiteral("Order.ini"));
    writeHeaderLayout(base + QStringLiteral("NoGridElm.ini"));
    writeProperties(base + QStringLiteral("properties.ini"), invoice);
    writeSettingsFile(base + QStringLiteral("KXOrders.ini"), QDateTime(today.addDays(-1), QTime(8, 30)));

    writeDistributor(base, options.priceRows, options.seed, today);

    if (!options.executable.isEmpty()) {
        copyExecutable(options.executable, base + QStringLiteral("KXOrders"));
        // The transfer library is loaded from beside the program.
        const QString library = QFileInfo(options.executable).absolutePath() + QStringLiteral("/libKXOrder.so");
        if (QFileInfo::exists(library))
            copyExecutable(library, base + QStringLiteral("libKXOrder.so"));
    }
}

} // namespace demo
