#include "OrderWindows.h"

#include "uOrderFrm.h"

#include "errors/KxError.h"
#include "platform/MessageService.h"
#include "platform/Services.h"

#include "grid/DBGrid.h"
#include "tables/Table.h"
#include "windows/Captions.h"
#include "windows/MainFrmServices.h"

#include <QTabWidget>

namespace ordering {

namespace {

// The page "Заказ" is offered when the first row in view carries a quantity.
bool firstRowOrdered(tables::Table &table)
{
    if (table.isEmpty())
        return false;
    const tables::Field zak = table.findField(QStringLiteral("Zak"));
    return zak.isValid() && !zak.isNull() && zak.asFloat() != 0;
}

void applyFilter(TOrderFrm &window, const QString &filter)
{
    tables::Table &table = *window.table();
    table.setFilter(filter);
    table.setFiltered(true);
    table.first();
    window.setOrderPageVisible(firstRowOrdered(table));
}

} // namespace

QString orderWindowCaption(OrderWindowMode mode)
{
    switch (mode) {
    case OrderWindowMode::Price: return windows::captions::kPrice;
    case OrderWindowMode::NewArrivals: return windows::captions::kNewArrivals;
    case OrderWindowMode::Order: return windows::captions::kOrder;
    }
    return {};
}

TOrderFrm *OpenOrderWindow(windows::MainFrmServices &main, OrderWindowMode mode, const QString &tablePath)
{
    TOrderFrm *window = nullptr;
    try {
        window = new TOrderFrm(main.childParent(), orderWindowCaption(mode), tablePath, main);
    } catch (const std::exception &error) {
        // A damaged price table or a malformed entry of properties.ini: said plainly, no window.
        platform::messages().showError(kx::userMessage(error), main.childParent());
        return nullptr;
    }
    const bool withTable = window->dbGrid()->hasDataSource() && window->hasTable();
    switch (mode) {
    case OrderWindowMode::Price:
        window->showInfoPage();
        window->setOrderPageVisible(false);
        break;
    case OrderWindowMode::NewArrivals:
        window->setOrderPageVisible(false);
        if (withTable)
            applyFilter(*window, QStringLiteral("NewFlg=1"));
        break;
    case OrderWindowMode::Order:
        if (withTable)
            applyFilter(*window, QStringLiteral("Zak<>0"));
        else
            window->setOrderPageVisible(false);
        break;
    }
    main.showChild(window);
    return window;
}

} // namespace ordering
