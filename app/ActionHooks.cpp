#include "ActionHooks.h"

#include "windows/Captions.h"

namespace app {

QString orderWindowCaption(OrderWindowKind kind)
{
    switch (kind) {
    case OrderWindowKind::FullPrice:
    case OrderWindowKind::NarcoticsPrice: return windows::captions::kPrice;
    case OrderWindowKind::NewArrivals: return windows::captions::kNewArrivals;
    case OrderWindowKind::Order:
    case OrderWindowKind::NarcoticsOrder: return windows::captions::kOrder;
    }
    return {};
}

} // namespace app
