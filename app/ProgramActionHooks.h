#pragma once

#include "PendingActionHooks.h"

namespace app {

// The hooks of the program: the windows that exist are opened, the others
// still report that they are not available.
class ProgramActionHooks : public PendingActionHooks {
public:
    void openOrderWindow(windows::MainFrmServices &main, ordering::OrderWindowMode mode,
                         const QString &tablePath) override;
    void openArchiveWindow(windows::MainFrmServices &main, const QString &archivePath, const QString &positionsPath,
                           const QString &mode) override;
    void openPrescriptionsWindow(windows::MainFrmServices &main, const QString &caption,
                                 const QString &tablePath) override;
    void openTableWindow(windows::MainFrmServices &main, const QString &caption, const QString &tablePath) override;
    void openSettingsWindow(windows::MainFrmServices &main) override;
    void openDialUpWindow(windows::MainFrmServices &main) override;
    void refreshAll(windows::MainFrmServices &main) override;
    void refreshInvoices(windows::MainFrmServices &main) override;
    void sendOrders(windows::MainFrmServices &main) override;
    void deletePrepared(windows::MainFrmServices &main) override;
};

} // namespace app
