#pragma once

#include "ActionHooks.h"

namespace app {

// Stands in for windows that are not part of the program yet: the action
// reports in the status line that its window is not available.
class PendingActionHooks : public ActionHooks {
public:
    void openOrderWindow(windows::MainFrmServices &main, ordering::OrderWindowMode mode,
                         const QString &tablePath) override;
    void openArchiveWindow(windows::MainFrmServices &main, const QString &archivePath, const QString &positionsPath,
                           const QString &mode) override;
    void openPrescriptionsWindow(windows::MainFrmServices &main, const QString &caption,
                                 const QString &tablePath) override;
    void openSettingsWindow(windows::MainFrmServices &main) override;
    void openDialUpWindow(windows::MainFrmServices &main) override;
    void openTableWindow(windows::MainFrmServices &main, const QString &caption, const QString &tablePath) override;
    void refreshAll(windows::MainFrmServices &main) override;
    void refreshInvoices(windows::MainFrmServices &main) override;
    void sendOrders(windows::MainFrmServices &main) override;
    void deletePrepared(windows::MainFrmServices &main) override;

    static QString notAvailableText(const QString &what);
};

} // namespace app
