#include "uDblGrid.h"

#include "config/ProgramFiles.h"
#include "config/SettingsAccessors.h"
#include "errors/KxError.h"
#include "grid/DBGrid.h"
#include "ordering/OrderRecreation.h"
#include "ordering/PharmacyCode.h"
#include "ordering/ViewWalk.h"
#include "ordering_windows/PrintOrderAction.h"
#include "platform/MessageService.h"
#include "platform/Services.h"
#include "schema/Catalogue.h"
#include "tables/CodePage.h"
#include "tables/FileLookup.h"
#include "tables/Table.h"
#include "tables/TableError.h"
#include "windows/Captions.h"
#include "windows/MainFrmServices.h"
#include "windows/StatusPanels.h"

#include <QComboBox>
#include <QDate>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace windows {

namespace {

const QString &kCaption = windows::captions::kArchive;
const QString kDetailTag = QStringLiteral("Detail");
const QString kStatistTag = QStringLiteral("Statist");
const QString kIDRow = QStringLiteral("IDRow");
const QString kDrug = QStringLiteral("Drug");

// Archive tables carry no code page mark and are DOS Cyrillic.
constexpr int kArchiveCodePage = 866;

// Status bar panels.
constexpr int kCountPanel = 1;
constexpr int kQuantityPanel = 3;

const char *const kMonths[] = {"Январь", "Февраль", "Март",     "Апрель",  "Май",    "Июнь",
                               "Июль",   "Август",  "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};

QFrame *makePanel(QWidget *parent, const QString &name, bool bevel)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(bevel ? QFrame::StyledPanel : QFrame::NoFrame);
    return panel;
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QComboBox *makeList(QWidget *parent, const QString &name, int width)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(false);
    combo->setFixedWidth(width);
    return combo;
}

grid::DBGrid *makeGrid(QFrame *panel, const QString &name)
{
    auto *grid = new grid::DBGrid(panel);
    grid->setObjectName(name);
    grid->setAllowedOperations({});
    grid->setOption(grid::DBGrid::RowHighlight);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid);
    return grid;
}

} // namespace

TDblGridFrm::GridsRelease::~GridsRelease()
{
    if (master)
        master->setTable(nullptr);
    if (detail)
        detail->setTable(nullptr);
}

TDblGridFrm::TDblGridFrm(QWidget *owner, const QString &archivePath, const QString &positionsPath,
                         MainFrmServices *main)
    : TSaveChildFrm(owner, main)
{
    buildForm();
    openTables(archivePath, positionsPath);

    ApplyColumns(*archive_, *DBGridMaster);
    ApplyColumns(*positions_, *DBGridDetail);
    FillYears();
    const QDate today = QDate::currentDate();
    cbYears->setCurrentIndex(cbYears->findText(QString::number(today.year())));
    cbMonth->setCurrentIndex(today.month() - 1);
    applyMonthFilter();

    LastDrug = currentDrug();
    ShowDrugStatistics(LastDrug);
    attachAfterScroll(true);

    connect(cbYears, &QComboBox::activated, this, &TDblGridFrm::cbYearsChange);
    connect(cbMonth, &QComboBox::activated, this, &TDblGridFrm::cbYearsChange);
    connect(tbCreateOrder, &QToolButton::clicked, this, &TDblGridFrm::tbCreateOrderClick);
    connect(tbPrintOrder, &QToolButton::clicked, this, &TDblGridFrm::tbPrintOrderClick);
    FormCreate();
}

TDblGridFrm::~TDblGridFrm() { runFormDestroy(); }

