#pragma once

#include <QString>

namespace ordering {

// What a field of the order file receives, by its Order.ini "Association" value.
struct OrderAssociation {
    enum class Source {
        Nothing,
        PriceTableField, // `field` of the price table (the same-named one when the value is empty)
        OrderNumber,
        Date,
        Price,
        Consignee,
        ConsigneeId,
        MarkupId,
        Comment,
    };
    Source source = Source::Nothing;
    QString field;
};

// Interprets a value of section "Association" for the template field
// `templateField`, after locale-aware lower-casing.
OrderAssociation associationOf(const QString &value, const QString &templateField);

} // namespace ordering
