#include "DemoTables.h"

#include "DemoData.h"

#include "schema/Catalogue.h"
#include "tables/CodePage.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"

#include <QRandomGenerator>
#include <QSet>

#include <cmath>

namespace demo {

namespace {

using K = tables::FieldKind;
constexpr int kLevel = 4;
constexpr std::uint8_t kNoMark = 0;

// Markups 10 to 14 give the price columns Price1 to Price5 with DeltaEx 9.
constexpr int kFirstMarkup = 10;
constexpr int kMarkupCount = 5;

void create(const QString &path, const tables::FieldSpecs &fields, std::uint8_t languageId = kNoMark)
{
    tables::createTable(path, kLevel, fields, {.languageId = languageId});
}

double rounded(double value) { return std::round(value * 100.0) / 100.0; }

tables::FieldSpecs priceFields()
{
    tables::FieldSpecs fields = {
        {QStringLiteral("IDROW"), K::Integer, 10},   {QStringLiteral("NAME"), K::String, 80},
        {QStringLiteral("FIRM"), K::String, 40},     {QStringLiteral("CNTR"), K::String, 20},
        {QStringLiteral("CODEPST"), K::Integer, 10}, {QStringLiteral("QNT"), K::Integer, 10},
    };
    for (int i = 1; i <= kMarkupCount; ++i)
        fields.push_back({QStringLiteral("PRICE%1").arg(i), K::Float, 12, 2});
    fields.push_back({QStringLiteral("CONSTA"), K::Float, 12, 4});
    fields.push_back({QStringLiteral("CONSTB"), K::Float, 12, 4});
    fields.push_back({QStringLiteral("NEWFLG"), K::Integer, 1});
    fields.push_back({QStringLiteral("GDATE"), K::Date});
    fields.push_back({QStringLiteral("ZAK"), K::Float, 18, 8});
    return fields;
}

// One price row: prices per markup step, and ConstA/ConstB such that
// (price - ConstB) / ConstA gives the markup back.
void appendPriceRow(tables::Table &t, int id, const PriceRow &row, int quantity, bool isNew, const QDate &date)
{
    t.append();
    t.field(u"IDROW").setInteger(id);
    t.field(u"NAME").setString(row.name);
    t.field(u"FIRM").setString(row.maker.name);
    t.field(u"CNTR").setString(row.maker.country);
    t.field(u"CODEPST").setInteger(100000 + id);
    t.field(u"QNT").setInteger(quantity);
    for (int i = 0; i < kMarkupCount; ++i)
        t.field(QStringLiteral("PRICE%1").arg(i + 1))
            .setFloat(rounded(row.basePrice * (1 + (kFirstMarkup + i) / 100.0)));
    t.field(u"CONSTA").setFloat(row.basePrice / 100.0);
    t.field(u"CONSTB").setFloat(row.basePrice);
    t.field(u"NEWFLG").setInteger(isNew ? 1 : 0);
    t.field(u"GDATE").setDate(date);
    t.post();
}

} // namespace

void writePriceTable(const QString &path, int rows, unsigned seed, const QDate &today)
{
    create(path, priceFields());
    QRandomGenerator rng(seed + 1);
    tables::Table t(path);
    t.open();
    int id = 0;
    for (const PriceRow &row : priceRows(rows, seed)) {
        ++id;
        // Some rows expire within half a year, which the order window marks.
        const QDate date = today.addDays(rng.bounded(100) < 8 ? 30 + rng.bounded(150) : 200 + rng.bounded(900));
        appendPriceRow(t, id, row, rng.bounded(100) < 5 ? 0 : 1 + rng.bounded(400), rng.bounded(100) < 7, date);
    }
}

void writeNarcoticsPriceTable(const QString &path, const QDate &today)
{
    create(path, priceFields());
    tables::Table t(path);
    t.open();
    int id = 9000;
    for (const PriceRow &row : narcoticRows()) {
        ++id;
        appendPriceRow(t, id, row, 5 + id % 20, false, today.addDays(365));
    }
}

void writeNarcoticsCustomers(const QString &path)
{
    create(path, {{QStringLiteral("ID"), K::Integer, 10}, {QStringLiteral("VALUE1"), K::Integer, 1}});
    tables::Table t(path);
    t.open();
    for (const Consignee &c : consignees()) {
        t.append();
        t.field(u"ID").setInteger(c.id);
        t.field(u"VALUE1").setInteger(c.mayReceiveNarcotics ? 1 : 0);
        t.post();
    }
}

void writeSubCustomers(const QString &path)
{
    create(path,
           {{QStringLiteral("IDROW"), K::Integer, 10},
            {QStringLiteral("NAME"), K::String, 60},
            {QStringLiteral("PARENTGET"), K::Boolean}});
    tables::Table t(path);
    t.open();
    for (const Consignee &c : consignees()) {
        t.append();
        t.field(u"IDROW").setInteger(c.id);
        t.field(u"NAME").setString(c.name);
        t.field(u"PARENTGET").setBoolean(c.fetchesPackages);
        t.post();
    }
}

void writeWorkScheme(const QString &path)
{
    create(path, {{QStringLiteral("IDROW"), K::Integer, 10}, {QStringLiteral("PROCENT"), K::String, 10}});
    tables::Table t(path);
    t.open();
    for (int i = 0; i < kMarkupCount; ++i) {
        t.append();
        t.field(u"IDROW").setInteger(i + 1);
        t.field(u"PROCENT").setString(QString::number(kFirstMarkup + i));
        t.post();
    }
}

void writeMakers(const QString &path)
{
    create(path,
           {{QStringLiteral("IDROW"), K::Integer, 10},
            {QStringLiteral("NAME"), K::String, 40},
            {QStringLiteral("CNTR"), K::String, 20}});
    tables::Table t(path);
    t.open();
    QSet<QString> seen;
    int id = 0;
    for (const PriceRow &row : priceRows(400, 7)) {
        if (seen.contains(row.maker.name))
            continue;
        seen.insert(row.maker.name);
        t.append();
        t.field(u"IDROW").setInteger(++id);
        t.field(u"NAME").setString(row.maker.name);
        t.field(u"CNTR").setString(row.maker.country);
        t.post();
    }
}

void writeCountries(const QString &path)
{
    create(path, {{QStringLiteral("IDROW"), K::Integer, 10}, {QStringLiteral("NAME"), K::String, 30}});
    tables::Table t(path);
    t.open();
    int id = 0;
    for (const char *name : {"Россия", "Беларусь", "Украина", "Германия", "Франция", "Словения", "Венгрия", "Польша",
                             "Израиль", "Швейцария", "Индия"}) {
        t.append();
        t.field(u"IDROW").setInteger(++id);
        t.field(u"NAME").setString(QString::fromUtf8(name));
        t.post();
    }
}

void writeInvoice(const QString &path, const QString &pricePath, int number, const QDate &date)
{
    create(path,
           {{QStringLiteral("IDROW"), K::Integer, 10},
            {QStringLiteral("NUMDOC"), K::Integer, 10},
            {QStringLiteral("DATEDOC"), K::Date},
            {QStringLiteral("CODEPST"), K::Integer, 10},
            {QStringLiteral("NAME"), K::String, 80},
            {QStringLiteral("FIRM"), K::String, 40},
            {QStringLiteral("QNT"), K::Integer, 10},
            {QStringLiteral("PRICE"), K::Float, 12, 2},
            {QStringLiteral("SUMMA"), K::Float, 14, 2}});
    tables::Table price(pricePath);
    price.setReadOnly(true);
    price.open();
    tables::Table t(path);
    t.open();
    int id = 0;
    price.first();
    for (int skip = 0; skip < number % 50 && !price.eof(); ++skip)
        price.next();
    for (; !price.eof() && id < 25; price.next()) {
        const int quantity = 1 + (id * 7 + number) % 12;
        const double unit = price.field(u"PRICE1").asFloat();
        t.append();
        t.field(u"IDROW").setInteger(++id);
        t.field(u"NUMDOC").setInteger(number);
        t.field(u"DATEDOC").setDate(date);
        t.field(u"CODEPST").setInteger(price.field(u"CODEPST").asInteger());
        t.field(u"NAME").setString(price.field(u"NAME").asString());
        t.field(u"FIRM").setString(price.field(u"FIRM").asString());
        t.field(u"QNT").setInteger(quantity);
        t.field(u"PRICE").setFloat(unit);
        t.field(u"SUMMA").setFloat(rounded(unit * quantity));
        t.post();
        for (int step = 0; step < 3 && !price.eof(); ++step)
            price.next();
    }
}

void writeArchive(const QString &archivePath, const QString &positionsPath, const QString &pricePath,
                  const QDate &today)
{
    create(archivePath,
           {{QStringLiteral("IDROW"), K::Integer, 10},
            {QStringLiteral("NUMZ"), K::Integer, 10},
            {QStringLiteral("DATEZ"), K::Date},
            {QStringLiteral("SUMMA"), K::Float, 14, 2},
            {QStringLiteral("PODR"), K::String, 60},
            {QStringLiteral("YEAR"), K::Integer, 4},
            {QStringLiteral("MONTH"), K::Integer, 2}},
           tables::kDefaultCreateLanguageId);
    create(positionsPath,
           {{QStringLiteral("IDROW"), K::Integer, 10},
            {QStringLiteral("PARENT"), K::Integer, 10},
            {QStringLiteral("DRUG"), K::Integer, 10},
            {QStringLiteral("QNT"), K::Float, 12, 3},
            {QStringLiteral("PRICE"), K::Float, 12, 2},
            {QStringLiteral("NAME"), K::String, 80},
            {QStringLiteral("FIRM"), K::String, 40},
            {QStringLiteral("CNTR"), K::String, 20}},
           tables::kDefaultCreateLanguageId);
    // Two orders in each of the last three months, this one included; the
    // first rows of the price list come back in several of them, so the drug
    // statistics have something to count.
    tables::Table price(pricePath);
    price.setReadOnly(true);
    price.open();
    tables::Table headers(archivePath);
    tables::Table positions(positionsPath);
    headers.open();
    positions.open();
    int headerId = 0;
    int positionId = 0;
    int number = 0;
    int year = 0;
    for (int monthsBack = 2; monthsBack >= 0; --monthsBack) {
        for (int half = 0; half < 2; ++half) {
            const QDate first = today.addMonths(-monthsBack);
            // Never after today: this month's orders are from its first day and from today.
            const int day = monthsBack > 0 ? (half == 0 ? 5 : 19) : (half == 0 ? 1 : today.day());
            const QDate date(first.year(), first.month(), day);
            if (date.year() != year) {
                year = date.year();
                number = 0;
            }
            ++headerId;
            double sum = 0;
            price.first();
            for (int skip = 0; skip < headerId % 3 && !price.eof(); ++skip)
                price.next();
            for (int line = 0; line < 4 + headerId % 3 && !price.eof(); ++line) {
                const int quantity = 1 + (headerId + line) % 5;
                const double unit = price.field(u"PRICE1").asFloat();
                positions.append();
                positions.field(u"IDROW").setInteger(++positionId);
                positions.field(u"PARENT").setInteger(headerId);
                positions.field(u"DRUG").setInteger(price.field(u"CODEPST").asInteger());
                positions.field(u"QNT").setInteger(quantity);
                positions.field(u"PRICE").setFloat(unit);
                positions.field(u"NAME").setString(price.field(u"NAME").asString());
                positions.field(u"FIRM").setString(price.field(u"FIRM").asString());
                positions.field(u"CNTR").setString(price.field(u"CNTR").asString());
                positions.post();
                sum += unit * quantity;
                for (int step = 0; step < 2 && !price.eof(); ++step)
                    price.next();
            }
            headers.append();
            headers.field(u"IDROW").setInteger(headerId);
            headers.field(u"NUMZ").setInteger(++number);
            headers.field(u"DATEZ").setDate(date);
            headers.field(u"SUMMA").setFloat(rounded(sum));
            headers.field(u"PODR").setString(half == 0 ? QStringLiteral("Аптека №1") : QStringLiteral("Аптека №2"));
            headers.field(u"YEAR").setInteger(date.year());
            headers.field(u"MONTH").setInteger(date.month());
            headers.post();
        }
    }
}

void writeOrderTemplate(const QString &path)
{
    create(path,
           {{QStringLiteral("NUMZ"), K::Integer, 9},
            {QStringLiteral("DATEZ"), K::Date},
            {QStringLiteral("CODEPST"), K::Integer, 10},
            {QStringLiteral("PAYID"), K::Integer, 9},
            {QStringLiteral("DATE"), K::Date},
            {QStringLiteral("PODR"), K::String, 60},
            {QStringLiteral("QNT"), K::Float, 12, 3},
            {QStringLiteral("PRICE"), K::Float, 12, 2},
            {QStringLiteral("PODRCD"), K::Integer, 9},
            {QStringLiteral("COMMENT"), K::String, 50}});
}

void writePharmCom(const QString &pharmComPath, const QString &componentNamesPath)
{
    create(pharmComPath,
           {{QStringLiteral("NAME"), K::String, 80},
            {QStringLiteral("DRUG"), K::Integer, 10},
            {QStringLiteral("COMPONENT1"), K::String, 250},
            {QStringLiteral("COMPONENT2"), K::String, 250}});
    create(componentNamesPath, {{QStringLiteral("NAME"), K::String, 80}});
    tables::Table drugs(pharmComPath);
    drugs.open();
    QStringList names;
    int code = 500000;
    for (const ComponentDrug &drug : componentDrugs()) {
        // One component a line, lines separated by CR, split over two fields.
        const QString list = drug.components.join(u'\r');
        drugs.append();
        drugs.field(u"NAME").setString(drug.name);
        drugs.field(u"DRUG").setInteger(++code);
        drugs.field(u"COMPONENT1").setString(list.left(250));
        drugs.field(u"COMPONENT2").setString(list.mid(250, 250));
        drugs.post();
        for (const QString &component : drug.components) {
            const QString name = component.section(QStringLiteral(": "), 0, 0);
            if (!names.contains(name))
                names << name;
        }
    }
    names.sort(Qt::CaseInsensitive);
    tables::Table componentNames(componentNamesPath);
    componentNames.open();
    for (const QString &name : names) {
        componentNames.append();
        componentNames.field(u"NAME").setString(name);
        componentNames.post();
    }
}

void writePrescriptions(const QString &folder, const QDate &today)
{
    schema::createPrescriptionTable(folder);
    tables::Table prescriptions(folder + schema::kPrescriptions);
    prescriptions.open();
    const ComponentDrug drug = componentDrugs().front();
    const QString list = drug.components.join(u'\r');
    prescriptions.append();
    prescriptions.field(u"IDROW").setInteger(1);
    prescriptions.field(u"NUMBER").setString(QStringLiteral("1"));
    prescriptions.field(u"FIO").setString(QStringLiteral("Петрова Анна Ивановна"));
    prescriptions.field(u"DATECREATE").setDate(today.addDays(-8));
    prescriptions.field(u"CODEPST").setInteger(500001);
    prescriptions.field(u"NAME").setString(drug.name);
    prescriptions.field(u"AGEY").setInteger(67);
    prescriptions.field(u"DS").setString(QStringLiteral("Головная боль"));
    prescriptions.field(u"QNT").setInteger(2);
    prescriptions.field(u"COMPONENT1").setString(list.left(250));
    prescriptions.field(u"COMPONENT2").setString(list.mid(250, 250));
    prescriptions.field(u"DATESND").setDate(today.addDays(-7));
    prescriptions.field(u"PROVIDED").setBoolean(false);
    prescriptions.post();
}

} // namespace demo