void TDblGridFrm::buildForm()
{
    setObjectName(QStringLiteral("DblGridFrm"));
    setWindowTitle(kCaption);
    resize(561, 311);

    DblGridToolBar = new QToolBar(this);
    DblGridToolBar->setObjectName(QStringLiteral("DblGridToolBar"));
    DblGridToolBar->setFixedHeight(38);
    DblGridToolBar->setIconSize(QSize(24, 24));
    const auto addButton = [this](const QString &name, const QString &hint, const QIcon &icon) {
        auto *button = new QToolButton(DblGridToolBar);
        button->setObjectName(name);
        button->setToolTip(hint);
        button->setStatusTip(hint);
        button->setIcon(icon);
        button->setFixedSize(39, 38);
        DblGridToolBar->addWidget(button);
        return button;
    };
    tbCreateOrder = addButton(QStringLiteral("tbCreateOrder"), QStringLiteral("Сформировать заново"),
                              style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    tbPrintOrder =
        addButton(QStringLiteral("tbPrintOrder"), QStringLiteral("Печать заказа"),
                  QIcon::fromTheme(QStringLiteral("document-print"), style()->standardIcon(QStyle::SP_FileIcon)));

    Panel1 = makePanel(this, QStringLiteral("Panel1"), true);
    Panel1->setFixedHeight(32);
    auto *choice = new QHBoxLayout(Panel1);
    choice->setContentsMargins(8, 2, 8, 2);
    Label1 = makeLabel(Panel1, QStringLiteral("Label1"), QStringLiteral("ГОД:"));
    cbYears = makeList(Panel1, QStringLiteral("cbYears"), 88);
    Label2 = makeLabel(Panel1, QStringLiteral("Label2"), QStringLiteral("МЕСЯЦ:"));
    cbMonth = makeList(Panel1, QStringLiteral("cbMonth"), 89);
    for (const char *month : kMonths)
        cbMonth->addItem(QString::fromUtf8(month));
    choice->addWidget(Label1);
    choice->addWidget(cbYears);
    choice->addSpacing(16);
    choice->addWidget(Label2);
    choice->addWidget(cbMonth);
    choice->addStretch();

    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(4);
    Splitter1->setChildrenCollapsible(false);
    Panel2 = makePanel(Splitter1, QStringLiteral("Panel2"), false);
    Panel3 = makePanel(Splitter1, QStringLiteral("Panel3"), false);
    Splitter1->addWidget(Panel2);
    Splitter1->addWidget(Panel3);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({82, 311 - 38 - 32 - 25 - 4 - 82});
    DBGridMaster = makeGrid(Panel2, QStringLiteral("DBGridMaster"));
    DBGridDetail = makeGrid(Panel3, QStringLiteral("DBGridDetail"));
    // The drug's months at a glance, beside its positions.
    DrugChart = new DrugHistoryChart(Panel3);
    DrugChart->setObjectName(QStringLiteral("DrugChart"));
    if (auto *row = qobject_cast<QBoxLayout *>(Panel3->layout())) {
        row->setDirection(QBoxLayout::LeftToRight);
        row->addWidget(DrugChart);
        row->setStretch(0, 1);
    }

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setFixedHeight(25);
    statusPanels_ = makeStatusPanels(*StatusBar, 15, QStringLiteral("StatusPanel"),
                                     {{QStringLiteral("Кол-во заказов:"), 130, Qt::AlignLeft},
                                      {QStringLiteral("0"), 50, Qt::AlignRight, QStringLiteral("999999")},
                                      {QStringLiteral("Кол-во шт:"), 95, Qt::AlignLeft},
                                      {QStringLiteral("0"), 50, Qt::AlignRight, QStringLiteral("9999999")},
                                      {QString(), 50, Qt::AlignLeft}});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(DblGridToolBar);
    layout->addWidget(Panel1);
    layout->addWidget(Splitter1, 1);
    layout->addWidget(StatusBar);
}

void TDblGridFrm::openTables(const QString &archivePath, const QString &positionsPath)
{
    for (const QString &path : {archivePath, positionsPath})
        if (!tables::fileExistsNoCase(path))
            throw tables::TableError(QStringLiteral("Не найден файл ") + path);
    archive_ = std::make_unique<tables::Table>(tables::resolvePathNoCase(archivePath));
    positions_ = std::make_unique<tables::Table>(tables::resolvePathNoCase(positionsPath));
    // Read-only before opening: nothing here writes to the archive.
    archive_->setReadOnly(true);
    positions_->setReadOnly(true);
    tables::setDefaultOpenCodePage(kArchiveCodePage);
    archive_->open();
    orderMonths_.load(*archive_);

    positions_->addIndexDef(kDetailTag, QStringLiteral("Parent"));
    positions_->addIndexDef(kStatistTag, kDrug);
    positions_->setIndexName(kDetailTag);
    positions_->open();

    // Linked before the grid is bound: the grid then lists one order's
    // positions, not the whole archive.
    positions_->setMasterLink(archive_.get(), kIDRow);
    archive_->setFiltered(true);

    gridsRelease_.master = DBGridMaster;
    gridsRelease_.detail = DBGridDetail;
    DBGridMaster->setTable(archive_.get());
    DBGridDetail->setTable(positions_.get());
}

void TDblGridFrm::FillYears()
{
    cbYears->clear();
    QString folder = QFileInfo(archive_->path()).absolutePath();
    if (MainFrmServices *main = services())
        folder = main->folder(WorkFolder::Archive);
    tables::Table headers(tables::findFileNoCase(folder, schema::kArchive));
    headers.setReadOnly(true);
    headers.open();
    const tables::Field date = headers.field(QStringLiteral("DateZ"));
    std::optional<int> previous;
    headers.forEachVisible([&](std::uint32_t) {
        const int year = date.asDate().year();
        if (previous != year)
            cbYears->addItem(QString::number(year));
        previous = year;
    });
}

void TDblGridFrm::applyMonthFilter()
{
    // Without a year no archived order can match; a negative year says so
    // in a filter the engine accepts.
    const QString year = cbYears->currentIndex() < 0 ? QStringLiteral("-1") : cbYears->currentText();
    archive_->setFilter(QStringLiteral("Year = %1 and Month = %2").arg(year).arg(cbMonth->currentIndex() + 1));
}

void TDblGridFrm::cbYearsChange()
{
    {
        ordering::ControlsSuspended suspended(*archive_);
        applyMonthFilter();
    }
    archive_->refresh();
    positions_->refresh();
}

std::int32_t TDblGridFrm::currentDrug() const
{
    if (positions_->isEmpty())
        return 0;
    return std::int32_t(positions_->field(kDrug).asInteger());
}

void TDblGridFrm::attachAfterScroll(bool attach)
{
    if (attach)
        positions_->afterScroll = [this](tables::Table &) { DetailAfterScroll(); };
    else
        positions_->afterScroll = nullptr;
}

void TDblGridFrm::ShowDrugStatistics(std::int32_t drug)
{
    ++statisticsRuns_;
    attachAfterScroll(false);
    ordering::ControlsSuspended suspended(*positions_);
    const tables::Bookmark position = positions_->bookmark();
    const auto restore = [&] {
        positions_->setIndexName(kDetailTag);
        positions_->setMasterLink(archive_.get(), kIDRow);
        if (position)
            positions_->gotoBookmark(position);
        attachAfterScroll(true);
    };
    try {
        countDrug(drug);
    } catch (...) {
        // The grid gets its order's positions back before the error goes on.
        try {
            restore();
        } catch (const std::exception &) {
        }
        attachAfterScroll(true);
        throw;
    }
    restore();
    DrugChart->setHistory(history_);
    setStatusPanel(kCountPanel, QString::number(PositionCount));
    setStatusPanel(kQuantityPanel, QString::number(TotalQuantity));
}

void TDblGridFrm::countDrug(std::int32_t drug)
{
    PositionCount = 0;
    TotalQuantity = 0;
    const QDate today = QDate::currentDate();
    history_ = DrugHistory{QDate(today.year(), today.month(), 1), {}};
    positions_->setMasterLink(nullptr, QString());
    positions_->setIndexName(kStatistTag);
    positions_->refresh();
    positions_->first();
    if (!positions_->locate(kDrug, drug))
        return;
    const tables::Field drugField = positions_->field(kDrug);
    const tables::Field quantity = positions_->field(QStringLiteral("Qnt"));
    const tables::Field order = positions_->findField(QStringLiteral("Parent"));
    while (!positions_->eof() && drugField.asInteger() == drug) {
        ++PositionCount;
        TotalQuantity += std::int32_t(quantity.asInteger());
        if (const int month = order.isValid() ? orderMonths_.monthOf(order.asInteger()) : -1; month >= 0)
            history_.add(month / 12, month % 12 + 1, quantity.asFloat());
        positions_->next();
    }
}

void TDblGridFrm::DetailAfterScroll()
{
    const std::int32_t drug = currentDrug();
    if (drug == LastDrug)
        return;
    LastDrug = drug;
    ShowDrugStatistics(drug);
}

void TDblGridFrm::tbCreateOrderClick()
{
    MainFrmServices *main = services();
    if (archive_->isEmpty()) {
        showStatus(QStringLiteral("Нет заказа для повторного формирования: в этом месяце архив пуст."));
        return;
    }
    const config::SettingsAccessors settings(config::settingsFileName());
    ordering::RecreateInput input;
    input.header = archive_.get();
    input.positions = positions_.get();
    input.programFolder = config::programFolder();
    input.ordersFolder = main ? main->folder(WorkFolder::Orders) : QString();
    input.markupId = settings.GetActivePercentID();
    input.consigneeId = settings.GetActiveCustomerID();
    input.now = QDateTime::currentDateTime();
    try {
        input.subCustomerId =
            main ? ordering::pharmacyCodeOf(main->lookupSubCustomer(kIDRow)) : ordering::kNoPharmacyCode;
        const ordering::RecreatedOrder recreated = ordering::RecreateOrder(input);
        showStatus(ordering::recreatedText(recreated.number));
    } catch (const std::exception &error) {
        platform::messages().showError(kx::userMessage(error), this);
    }
}

void TDblGridFrm::tbPrintOrderClick()
{
    if (archive_->isEmpty()) {
        showStatus(QStringLiteral("Нет заказа для печати: в этом месяце архив пуст."));
        return;
    }
    ordering::PrintOrderInput input;
    input.rows = positions_.get();
    input.orderNumber = int(archive_->field(QStringLiteral("NumZ")).asInteger());
    input.quantityField = QStringLiteral("Qnt");
    input.priceField = QStringLiteral("Price");
    input.consignee = archive_->field(QStringLiteral("Podr")).asString();
    input.orderDate = archive_->field(QStringLiteral("DateZ")).asDate().startOfDay();
    if (MainFrmServices *main = services())
        input.payer = main->lookupSubCustomer(QStringLiteral("Name")).toString();
    ordering::previewOrder(input, this);
}

void TDblGridFrm::FormDestroy()
{
    SaveColumns(*DBGridMaster);
    SaveColumns(*DBGridDetail);
    TSaveChildFrm::FormDestroy();
}

QString TDblGridFrm::statusPanelText(int panel) const { return statusPanels_.at(std::size_t(panel))->text(); }

void TDblGridFrm::setStatusPanel(int panel, const QString &text)
{
    statusPanels_.at(std::size_t(panel))->setText(text);
}

} // namespace windows
