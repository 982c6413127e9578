#pragma once

#include <QDate>
#include <QString>

namespace demo {

// Writers of the demo installation's tables; each takes the full path of the
// file to create. Distributor tables carry no code page mark (code page 866),
// as the distributor sends them.
void writePriceTable(const QString &path, int rows, unsigned seed, const QDate &today);
void writeNarcoticsPriceTable(const QString &path, const QDate &today);
void writeNarcoticsCustomers(const QString &path);
void writeSubCustomers(const QString &path);
void writeWorkScheme(const QString &path);
void writeMakers(const QString &path);
void writeCountries(const QString &path);
void writeInvoice(const QString &path, const QString &pricePath, int number, const QDate &date);
// Six archived orders over the last three months up to `today`, made of price rows.
void writeArchive(const QString &archivePath, const QString &positionsPath, const QString &pricePath,
                  const QDate &today);
void writeOrderTemplate(const QString &path);
void writePharmCom(const QString &pharmComPath, const QString &componentNamesPath);
// prescr.dbf in the folder with one prescription sent a week before `today`.
void writePrescriptions(const QString &folder, const QDate &today);

} // namespace demo
