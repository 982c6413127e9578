#include "OrderArchive.h"

#include "NumberText.h"
#include "OrderError.h"
#include "OrderInput.h"
#include "Rounding.h"
#include "TableChecks.h"
#include "ViewWalk.h"

#include "schema/Catalogue.h"
#include "tables/FileLookup.h"
#include "tables/TableError.h"

namespace ordering {

namespace {

const QStringList kHeaderFields{QStringLiteral("IDRow"), QStringLiteral("NumZ"), QStringLiteral("DateZ"),
                                QStringLiteral("Summa"), QStringLiteral("Podr"), QStringLiteral("Year"),
                                QStringLiteral("Month")};
const QStringList kPositionFields{QStringLiteral("IDRow"), QStringLiteral("Parent"), QStringLiteral("Price"),
                                  QStringLiteral("Qnt"),   QStringLiteral("Name"),   QStringLiteral("Firm"),
                                  QStringLiteral("Cntr"),  QStringLiteral("Drug")};

std::int64_t lastId(tables::Table &table)
{
    table.last();
    if (table.isEmpty())
        return 0;
    return table.field(QStringLiteral("IDRow")).asInteger();
}

} // namespace

OrderArchive::OrderArchive(const QString &archiveFolder)
{
    openChecked(headers_, tables::findFileNoCase(archiveFolder, schema::kArchive), kHeaderFields);
    openChecked(positions_, tables::findFileNoCase(archiveFolder, schema::kArchivePositions), kPositionFields);
}

ArchiveNumbers OrderArchive::nextNumbers(const QDateTime &now)
{
    ArchiveNumbers next;
    headers_.last();
    if (!headers_.isEmpty()) {
        next.id = headers_.field(QStringLiteral("IDRow")).asInteger() + 1;
        const bool sameYear = headers_.field(QStringLiteral("DateZ")).asDate().year() == now.date().year();
        next.number = sameYear ? int(headers_.field(QStringLiteral("NumZ")).asInteger()) + 1 : 1;
    }
    return next;
}

namespace {

double archivedSum(tables::Table &prices, const QString &priceField, const std::vector<std::uint32_t> &rows)
{
    // The positions archived, not the window's running sum: in the new
    // arrivals view the order holds fewer rows than the sum counts.
    const tables::Field price = prices.field(priceField);
    const tables::Field zak = prices.field(QStringLiteral("Zak"));
    ControlsSuspended suspended(prices);
    double sum = 0;
    for (std::uint32_t recno : rows)
        prices.withRecord(recno, [&] { sum = roundToCents(sum + numberOrZero(zak) * numberOrZero(price)); });
    return sum;
}

} // namespace

void OrderArchive::ArchiveOrder(const OrderInput &input, const std::vector<std::uint32_t> &orderedRows,
                                const ArchiveNumbers &numbers)
{
    const double sum = archivedSum(*input.prices, input.priceField, orderedRows);
    headers_.append();
    headers_.field(QStringLiteral("IDRow")).setInteger(numbers.id);
    headers_.field(QStringLiteral("NumZ")).setInteger(numbers.number);
    headers_.field(QStringLiteral("DateZ")).setDate(input.now.date());
    headers_.field(QStringLiteral("Summa")).setFloat(sum);
    headers_.field(QStringLiteral("Podr")).setString(input.consignee);
    headers_.field(QStringLiteral("Year")).setInteger(input.now.date().year());
    headers_.field(QStringLiteral("Month")).setInteger(input.now.date().month());
    headers_.post();
    headerPosted_ = true;

    tables::Table &prices = *input.prices;
    const tables::Field price = prices.field(input.priceField);
    const tables::Field zak = prices.field(QStringLiteral("Zak"));
    const tables::Field name = prices.field(QStringLiteral("Name"));
    const tables::Field firm = prices.field(QStringLiteral("Firm"));
    const tables::Field country = prices.field(QStringLiteral("Cntr"));
    const tables::Field drug = prices.field(QStringLiteral("CodePst"));
    tables::Field posId = positions_.field(QStringLiteral("IDRow"));
    tables::Field parent = positions_.field(QStringLiteral("Parent"));
    tables::Field posPrice = positions_.field(QStringLiteral("Price"));
    tables::Field posQnt = positions_.field(QStringLiteral("Qnt"));
    tables::Field posName = positions_.field(QStringLiteral("Name"));
    tables::Field posFirm = positions_.field(QStringLiteral("Firm"));
    tables::Field posCountry = positions_.field(QStringLiteral("Cntr"));
    tables::Field posDrug = positions_.field(QStringLiteral("Drug"));

    std::int64_t id = lastId(positions_);
    ControlsSuspended suspended(prices);
    for (std::uint32_t recno : orderedRows) {
        positions_.append();
        const bool read = prices.withRecord(recno, [&] {
            posId.setInteger(++id);
            parent.setInteger(numbers.id);
            posPrice.setValue(price.value());
            posQnt.setValue(zak.value());
            posName.setValue(name.value());
            posFirm.setValue(firm.value());
            posCountry.setValue(country.value());
            posDrug.setValue(drug.value());
        });
        if (!read)
            throw tables::TableError(QStringLiteral("Record %1 of %2 is gone").arg(recno).arg(prices.path()));
        positions_.post();
        ++positionsPosted_;
    }
}

void OrderArchive::close()
{
    headers_.close();
    positions_.close();
}

} // namespace ordering
