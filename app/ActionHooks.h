#pragma once

#include "ordering_windows/OrderWindows.h"

#include <QString>

namespace windows {
class MainFrmServices;
}

namespace app {

// What the main window's actions do. The libraries of the windows supply the
// implementation; the main window only decides when an action may run and
// with which folder paths. Every window opened here is owned by the main
// window and shown at once (MainFrmServices::showChild).
class ActionHooks {
public:
    virtual ~ActionHooks() = default;

    // acnPrice, acnPriceFull, acnNewPrice, acnOrder over price.dbf; acnOutboundn (Price) and
    // acnOutboundnOrder (Order) over PriceN.dbf.
    virtual void openOrderWindow(windows::MainFrmServices &main, ordering::OrderWindowMode mode,
                                 const QString &tablePath) = 0;
    // acnArchive: archive folder + "Archiv.dbf" and + "ArchivPos.dbf", mode word "ЗАКАЗ".
    virtual void openArchiveWindow(windows::MainFrmServices &main, const QString &archivePath,
                                   const QString &positionsPath, const QString &mode) = 0;
    // acnPrescription: caption "Рецепты", prescriptions folder + "prescr.dbf".
    virtual void openPrescriptionsWindow(windows::MainFrmServices &main, const QString &caption,
                                         const QString &tablePath) = 0;
    virtual void openSettingsWindow(windows::MainFrmServices &main) = 0;
    // acnConnect: the dial-up window "Дозвон".
    virtual void openDialUpWindow(windows::MainFrmServices &main) = 0;
    // An item of the reference or invoice menu.
    virtual void openTableWindow(windows::MainFrmServices &main, const QString &caption, const QString &tablePath) = 0;

    virtual void refreshAll(windows::MainFrmServices &main) = 0; // acnRefreshAll
    virtual void refreshInvoices(windows::MainFrmServices &main) = 0; // acnRefreshInv
    virtual void sendOrders(windows::MainFrmServices &main) = 0; // acnSend
    virtual void deletePrepared(windows::MainFrmServices &main) = 0; // acnDelete
};

} // namespace app
