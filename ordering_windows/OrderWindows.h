#pragma once

#include <QString>

namespace windows {
class MainFrmServices;
}

namespace ordering {

class TOrderFrm;

// The ways the main window opens the order window.
enum class OrderWindowMode {
    Price, // "ПРАЙС": the whole list, page "Заказ" hidden
    NewArrivals, // "НОВЫЕ ПОСТУПЛЕНИЯ": rows with NewFlg=1
    Order, // "ЗАКАЗ": rows with a quantity
};

QString orderWindowCaption(OrderWindowMode mode);

// Creates the order window over the table, sets its filter and the rule of
// its page "Заказ", and shows it inside the main window.
TOrderFrm *OpenOrderWindow(windows::MainFrmServices &main, OrderWindowMode mode, const QString &tablePath);

} // namespace ordering
