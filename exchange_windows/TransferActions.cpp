#include "TransferActions.h"

#include "DialUpWindow.h"
#include "MainFeedback.h"
#include "uDeleteSend.h"
#include "uDialFrm.h"
#include "uFtpFrm.h"

#include "errors/KxError.h"
#include "exchange/PreparedFiles.h"
#include "ordering/PharmacyCode.h"
#include "platform/Connectivity.h"
#include "platform/MessageService.h"
#include "platform/Services.h"
#include "windows/MainFrmServices.h"

#include <QEventLoop>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>

namespace exchange_windows {

namespace {

const QString kDialCaption = QStringLiteral("Дозвон");

bool waiting = false;

struct WaitingFlag {
    WaitingFlag() { waiting = true; }
    ~WaitingFlag() { waiting = false; }
};

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Closes every child window but "Дозвон"; false when one stays open.
bool closeOtherWindows(windows::MainFrmServices &main)
{
    auto *area = qobject_cast<QMdiArea *>(main.childParent());
    if (!area)
        return true;
    bool allClosed = true;
    for (QMdiSubWindow *sub : area->subWindowList()) {
        const QWidget *child = sub->widget();
        if (child && child->windowTitle() == kDialCaption)
            continue;
        allClosed = sub->close() && allClosed;
    }
    return allClosed;
}

// The action's edge: an error ends the action with its message.
template <typename Action> void reported(Action action)
{
    try {
        action();
    } catch (const std::exception &error) {
        platform::messages().showError(kx::userMessage(error));
    }
}

} // namespace

TFtpFrm *connectAndOpenTransfer(windows::MainFrmServices &main, bool fetch, bool invoices)
{
    if (waiting)
        return nullptr;
    const WaitingFlag flag;
    if (TDialFrm *dial = findDialUpWindow(main))
        dial->stopHangUpCountdown();
    if (!platform::connectivity().IsConnected())
        OpenDialUpWindow(main);
    for (int step = 0; step <= kMaxWaitSteps; ++step) {
        if (platform::connectivity().IsConnected())
            return OpenTransferWindow(main, fetch, invoices);
        pause(kConnectionWaitMs);
        if (!main.childExists(kDialCaption))
            break;
    }
    main.setStatusText(QStringLiteral("Нет соединения с интернетом..."));
    return nullptr;
}

namespace {

void refreshAll(windows::MainFrmServices &main)
{
    if (!closeOtherWindows(main)) {
        // A window holding the price list open must not see it replaced.
        main.setStatusText(QStringLiteral("Обновление не начато: закройте открытые окна"));
        return;
    }
    connectAndOpenTransfer(main, true, false);
}

void sendOrders(windows::MainFrmServices &main)
{
    QString requests;
    int requestCount = 0;
    int orderCount = 0;
    MainFeedback feedback(main);
    if (!exchange::CountPreparedFiles(main.folder(windows::WorkFolder::Orders), feedback, requests, requestCount,
                                      orderCount))
        return;
    if (ordering::pharmacyCodeOf(main.lookupSubCustomer(QStringLiteral("IDRow"))) == ordering::kNoPharmacyCode)
        platform::messages().showMessage(ordering::noPharmacyCodeText()
                                         + QStringLiteral(" Пакет уйдёт под именем Z-1_.zip, и дистрибьютор может не "
                                                          "узнать, от кого заявки."));
    if (!platform::messages().askYesNo(exchange::sendQuestion(requests, requestCount, orderCount),
                                       QStringLiteral("Отправка файлов"), platform::MessageIcon::Question))
        return;
    connectAndOpenTransfer(main, false, false);
}

} // namespace

void acnRefreshExecute(windows::MainFrmServices &main)
{
    reported([&] { refreshAll(main); });
}

void acnRefreshInvExecute(windows::MainFrmServices &main)
{
    reported([&] { connectAndOpenTransfer(main, true, true); });
}

void acnSendExecute(windows::MainFrmServices &main)
{
    reported([&] { sendOrders(main); });
}

void acnDeleteExecute(windows::MainFrmServices &main)
{
    reported([&] { OpenDeleteSendWindow(main); });
}

} // namespace exchange_windows
