#include "OrderFileWriter.h"

#include "OrderAssociation.h"
#include "OrderInput.h"
#include "ViewWalk.h"

#include "config/IniFile.h"
#include "tables/Table.h"
#include "tables/TableError.h"

#include <QLocale>
#include <QVariant>

namespace ordering {

namespace {

using Source = OrderAssociation::Source;

struct FieldFill {
    tables::Field target;
    Source source = Source::Nothing;
    tables::Field from; // the price-table field, for PriceTableField
};

std::vector<FieldFill> resolveFills(tables::Table &order, tables::Table &prices, const QString &priceField,
                                    const QString &orderIniPath)
{
    const config::IniFile ini(orderIniPath);
    const QString section = QStringLiteral("Association");
    std::vector<FieldFill> fills;
    for (int i = 0; i < int(order.schema().fields.size()); ++i) {
        FieldFill fill;
        fill.target = order.field(i);
        const OrderAssociation a = associationOf(ini.readString(section, fill.target.name()), fill.target.name());
        fill.source = a.source;
        if (a.source == Source::PriceTableField) {
            fill.from = prices.findField(a.field);
            if (!fill.from.isValid())
                fill.source = Source::Nothing;
        } else if (a.source == Source::Price) {
            fill.from = prices.field(priceField);
        }
        if (fill.source != Source::Nothing)
            fills.push_back(fill);
    }
    return fills;
}

// The engine converts values to the field's type; a date into a text field
// becomes the user's short date and time.
void assign(tables::Field field, const QVariant &value)
{
    if (field.kind() == tables::FieldKind::String && value.typeId() == QMetaType::QDateTime)
        field.setString(QLocale().toString(value.toDateTime(), QLocale::ShortFormat));
    else
        field.setValue(value);
}

} // namespace

void WriteOrderFile(const QString &path, const QString &orderIniPath, const OrderInput &input,
                    const std::vector<std::uint32_t> &orderedRows, int orderNumber)
{
    tables::Table order(path);
    order.open();
    tables::Table &prices = *input.prices;
    const std::vector<FieldFill> fills = resolveFills(order, prices, input.priceField, orderIniPath);
    const QString numberText = QString::number(orderNumber);
    QString comment = input.message;
    ControlsSuspended suspended(prices);

    for (std::uint32_t recno : orderedRows) {
        order.append();
        const bool read = prices.withRecord(recno, [&] {
            for (const FieldFill &fill : fills) {
                const tables::Field &target = fill.target;
                switch (fill.source) {
                case Source::PriceTableField:
                case Source::Price: assign(target, fill.from.value()); break;
                case Source::OrderNumber: assign(target, numberText); break;
                case Source::Date: assign(target, input.now); break;
                case Source::Consignee: assign(target, input.consignee); break;
                case Source::ConsigneeId: assign(target, input.consigneeId); break;
                case Source::MarkupId: assign(target, input.markupId); break;
                case Source::Comment:
                    if (!comment.isEmpty()) {
                        assign(target, comment.left(kCommentChunk));
                        comment = comment.mid(kCommentChunk);
                    }
                    break;
                case Source::Nothing: break;
                }
            }
        });
        if (!read)
            throw tables::TableError(QStringLiteral("Record %1 of %2 is gone").arg(recno).arg(prices.path()));
        order.post();
    }
    order.close();
}

} // namespace ordering
