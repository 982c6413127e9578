#include "uMainFrm.h"

#include "ActionHooks.h"
#include "ActionRules.h"
#include "ChildLookup.h"
#include "MainGeometry.h"
#include "ProgramActionHooks.h"
#include "StartupHangUp.h"
#include "SubCustomerLookup.h"
#include "TableMenuEntries.h"
#include "ToolBarPanel.h"

#include "errors/KxError.h"

#include "config/IniFile.h"
#include "config/ProgramFiles.h"
#include "config/SettingsAccessors.h"
#include "platform/Connectivity.h"
#include "platform/FileSystem.h"
#include "platform/Services.h"
#include "platform_widgets/ErrorReportingApplication.h"
#include "schema/Catalogue.h"
#include "tables/FileLookup.h"
#include "windows/Captions.h"
#include "windows/IdleActionUpdater.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <QVBoxLayout>

namespace app {

using windows::WorkFolder;

namespace {

namespace captions = windows::captions;

QString fileIn(const QString &folder, const QString &name) { return tables::findFileNoCase(folder, name); }

bool fileExists(const QString &folder, const QString &name) { return QFileInfo(fileIn(folder, name)).isFile(); }

} // namespace

QString TMainFrm::baseCaption() { return QStringLiteral("Заказы в ГУП \"ОРЕЛИКС\""); }

TMainFrm::TMainFrm(std::shared_ptr<ActionHooks> hooks, QWidget *parent)
    : QMainWindow(parent), actions_(this), hooks_(hooks ? std::move(hooks) : std::make_shared<ProgramActionHooks>())
{
    setObjectName(QStringLiteral("MainFrm"));
    setWindowTitle(baseCaption());

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    toolBar_ = new ToolBarPanel(central);
    actions_.fillToolBar(*toolBar_);
    column->addWidget(toolBar_);
    auto *rule = new QFrame(central);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    column->addWidget(rule);
    mdi_ = new QMdiArea(central);
    mdi_->setObjectName(QStringLiteral("ClientArea"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    column->addWidget(mdi_, 1);
    setCentralWidget(central);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusBar"));
    QFont bold = status_->font();
    bold.setBold(true);
    status_->setFont(bold);
    QPalette palette = status_->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    status_->setPalette(palette);
    statusBar()->addWidget(status_, 1);
    statusBar()->setSizeGripEnabled(true);

    connectActions();

    runStartupStep([] { OfferToHangUpActiveConnections(); });
    runStartupStep([this] { MainGeometry::read(config::IniFile(config::settingsFileName())).applyTo(*this); });
    fixFolders();
    runStartupStep([this] { BuildTableMenu(folders_[WorkFolder::References], actions_.pmReference); });
    runStartupStep([this] { BuildTableMenu(folders_[WorkFolder::Invoices], actions_.pmInvoice); });
    runStartupStep([this] { extendCaption(); });
    folders_.createMissing();
    addOptionalItems();

    // An error of the rules is shown in a message box, once: the box's own
    // window would start the next update.
    idle_ = new windows::IdleActionUpdater(
        windows::IdleActionUpdater::Idle::AfterEvents, [this] { ActionList1Update(); },
        [](const QString &message) { platform::ErrorReportingApplication::reportError(kx::Error(message)); }, this);
    idle_->start();
    ActionList1Update();
}

TMainFrm::~TMainFrm()
{
    delete idle_;
    idle_ = nullptr;
    // Child windows go first, while the services they may call still exist.
    delete mdi_;
    mdi_ = nullptr;
}

// A failing step is reported and the window is still created: a damaged
// table or an unanswered platform call must not keep the program from starting.
void TMainFrm::runStartupStep(const std::function<void()> &step)
{
    try {
        step();
    } catch (const std::exception &error) {
        platform::ErrorReportingApplication::reportError(error);
    }
}

void TMainFrm::fixFolders()
{
    try {
        folders_ = WorkFolders::fromSettings(config::IniFile(config::settingsFileName()), config::programFolder());
    } catch (const std::exception &error) {
        folders_ = WorkFolders::defaults(config::programFolder());
        platform::ErrorReportingApplication::reportError(error);
    }
}

void TMainFrm::extendCaption()
{
    const QVariant id = lookupSubCustomer(QStringLiteral("IDRow"));
    if (id.isNull() || !id.isValid())
        return;
    bool numeric = false;
    const qlonglong value = id.toLongLong(&numeric);
    if (!numeric || value < 0)
        return;
    setWindowTitle(baseCaption() + u'(' + lookupSubCustomer(QStringLiteral("Name")).toString() + u')');
}

void TMainFrm::addOptionalItems()
{
    const QString prescriptions = folders_[WorkFolder::Prescriptions];
    if (fileExists(prescriptions, schema::kPharmCom)) {
        actions_.addPrescriptionItems();
        runStartupStep([&] { schema::createPrescriptionTable(prescriptions); });
    }
    if (fileExists(folders_[WorkFolder::Narcotics], schema::kNarcoticsPrice))
        actions_.addNarcoticsItems();
}

// The folder picks the table: the narcotics price list in its folder, else price.dbf.
void TMainFrm::openOrderWindow(ordering::OrderWindowMode mode, WorkFolder folder)
{
    const QString path = folder == WorkFolder::Narcotics ? fileIn(folders_[folder], schema::kNarcoticsPrice)
                                                         : fileIn(folders_[folder], schema::kPrice);
    hooks_->openOrderWindow(*this, mode, path);
}

void TMainFrm::connectActions()
{
    const MainActions &a = actions_;
    using ordering::OrderWindowMode;
    const auto order = [this](OrderWindowMode mode, WorkFolder folder) {
        return [this, mode, folder] { openOrderWindow(mode, folder); };
    };
    connect(a.acnPrice, &QAction::triggered, this, order(OrderWindowMode::Price, WorkFolder::Price));
    connect(a.acnPriceFull, &QAction::triggered, this, order(OrderWindowMode::Price, WorkFolder::Price));
    connect(a.acnNewPrice, &QAction::triggered, this, order(OrderWindowMode::NewArrivals, WorkFolder::Price));
    connect(a.acnOrder, &QAction::triggered, this, order(OrderWindowMode::Order, WorkFolder::Price));
    connect(a.acnOutboundn, &QAction::triggered, this, order(OrderWindowMode::Price, WorkFolder::Narcotics));
    connect(a.acnOutboundnOrder, &QAction::triggered, this, order(OrderWindowMode::Order, WorkFolder::Narcotics));
    connect(a.acnArchive, &QAction::triggered, this, [this] {
        const QString archive = folders_[WorkFolder::Archive];
        hooks_->openArchiveWindow(*this, fileIn(archive, schema::kArchive), fileIn(archive, schema::kArchivePositions),
                                  captions::kOrder);
    });
    connect(a.acnPrescription, &QAction::triggered, this, [this] {
        hooks_->openPrescriptionsWindow(*this, captions::kPrescriptions,
                                        fileIn(folders_[WorkFolder::Prescriptions], schema::kPrescriptions));
    });
    connect(a.acnTools, &QAction::triggered, this, [this] { hooks_->openSettingsWindow(*this); });
    connect(a.acnConnect, &QAction::triggered, this, [this] { hooks_->openDialUpWindow(*this); });
    connect(a.acnRefreshAll, &QAction::triggered, this, [this] { hooks_->refreshAll(*this); });
    connect(a.acnRefreshInv, &QAction::triggered, this, [this] { hooks_->refreshInvoices(*this); });
    connect(a.acnSend, &QAction::triggered, this, [this] { hooks_->sendOrders(*this); });
    connect(a.acnDelete, &QAction::triggered, this, [this] { hooks_->deletePrepared(*this); });
    connect(a.WindowCascade1, &QAction::triggered, this, [this] { mdi_->cascadeSubWindows(); });
    connect(a.WindowArrange1, &QAction::triggered, this, [this] { arrangeMinimised(); });
    connect(a.WindowClose1, &QAction::triggered, this, [this] { mdi_->closeActiveSubWindow(); });
}

void TMainFrm::arrangeMinimised()
{
    int x = 0;
    for (QMdiSubWindow *frame : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        if (!frame->isMinimized())
            continue;
        frame->move(x, mdi_->viewport()->height() - frame->height());
        x += frame->width();
    }
}

QString TMainFrm::folder(WorkFolder which) const { return folders_[which]; }

void TMainFrm::setFolder(WorkFolder which, const QString &path) { folders_.set(which, path); }

void TMainFrm::setStatusText(const QString &text) { status_->setText(text); }

QString TMainFrm::statusText() const { return status_->text(); }

QVariant TMainFrm::lookupSubCustomer(const QString &field)
{
    return LookupSubCustomer(folders_[WorkFolder::References], field);
}

QWidget *TMainFrm::findChildByCaption(const QString &caption) const
{
    return mdi_ ? FindChildByCaption(*mdi_, caption) : nullptr;
}

bool TMainFrm::childExists(const QString &caption) const { return findChildByCaption(caption) != nullptr; }

void TMainFrm::rebuildTableMenus()
{
    BuildTableMenu(folders_[WorkFolder::References], actions_.pmReference);
    BuildTableMenu(folders_[WorkFolder::Invoices], actions_.pmInvoice);
}

QWidget *TMainFrm::childParent() { return mdi_; }

void TMainFrm::showChild(QWidget *child)
{
    QMdiSubWindow *frame = mdi_->addSubWindow(child);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->show();
}

void TMainFrm::BuildTableMenu(const QString &folder, QMenu *menu)
{
    for (QAction *old : menu->actions()) {
        menu->removeAction(old);
        std::erase_if(tableActions_, [old](const TableAction &t) { return t.action == old; });
        old->deleteLater();
    }
    for (const TableMenuEntry &entry : listTableMenuEntries(folder, config::propertiesFileName())) {
        auto *action = new QAction(entry.caption, this);
        action->setToolTip(entry.path);
        action->setStatusTip(entry.path);
        action->setData(entry.path);
        connect(action, &QAction::triggered, this,
                [this, caption = entry.caption, path = entry.path] { hooks_->openTableWindow(*this, caption, path); });
        menu->addAction(action);
        tableActions_.push_back({action, entry.caption});
    }
    for (const TableAction &t : tableActions_)
        t.action->setEnabled(!childExists(t.caption));
}

config::SettingsAccessors TMainFrm::settings() const { return config::SettingsAccessors(config::settingsFileName()); }

void TMainFrm::ActionList1Update()
{
    ActionRuleInputs in;
    in.connected = platform::connectivity().IsConnected();
    in.transferRunning = childExists(captions::kTransfer);
    in.dialUpOpen = childExists(captions::kDialUp);
    in.orderOpen = childExists(captions::kOrder);
    in.priceOpen = childExists(captions::kPrice);
    in.newPriceOpen = childExists(captions::kNewArrivals);
    in.toolsOpen = childExists(captions::kTools);
    in.archiveOpen = childExists(captions::kArchive);
    in.prescriptionsOpen = childExists(captions::kPrescriptions);
    in.ordersFolderEmpty = platform::IsFolderEmpty(folders_[WorkFolder::Orders]);
    in.invoicesFolderEmpty = platform::IsFolderEmpty(folders_[WorkFolder::Invoices]);
    in.referencesFolderEmpty = platform::IsFolderEmpty(folders_[WorkFolder::References]);
    in.archiveFolderEmpty = platform::IsFolderEmpty(folders_[WorkFolder::Archive]);
    in.priceTableExists = fileExists(folders_[WorkFolder::Price], schema::kPrice);

    const ActionStates s = evaluateActionRules(in);
    const MainActions &a = actions_;
    a.acnConnect->setEnabled(s.connect);
    a.acnRefresh->setEnabled(s.refresh);
    a.acnSend->setEnabled(s.send);
    a.acnInvoice->setEnabled(s.invoice);
    a.acnOrder->setEnabled(s.order);
    a.acnPriceFull->setEnabled(s.priceFull);
    a.acnNewPrice->setEnabled(s.newPrice);
    a.acnTools->setEnabled(s.tools);
    a.acnReference->setEnabled(s.reference);
    a.acnArchive->setEnabled(s.archive);
    a.acnPrescription->setEnabled(s.prescription);
    a.acnOutboundn->setEnabled(s.outboundn);
    for (const TableAction &t : tableActions_)
        t.action->setEnabled(!childExists(t.caption));
}

void TMainFrm::closeEvent(QCloseEvent *event)
{
    // Each child window closes first, posting what was typed into it; one that
    // refuses (its post failed and it says why) keeps the program running.
    for (QMdiSubWindow *child : mdi_->subWindowList()) {
        if (!child->close()) {
            event->ignore();
            return;
        }
    }
    // A settings file that cannot be written is reported; the window still closes.
    try {
        MainGeometry::of(*this).write(config::IniFile(config::settingsFileName()));
    } catch (const std::exception &error) {
        platform::ErrorReportingApplication::reportError(error);
    }
    event->accept();
}

} // namespace app
