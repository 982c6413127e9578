#include "ProgramActionHooks.h"

#include "archive/ArchiveWindow.h"
#include "exchange_windows/DialUpWindow.h"
#include "exchange_windows/TransferActions.h"
#include "ordering_windows/OrderWindows.h"
#include "prescriptions_windows/PrescriptionWindows.h"
#include "settings_windows/ToolsWindow.h"
#include "windows/TableWindows.h"

#include <QCoreApplication>

namespace app {

void ProgramActionHooks::openOrderWindow(windows::MainFrmServices &main, ordering::OrderWindowMode mode,
                                         const QString &tablePath)
{
    ordering::OpenOrderWindow(main, mode, tablePath);
}

void ProgramActionHooks::openArchiveWindow(windows::MainFrmServices &main, const QString &archivePath,
                                           const QString &positionsPath, const QString &)
{
    windows::OpenArchiveWindow(main, archivePath, positionsPath);
}

void ProgramActionHooks::openPrescriptionsWindow(windows::MainFrmServices &main, const QString &caption,
                                                 const QString &tablePath)
{
    prescriptions_windows::OpenPrescriptionsWindow(main, caption, tablePath);
}

void ProgramActionHooks::openTableWindow(windows::MainFrmServices &main, const QString &caption,
                                         const QString &tablePath)
{
    windows::OpenTableWindow(main, caption, tablePath);
}

void ProgramActionHooks::openDialUpWindow(windows::MainFrmServices &main) { exchange_windows::OpenDialUpWindow(main); }

void ProgramActionHooks::refreshAll(windows::MainFrmServices &main) { exchange_windows::acnRefreshExecute(main); }

void ProgramActionHooks::refreshInvoices(windows::MainFrmServices &main)
{
    exchange_windows::acnRefreshInvExecute(main);
}

void ProgramActionHooks::sendOrders(windows::MainFrmServices &main) { exchange_windows::acnSendExecute(main); }

void ProgramActionHooks::deletePrepared(windows::MainFrmServices &main) { exchange_windows::acnDeleteExecute(main); }

void ProgramActionHooks::openSettingsWindow(windows::MainFrmServices &main)
{
    // The first argument "KVT" opens the administrator's pages.
    settings::OpenToolsWindow(main, QCoreApplication::arguments().mid(1));
}

} // namespace app
