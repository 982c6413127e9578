#include "ActionHooks.h"

namespace app {

QString orderWindowCaption(OrderWindowKind kind)
{
    switch (kind) {
    case OrderWindowKind::FullPrice:
    case OrderWindowKind::NarcoticsPrice: return QStringLiteral("ПРАЙС");
    case OrderWindowKind::NewArrivals: return QStringLiteral("НОВЫЕ ПОСТУПЛЕНИЯ");
    case OrderWindowKind::Order:
    case OrderWindowKind::NarcoticsOrder: return QStringLiteral("ЗАКАЗ");
    }
    return {};
}

} // namespace app
