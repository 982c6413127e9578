#include "OrderAssociation.h"

#include <QLocale>

#include <array>
#include <utility>

namespace ordering {

OrderAssociation associationOf(const QString &value, const QString &templateField)
{
    using Source = OrderAssociation::Source;
    const QString v = QLocale().toLower(value.trimmed());
    if (v.isEmpty())
        return {Source::PriceTableField, templateField};
    if (!v.startsWith(u'@') && !v.startsWith(u'?'))
        return {Source::PriceTableField, v};
    static const std::array<std::pair<QString, Source>, 7> keywords{{
        {QStringLiteral("@номер заказа"), Source::OrderNumber},
        {QStringLiteral("@дата"), Source::Date},
        {QStringLiteral("@цена"), Source::Price},
        {QStringLiteral("@получатель"), Source::Consignee},
        {QStringLiteral("@код получателя"), Source::ConsigneeId},
        {QStringLiteral("@код наценки"), Source::MarkupId},
        {QStringLiteral("@комментарий"), Source::Comment},
    }};
    for (const auto &[keyword, source] : keywords)
        if (v == keyword)
            return {source, {}};
    return {};
}

} // namespace ordering
