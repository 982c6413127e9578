#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace demo {

// Sample distributor data: drug names, makers, consignees, component lists.

struct Maker {
    QString name;
    QString country;
};

// A drug of the price list: name with form, dose and pack.
struct PriceRow {
    QString name;
    Maker maker;
    double basePrice = 0;
};

// The first `count` rows of a deterministic, varied price list.
std::vector<PriceRow> priceRows(int count, unsigned seed);
// A short list of narcotic and psychotropic drugs for PriceN.dbf.
std::vector<PriceRow> narcoticRows();

struct Consignee {
    int id;
    QString name;
    bool fetchesPackages;
    bool mayReceiveNarcotics;
};
// The pharmacy itself first, then its consignees.
std::vector<Consignee> consignees();

struct ComponentDrug {
    QString name;
    QStringList components; // "name: quantity"
};
std::vector<ComponentDrug> componentDrugs();

} // namespace demo
