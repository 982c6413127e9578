#pragma once

#include "app/ActionHooks.h"

#include <QStringList>

// Records which hook an action ran and with what.
class RecordingHooks : public app::ActionHooks {
public:
    QStringList calls;

    void openOrderWindow(windows::MainFrmServices &, ordering::OrderWindowMode mode, const QString &path) override
    {
        calls << QStringLiteral("order %1 %2").arg(ordering::orderWindowCaption(mode), path);
    }
    void openArchiveWindow(windows::MainFrmServices &, const QString &archive, const QString &positions,
                           const QString &mode) override
    {
        calls << QStringLiteral("archive %1 %2 %3").arg(archive, positions, mode);
    }
    void openPrescriptionsWindow(windows::MainFrmServices &, const QString &caption, const QString &path) override
    {
        calls << QStringLiteral("prescriptions %1 %2").arg(caption, path);
    }
    void openSettingsWindow(windows::MainFrmServices &) override { calls << QStringLiteral("settings"); }
    void openDialUpWindow(windows::MainFrmServices &) override { calls << QStringLiteral("dialup"); }
    void openTableWindow(windows::MainFrmServices &, const QString &caption, const QString &path) override
    {
        calls << QStringLiteral("table %1 %2").arg(caption, path);
    }
    void refreshAll(windows::MainFrmServices &) override { calls << QStringLiteral("refreshAll"); }
    void refreshInvoices(windows::MainFrmServices &) override { calls << QStringLiteral("refreshInvoices"); }
    void sendOrders(windows::MainFrmServices &) override { calls << QStringLiteral("send"); }
    void deletePrepared(windows::MainFrmServices &) override { calls << QStringLiteral("delete"); }
};
