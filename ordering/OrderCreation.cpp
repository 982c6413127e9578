#include "OrderCreation.h"

#include "ClearQuantities.h"
#include "NumberText.h"
#include "OrderArchive.h"
#include "OrderError.h"
#include "OrderFileWriter.h"
#include "OrderWorkCopy.h"
#include "PharmacyCode.h"
#include "TableChecks.h"
#include "ViewWalk.h"

#include "tables/FileLookup.h"
#include "tables/Table.h"
#include "tables/TableError.h"

#include <QFileInfo>

namespace ordering {

namespace {

const QString kNotCreated = QStringLiteral("Заказ не сформирован.");

void checkInput(const OrderInput &input)
{
    if (!input.prices || !input.prices->isOpen())
        throw OrderError(QStringLiteral("Нет открытой таблицы прайса. ") + kNotCreated);
    if (input.subCustomerId == kNoPharmacyCode)
        throw OrderError(noPharmacyCodeText() + u' ' + kNotCreated);
    requireFields(*input.prices,
                  {QStringLiteral("Zak"), input.priceField, QStringLiteral("Name"), QStringLiteral("Firm"),
                   QStringLiteral("Cntr"), QStringLiteral("CodePst")});
    if (!QFileInfo(input.ordersFolder).isDir())
        throw OrderError(QStringLiteral("Не найдена папка заказов %1. ").arg(input.ordersFolder) + kNotCreated);
}

QString archiveProgress(const OrderArchive &archive, int number, std::size_t positions)
{
    if (!archive.headerPosted())
        return QStringLiteral("В архив ничего не записано.");
    return QStringLiteral("В архиве (%1, %2) записан заказ № %3 и %4 из %5 позиций.")
        .arg(archive.headerPath(), archive.positionsPath())
        .arg(number)
        .arg(archive.positionsPosted())
        .arg(positions);
}

} // namespace

std::vector<std::uint32_t> orderedRows(tables::Table &prices)
{
    std::vector<std::uint32_t> rows;
    const tables::Field zak = prices.field(QStringLiteral("Zak"));
    ControlsSuspended suspended(prices);
    forEachRowInView(prices, [&](std::uint32_t recno) {
        if (numberOrZero(zak) != 0)
            rows.push_back(recno);
    });
    return rows;
}

CreatedOrder CreateOrder(const OrderInput &input)
{
    checkInput(input);
    tables::Table &prices = *input.prices;
    prices.checkBrowseMode();

    OrderArchive archive(input.archiveFolder);
    const ArchiveNumbers numbers = archive.nextNumbers(input.now);
    CreatedOrder created;
    created.number = numbers.number;
    created.archiveId = numbers.id;
    created.filePath = orderFileName(input.ordersFolder, input.subCustomerId, numbers.number);
    if (tables::fileExistsNoCase(created.filePath))
        throw OrderError(QStringLiteral("Файл заказа %1 уже существует. ").arg(created.filePath) + kNotCreated);

    const std::vector<std::uint32_t> rows = orderedRows(prices);
    created.positions = int(rows.size());

    OrderWorkCopy work(input.programFolder);
    const QString orderIni = tables::findFileNoCase(input.programFolder, QStringLiteral("Order.ini"));
    try {
        WriteOrderFile(work.path(), orderIni, input, rows, numbers.number);
    } catch (const tables::TableError &e) {
        throw OrderError(QStringLiteral("Не удалось заполнить файл заказа %1: %2. В архив ничего не записано. ")
                             .arg(work.path(), e.message())
                         + kNotCreated);
    }

    try {
        archive.ArchiveOrder(input, rows, numbers);
        archive.close();
    } catch (const tables::TableError &e) {
        throw OrderError(QStringLiteral("Не удалось записать заказ № %1 в архив: %2. %3 Файл заказа не создан, "
                                        "количества в заказе сохранены.")
                             .arg(numbers.number)
                             .arg(e.message(), archiveProgress(archive, numbers.number, rows.size())));
    }

    if (!work.moveTo(created.filePath)) {
        work.keep();
        throw OrderError(QStringLiteral("Заказ № %1 записан в архив, но файл заказа не удалось перенести в %2. "
                                        "Заполненный файл заказа остался: %3. Количества в заказе сохранены.")
                             .arg(numbers.number)
                             .arg(created.filePath, work.path()));
    }

    try {
        ClearQuantities(prices);
    } catch (const tables::TableError &e) {
        throw OrderError(QStringLiteral("Заказ № %1 сформирован (%2), но количества в заказе не очищены: %3")
                             .arg(numbers.number)
                             .arg(created.filePath, e.message()));
    }
    return created;
}

} // namespace ordering
