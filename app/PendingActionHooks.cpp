#include "PendingActionHooks.h"

#include "windows/MainFrmServices.h"

namespace app {

namespace {

void report(windows::MainFrmServices &main, const QString &what)
{
    main.setStatusText(PendingActionHooks::notAvailableText(what));
}

} // namespace

QString PendingActionHooks::notAvailableText(const QString &what)
{
    return QStringLiteral("Недоступно в этой сборке: %1").arg(what);
}

void PendingActionHooks::openOrderWindow(windows::MainFrmServices &main, ordering::OrderWindowMode mode,
                                         const QString &)
{
    report(main, ordering::orderWindowCaption(mode));
}

void PendingActionHooks::openArchiveWindow(windows::MainFrmServices &main, const QString &, const QString &,
                                           const QString &)
{
    report(main, QStringLiteral("Архив"));
}

void PendingActionHooks::openPrescriptionsWindow(windows::MainFrmServices &main, const QString &caption,
                                                 const QString &)
{
    report(main, caption);
}

void PendingActionHooks::openSettingsWindow(windows::MainFrmServices &main)
{
    report(main, QStringLiteral("Настройки"));
}

void PendingActionHooks::openDialUpWindow(windows::MainFrmServices &main) { report(main, QStringLiteral("Дозвон")); }

void PendingActionHooks::openTableWindow(windows::MainFrmServices &main, const QString &caption, const QString &)
{
    report(main, caption);
}

void PendingActionHooks::refreshAll(windows::MainFrmServices &main) { report(main, QStringLiteral("Обновить")); }

void PendingActionHooks::refreshInvoices(windows::MainFrmServices &main) { report(main, QStringLiteral("Накладные")); }

void PendingActionHooks::sendOrders(windows::MainFrmServices &main) { report(main, QStringLiteral("Отправить")); }

void PendingActionHooks::deletePrepared(windows::MainFrmServices &main) { report(main, QStringLiteral("Удалить")); }

} // namespace app
