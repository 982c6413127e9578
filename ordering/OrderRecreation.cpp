#include "OrderRecreation.h"

#include "OrderError.h"
#include "OrderWorkCopy.h"
#include "PharmacyCode.h"
#include "TableChecks.h"
#include "ViewWalk.h"

#include "tables/Table.h"
#include "tables/TableError.h"

#include <QFileInfo>

namespace ordering {

namespace {

const QString kNotCreated = QStringLiteral("Заказ не сформирован.");

const QStringList kOrderFileFields{QStringLiteral("NumZ"),   QStringLiteral("DateZ"), QStringLiteral("CodePst"),
                                   QStringLiteral("PayID"),  QStringLiteral("Date"),  QStringLiteral("Podr"),
                                   QStringLiteral("Qnt"),    QStringLiteral("Price"), QStringLiteral("PodrCD"),
                                   QStringLiteral("Comment")};

void checkInput(const RecreateInput &input)
{
    if (!input.header || !input.header->isOpen() || input.header->isEmpty())
        throw OrderError(QStringLiteral("Не выбран заказ архива. ") + kNotCreated);
    if (!input.positions || !input.positions->isOpen())
        throw OrderError(QStringLiteral("Нет открытой таблицы позиций архива. ") + kNotCreated);
    if (input.subCustomerId == kNoPharmacyCode)
        throw OrderError(noPharmacyCodeText() + u' ' + kNotCreated);
    requireFields(*input.header, {QStringLiteral("NumZ"), QStringLiteral("DateZ"), QStringLiteral("Podr")});
    requireFields(*input.positions, {QStringLiteral("Drug"), QStringLiteral("Qnt"), QStringLiteral("Price")});
    if (!QFileInfo(input.ordersFolder).isDir())
        throw OrderError(QStringLiteral("Не найдена папка заказов %1. ").arg(input.ordersFolder) + kNotCreated);
}

// Appends one order row per position in view; the positions' cursor stays.
int writePositions(tables::Table &order, const RecreateInput &input, int number)
{
    tables::Table &header = *input.header;
    tables::Table &positions = *input.positions;
    const QDate orderDate = header.field(QStringLiteral("DateZ")).asDate();
    const QString consignee = header.field(QStringLiteral("Podr")).asString();
    const tables::Field drug = positions.field(QStringLiteral("Drug"));
    const tables::Field quantity = positions.field(QStringLiteral("Qnt"));
    const tables::Field price = positions.field(QStringLiteral("Price"));
    int written = 0;
    ControlsSuspended suspended(positions);
    forEachRowInView(positions, [&](std::uint32_t) {
        order.append();
        order.field(QStringLiteral("NumZ")).setInteger(number);
        order.field(QStringLiteral("DateZ")).setDate(orderDate);
        order.field(QStringLiteral("CodePst")).setValue(drug.value());
        order.field(QStringLiteral("PayID")).setInteger(input.markupId);
        order.field(QStringLiteral("Date")).setValue(input.now);
        order.field(QStringLiteral("Podr")).setString(consignee);
        order.field(QStringLiteral("Qnt")).setValue(quantity.value());
        order.field(QStringLiteral("Price")).setValue(price.value());
        order.field(QStringLiteral("PodrCD")).setInteger(input.consigneeId);
        order.field(QStringLiteral("Comment")).setString(written == 0 ? recreatedText(number) : QString());
        order.post();
        ++written;
    });
    return written;
}

} // namespace

QString recreatedText(int number) { return QStringLiteral("Заказ № %1 сформирован повторно").arg(number); }

RecreatedOrder RecreateOrder(const RecreateInput &input)
{
    checkInput(input);
    RecreatedOrder recreated;
    recreated.number = int(input.header->field(QStringLiteral("NumZ")).asInteger());
    recreated.filePath = orderFileName(input.ordersFolder, input.subCustomerId, recreated.number);

    OrderWorkCopy work(input.programFolder);
    try {
        tables::Table order;
        openChecked(order, work.path(), kOrderFileFields);
        recreated.positions = writePositions(order, input, recreated.number);
        order.close();
    } catch (const tables::TableError &e) {
        throw OrderError(QStringLiteral("Не удалось заполнить файл заказа %1: %2. ").arg(work.path(), e.message())
                         + kNotCreated);
    }
    if (!work.replace(recreated.filePath))
        throw OrderError(QStringLiteral("Не удалось перенести файл заказа в %1. ").arg(recreated.filePath)
                         + kNotCreated);
    return recreated;
}

} // namespace ordering
