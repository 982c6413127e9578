#include "uFtpFrm.h"

#include "DialUpWindow.h"
#include "MainFeedback.h"
#include "uDialFrm.h"

#include "config/ProgramFiles.h"
#include "config/SettingsAccessors.h"
#include "errors/KxError.h"
#include "exchange/FetchSteps.h"
#include "exchange/SubCustomerList.h"
#include "exchange/TransferLibrary.h"
#include "exchange/UploadSteps.h"
#include "ordering/PharmacyCode.h"
#include "platform/MessageService.h"
#include "platform/Services.h"
#include "windows/MainFrmServices.h"

#include <QListWidget>
#include <QThread>
#include <QVBoxLayout>

namespace exchange_windows {

using windows::WorkFolder;

namespace {

const QString kCaption = QStringLiteral("FTP");
constexpr int kClientWidth = 404;
constexpr int kClientHeight = 193;

config::SettingsAccessors settings() { return config::SettingsAccessors(config::settingsFileName()); }

} // namespace

TFtpFrm::TFtpFrm(windows::MainFrmServices &main, bool fetch, bool invoices)
    : TSaveChildFrm(main.childParent(), &main), Mode(fetch ? FetchPending : UploadPending), Invoices(invoices),
      main_(main)
{
    setObjectName(QStringLiteral("FtpFrm"));
    setWindowTitle(kCaption);
    setWindowFlag(Qt::Tool);
    resize(kClientWidth, kClientHeight);
    InfoBox = new QListWidget(this);
    InfoBox->setObjectName(QStringLiteral("InfoBox"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(InfoBox);

    Timer1.setInterval(kCloseAfterMs);
    Timer1.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, &TFtpFrm::Timer1Timer);
    connect(this, &TFtpFrm::lineArrived, this, &TFtpFrm::addLine, Qt::QueuedConnection);
    FormCreate();
}

QSize TFtpFrm::sizeHint() const { return {kClientWidth, kClientHeight}; }

TFtpFrm::~TFtpFrm()
{
    // Only when the program goes while a call runs: the call ends by its time-outs.
    if (worker_)
        worker_->wait();
}

void TFtpFrm::showEvent(QShowEvent *event)
{
    TSaveChildFrm::showEvent(event);
    QTimer::singleShot(0, this, &TFtpFrm::FormActivate);
}

void TFtpFrm::addLine(const QString &line)
{
    InfoBox->addItem(line);
    InfoBox->scrollToBottom();
}

void TFtpFrm::FormActivate()
{
    if (Mode == Started)
        return;
    const bool fetch = Mode == FetchPending;
    Mode = Started;
    busy_ = true;
    try {
        library_ = std::make_unique<exchange::TransferLibrary>();
        if (fetch)
            startFetch();
        else
            startUpload();
    } catch (const std::exception &error) {
        fail(error);
    }
}

void TFtpFrm::fail(const std::exception &error)
{
    library_.reset();
    busy_ = false;
    platform::messages().showError(kx::userMessage(error), this);
    emit transferDone(false);
}

void TFtpFrm::startFetch()
{
    ids_ = exchange::subCustomerIds(main_.folder(WorkFolder::References));
    const bool passive = settings().GetPassiveMode();
    const QList<int> ids = ids_;
    const bool invoices = Invoices;
    exchange::TransferLibrary *library = library_.get();
    runCall([library, ids, invoices,
             passive](const exchange::TransferLine &line) { return library->getFiles(line, ids, invoices, passive); },
            &TFtpFrm::fetchReturned);
}

void TFtpFrm::startUpload()
{
    MainFeedback feedback(main_, this);
    exchange::packPreparedFiles(main_.folder(WorkFolder::Orders),
                                ordering::pharmacyCodeOf(main_.lookupSubCustomer(QStringLiteral("IDRow"))), feedback);
    const bool passive = settings().GetPassiveMode();
    exchange::TransferLibrary *library = library_.get();
    runCall([library, passive](const exchange::TransferLine &line) { return library->putFiles(line, passive); },
            &TFtpFrm::uploadReturned);
}

void TFtpFrm::runCall(std::function<bool(const exchange::TransferLine &)> call, void (TFtpFrm::*returned)(bool))
{
    worker_ = QThread::create([this, call = std::move(call), returned] {
        const exchange::TransferLine line = [this](const QString &text) { emit lineArrived(text); };
        const bool result = call(line);
        QMetaObject::invokeMethod(
            this, [this, returned, result] { (this->*returned)(result); }, Qt::QueuedConnection);
    });
    worker_->start();
}

void TFtpFrm::finishWorker()
{
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
}

void TFtpFrm::fetchReturned(bool result)
{
    finishWorker();
    library_.reset();
    try {
        exchange::ExchangeFolders folders;
        folders.price = main_.folder(WorkFolder::Price);
        folders.orders = main_.folder(WorkFolder::Orders);
        folders.invoices = main_.folder(WorkFolder::Invoices);
        folders.references = main_.folder(WorkFolder::References);
        folders.archive = main_.folder(WorkFolder::Archive);
        folders.prescriptions = main_.folder(WorkFolder::Prescriptions);
        folders.narcotics = main_.folder(WorkFolder::Narcotics);
        folders.program = config::programFolder();
        MainFeedback feedback(main_, this);
        exchange::processFetched(folders, result, ids_, settings().GetActiveCustomerID(), config::propertiesFileName(),
                                 feedback);
        main_.rebuildTableMenus();
    } catch (const std::exception &error) {
        fail(error);
        return;
    }
    busy_ = false;
    Timer1.start();
    emit transferDone(true);
}

void TFtpFrm::uploadReturned(bool result)
{
    finishWorker();
    main_.setStatusText(result ? QStringLiteral("Заявки отправлены!") : QStringLiteral("Повторите отправку заявок!"));
    library_.reset();
    busy_ = false;
    Timer1.start();
    emit transferDone(true);
}

void TFtpFrm::Timer1Timer() { closeWindow(); }

void TFtpFrm::FormClose()
{
    if (busy_) {
        main_.setStatusText(QStringLiteral("Дождитесь окончания обмена"));
        keepOpen();
        return;
    }
    if (TDialFrm *dial = findDialUpWindow(main_))
        dial->startHangUpCountdown();
}

TFtpFrm *OpenTransferWindow(windows::MainFrmServices &main, bool fetch, bool invoices)
{
    auto *window = new TFtpFrm(main, fetch, invoices);
    main.showChild(window);
    return window;
}

} // namespace exchange_windows
