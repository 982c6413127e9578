#include "uOrderFrm.h"

#include "errors/KxError.h"

#include "PrintOrderAction.h"

#include "ordering/ClearQuantities.h"
#include "ordering/HeaderFieldsLayout.h"
#include "ordering/NumberText.h"
#include "ordering/OrderCreation.h"
#include "ordering/OrderError.h"
#include "ordering/OrderPricing.h"
#include "ordering/PharmacyCode.h"
#include "ordering/RowStyle.h"

#include "config/IniDateTime.h"
#include "config/ProgramFiles.h"
#include "config/SettingsAccessors.h"
#include "grid/DBGrid.h"
#include "grid/FindBar.h"
#include "platform/KeyInput.h"
#include "platform/MessageService.h"
#include "platform/Services.h"
#include "tables/CodePage.h"
#include "tables/FileLookup.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"
#include "tables/TableError.h"
#include "windows/MainFrmServices.h"
#include "windows/StatusPanels.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDialog>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace ordering {

namespace {

const QString kZak = QStringLiteral("Zak");
const QString kIDRow = QStringLiteral("IDRow");
// The message is spread over the order rows, 50 characters a row.
constexpr int kMessagePerPosition = 50;
// Distributor tables carry no code page mark and are DOS Cyrillic.
constexpr int kDistributorCodePage = 866;

QString mdxPathOf(const QString &tablePath)
{
    const QFileInfo info(tablePath);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".mdx");
}

// Settings colours are stored as 0x00BBGGRR.
QColor colorFromSetting(int value) { return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff); }

int colorToSetting(const QColor &color) { return color.red() | (color.green() << 8) | (color.blue() << 16); }

int fontStyleMask(const QFont &font)
{
    return (font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0) | (font.strikeOut() ? 8 : 0);
}

void applyFontStyle(QFont &font, int mask)
{
    font.setBold(mask & 1);
    font.setItalic(mask & 2);
    font.setUnderline(mask & 4);
    font.setStrikeOut(mask & 8);
}

// A numeric column shows its number ("10" for a stored "10.00"), so that a
// markup read from N(5,2) is the same whole number as one read from C(10).
QString lookupText(const tables::Field &field)
{
    if (field.isNumeric())
        return field.isNull() ? QString() : QString::number(field.asFloat(), 'g', 15);
    return field.asString().trimmed();
}

// Moves `widget` to `left`, or further right when `before` would run into it.
void placeAfter(const QWidget *before, QWidget *widget, int left)
{
    constexpr int kGap = 4;
    widget->move(std::max(left, before->geometry().right() + 1 + kGap), widget->y());
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, int left, int top)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(left, top);
    label->adjustSize();
    return label;
}

// Characters from '-' on, the space and '"' start or extend the search.
bool takesPartInSearch(const QString &text)
{
    if (text.size() != 1)
        return false;
    const char16_t c = text.at(0).unicode();
    return c >= 45 || c == 32 || c == 34;
}

// The search is in upper case and has the key to itself; moving to another
// row or Escape ends it, as another column does.
windows::TitleSearch::Rules titleSearchRules()
{
    return {.takesPart = &takesPartInSearch,
            .upperCase = true,
            .consumesKey = true,
            .endingKeys = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Escape},
            .refreshOnEveryColumn = false};
}

// The table's calculated fields left uncomputed for a scope: a walk over
// every row that reads none of them need not compute them for each row.
class CalcFieldsSuspended {
public:
    explicit CalcFieldsSuspended(tables::Table &table)
        : table_(table), handler_(std::exchange(table.onCalcFields, nullptr))
    {
    }
    ~CalcFieldsSuspended() { table_.onCalcFields = std::move(handler_); }
    CalcFieldsSuspended(const CalcFieldsSuspended &) = delete;
    CalcFieldsSuspended &operator=(const CalcFieldsSuspended &) = delete;

private:
    tables::Table &table_;
    std::function<void(tables::Table &)> handler_;
};

} // namespace

TOrderFrm::TOrderFrm(QWidget *owner, const QString &caption, const QString &tablePath, windows::MainFrmServices &main)
    : TSaveChildFrm(owner, &main)
{
    buildForm();
    setWindowTitle(caption);

    DBGrid = new grid::DBGrid(this);
    DBGrid->setObjectName(QStringLiteral("DBGrid"));
    titleSearch_.emplace(*DBGrid, titleSearchRules());
    DBGrid->setAllowedOperations(grid::DBGrid::AllowEdit | grid::DBGrid::AllowDelete);
    DBGrid->setOption(grid::DBGrid::RowHighlight);
    DBGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { pmGrid->popup(DBGrid->viewport()->mapToGlobal(pos)); });
    connect(DBGrid, &grid::DBGrid::keyPress, this, &TOrderFrm::DBGridKeyPress);
    connect(DBGrid, &grid::DBGrid::keyDown, this, &TOrderFrm::DBGridKeyDown);
    connect(DBGrid, &grid::DBGrid::colEnter, this, &TOrderFrm::DBGridColEnter);
    auto *layout = static_cast<QVBoxLayout *>(this->layout());
    layout->insertWidget(1, DBGrid, 1);
    // Find by any words of the name, always at hand; Ctrl+F goes there.
    FindBar = new grid::FindBar(*DBGrid, this);
    layout->insertWidget(1, FindBar);
    auto *find = new QShortcut(QKeySequence::Find, this, [this] { FindBar->activate(); });
    find->setContext(Qt::WidgetWithChildrenShortcut);

    {
        const config::SettingsAccessors settings(config::settingsFileName());
        const config::SettingsAccessors::GridFont stored = settings.GetGridFont();
        QFont font(stored.name, stored.size);
        applyFontStyle(font, stored.style);
        DBGrid->setFont(font);
        QPalette palette = DBGrid->palette();
        palette.setColor(QPalette::Text, colorFromSetting(stored.color));
        DBGrid->setPalette(palette);
        DefaultPriceField = settings.GetActiveField();
    }

    if (!tables::fileExistsNoCase(tablePath)) {
        showStatus(QStringLiteral("Не найден файл ") + tablePath);
    } else {
        // A damaged table or a malformed column entry: no window opens (the
        // opener reports the error).
        prepareTable(tables::resolvePathNoCase(tablePath));
    }
    const bool withTable = hasTable();
    cbPay->setEnabled(withTable);
    DBGrid->setEnabled(withTable);
    btClearOrder->setEnabled(withTable);
    btPrint->setEnabled(withTable);
    ReturnField.reset();

    actionsUpdater_.start();
    acnCreateOrderUpdate();
    FormCreate();
}

TOrderFrm::~TOrderFrm() { runFormDestroy(); }

void TOrderFrm::buildForm()
{
    setObjectName(QStringLiteral("OrderFrm"));
    resize(808, 271);
    setFont(QFont(QStringLiteral("Tahoma"), 8));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setTabPosition(QTabWidget::West);
    PageControl1->setFixedHeight(121);

    buildInfoPage();
    buildOrderPage();
    PageControl1->addTab(tsHeader, QStringLiteral("Инфо"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Заказ"));
    PageControl1->setCurrentWidget(TabSheet1);
    // Both tab captions whole, one above the other, whatever the face and scale.
    PageControl1->tabBar()->setElideMode(Qt::ElideNone);
    PageControl1->setUsesScrollButtons(false);
    PageControl1->setFixedHeight(std::max(121, PageControl1->tabBar()->sizeHint().height() + 2));
    layoutChoiceRow();

    buildOrderBar();
    buildGridMenu();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PageControl1);
    layout->addWidget(OrderBar);

    connectControls();
}

// "Инфо": consignee and markup; the header fields follow once the table is open.
void TOrderFrm::buildInfoPage()
{
    tsHeader = new QWidget;
    tsHeader->setObjectName(QStringLiteral("tsHeader"));
    Label9 = makeLabel(tsHeader, QStringLiteral("Label9"), QStringLiteral("Получатель:"), 16, 13);
    cbPODR = new QComboBox(tsHeader);
    cbPODR->setObjectName(QStringLiteral("cbPODR"));
    cbPODR->setGeometry(87, 9, 145, cbPODR->sizeHint().height());
    Label1 = makeLabel(tsHeader, QStringLiteral("Label1"), QStringLiteral("Наценка:"), 238, 13);
    cbPay = new QComboBox(tsHeader);
    cbPay->setObjectName(QStringLiteral("cbPay"));
    cbPay->setGeometry(290, 9, 55, cbPay->sizeHint().height());
    for (const auto &[name, top, color] : {std::tuple{"Shape1", 40, Qt::gray}, std::tuple{"Shape2", 41, Qt::white}}) {
        auto *line = new QFrame(tsHeader);
        line->setObjectName(QString::fromLatin1(name));
        line->setAutoFillBackground(true);
        QPalette palette = line->palette();
        palette.setColor(QPalette::Window, color);
        line->setPalette(palette);
        line->setGeometry(0, top, 2000, 1); // as wide as the page can become
    }
}

// "Заказ": printing, creating and deleting the order, the message to the manager.
void TOrderFrm::buildOrderPage()
{
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    btPrint = new QPushButton(QStringLiteral("Печать"), TabSheet1);
    btPrint->setObjectName(QStringLiteral("btPrint"));
    btPrint->setGeometry(16, 8, 97, 25);
    acnCreateOrder = new QAction(QStringLiteral("Сформировать"), this);
    acnCreateOrder->setObjectName(QStringLiteral("acnCreateOrder"));
    Button1 = new QToolButton(TabSheet1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    Button1->setDefaultAction(acnCreateOrder);
    Button1->setGeometry(16, 39, 97, 25);
    btClearOrder = new QPushButton(QStringLiteral("Удалить"), TabSheet1);
    btClearOrder->setObjectName(QStringLiteral("btClearOrder"));
    btClearOrder->setGeometry(16, 70, 97, 25);
    makeLabel(TabSheet1, QStringLiteral("Label2"), QStringLiteral("Сообщение менеджеру:"), 150, 8);
    mmMail = new QPlainTextEdit(TabSheet1);
    mmMail->setObjectName(QStringLiteral("mmMail"));
    mmMail->setGeometry(119, 24, 185, 66);
    QLabel *label3 = makeLabel(TabSheet1, QStringLiteral("Label3"), QStringLiteral("Всего:"), 120, 96);
    lbSymCount = makeLabel(TabSheet1, QStringLiteral("lbSymCount"), QStringLiteral("0"), 153, 96);
    QLabel *label4 = makeLabel(TabSheet1, QStringLiteral("Label4"), QStringLiteral("Осталось:"), 223, 96);
    lbSymRem = makeLabel(TabSheet1, QStringLiteral("lbSymRem"), QStringLiteral("0"), 276, 96);
    // The counts run to five digits and may be negative for a moment; with a
    // face wider than Tahoma each label still follows its caption.
    for (QLabel *count : {lbSymCount, lbSymRem})
        count->resize(count->fontMetrics().horizontalAdvance(QStringLiteral("-00000")) + 2, count->height());
    placeAfter(label3, lbSymCount, 153);
    placeAfter(lbSymCount, label4, 223);
    placeAfter(label4, lbSymRem, 276);
    lbOrder = makeLabel(TabSheet1, QStringLiteral("lbOrder"), QStringLiteral("ЗАКАЗ ОТ :"), 328, 41);
    QFont orderFont(QStringLiteral("Tahoma"));
    orderFont.setPixelSize(19);
    orderFont.setBold(true);
    lbOrder->setFont(orderFont);
    lbOrder->setStyleSheet(QStringLiteral("color: blue"));
    lbOrder->adjustSize();
}

// The price date, the order sum and the number of positions.
void TOrderFrm::buildOrderBar()
{
    OrderBar = new QStatusBar(this);
    OrderBar->setObjectName(QStringLiteral("OrderBar"));
    // The widest price date panel 1 shows, so that no date is cut.
    const QString longestDate = config::formatIniDateTime(QDateTime(QDate(2026, 12, 28), QTime(23, 59, 59)));
    orderBarPanels_ = windows::makeStatusPanels(*OrderBar, 13, QStringLiteral("OrderBarPanel"),
                                                {{QStringLiteral("Дата прайса:"), 100, Qt::AlignLeft},
                                                 {QString(), 150, Qt::AlignHCenter, longestDate},
                                                 {QStringLiteral("Сумма заказа:"), 110, Qt::AlignLeft},
                                                 {QStringLiteral("0.00"), 110, Qt::AlignRight},
                                                 {QStringLiteral("Кол-во позиций:"), 120, Qt::AlignLeft},
                                                 {QStringLiteral("0"), 50, Qt::AlignLeft}});
}

void TOrderFrm::buildGridMenu()
{
    pmGrid = new QMenu(this);
    pmGrid->setObjectName(QStringLiteral("pmGrid"));
    QAction *n1 = pmGrid->addAction(QStringLiteral("Шрифт"));
    n1->setObjectName(QStringLiteral("N1"));
    connect(n1, &QAction::triggered, this, &TOrderFrm::N1Click);
}

void TOrderFrm::connectControls()
{
    connect(cbPODR, &QComboBox::activated, this, &TOrderFrm::cbPODRChange);
    connect(cbPay, &QComboBox::activated, this, &TOrderFrm::cbPayChange);
    connect(mmMail, &QPlainTextEdit::textChanged, this, &TOrderFrm::mmMailChange);
    connect(btPrint, &QPushButton::clicked, this, &TOrderFrm::btPrintClick);
    connect(btClearOrder, &QPushButton::clicked, this, &TOrderFrm::btClearOrderClick);
    connect(acnCreateOrder, &QAction::triggered, this, &TOrderFrm::acnCreateOrderExecute);
}

void TOrderFrm::layoutChoiceRow()
{
    // The consignee combo is as wide as its longest name (at least its form
    // width); the markup follows it.
    // Measured here: a combo adjusting to its contents would shrink itself
    // below its form width on a timer of its own.
    const auto fit = [](QComboBox *combo, int width) {
        int text = 0;
        for (int i = 0; i < combo->count(); ++i)
            text = std::max(text, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
        QStyleOptionComboBox option;
        option.initFrom(combo);
        const QSize needed = combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option,
                                                              QSize(text, combo->fontMetrics().height()), combo);
        combo->resize(std::max(width, needed.width()), combo->sizeHint().height());
        combo->view()->setMinimumWidth(combo->width());
    };
    placeAfter(Label9, cbPODR, 87);
    fit(cbPODR, 145);
    placeAfter(cbPODR, Label1, 238);
    placeAfter(Label1, cbPay, 290);
    fit(cbPay, 55);
}

void TOrderFrm::prepareTable(const QString &tablePath)
{
    orderBarPanels_[1]->setText(config::formatIniDateTime(GetLastRefresh()));
    openPriceTable(tablePath);
    bindTable();
    layoutHeaderFields();
    lbOrder->setText(QStringLiteral("ЗАКАЗ ОТ ")
                     + QLocale().toString(QDate::currentDate(), config::shortDateFormat(QLocale())));
    lbOrder->adjustSize();

    fillChoices();
}

// Opens the price table (its Name index built when missing) with a Zak column
// (added to an old table) and the calculated markup Extra, on its first row.
void TOrderFrm::openPriceTable(const QString &tablePath)
{
    table_ = std::make_unique<tables::Table>(tablePath);
    tables::setDefaultOpenCodePage(kDistributorCodePage);
    const QString mdxPath = mdxPathOf(tablePath);
    const bool buildIndex = !tables::fileExistsNoCase(mdxPath);
    if (buildIndex)
        showStatus(QStringLiteral("Переиндексирую таблицу..."));
    // Index definitions last until the table closes: given again for each
    // open, so that the tag exists also after a restructure.
    const auto openTable = [&] {
        if (buildIndex)
            table_->addIndexDef(QStringLiteral("Name"), QStringLiteral("Name"));
        // No tag has this name: the rows keep their stored order.
        table_->setIndexName(mdxPath);
        table_->open();
    };
    openTable();
    if (!table_->hasField(kZak)) {
        tables::FieldSpecs specs = tables::fieldSpecsOf(*table_);
        specs.push_back({kZak, tables::FieldKind::Float, 18, 8, 'N'});
        table_->close();
        showStatus(QStringLiteral("Обновляю структуру таблицы..."));
        const QString copy = tables::restructureTable(tablePath, specs);
        tables::removeTableFiles(copy); // the engine's copy of the old table; a failure does no harm
        openTable();
    }
    table_->close();
    table_->addCalculatedField(QStringLiteral("Extra"), tables::FieldKind::Float, 18, 1);
    openTable();
    table_->field(QStringLiteral("Extra")).setDisplayLabel(QStringLiteral("Наценка"));
    table_->first();
}

// The grid, the totals and the row styles over the open table.
void TOrderFrm::bindTable()
{
    tableRelease_.run = [this] {
        DBGrid->setTable(nullptr);
        table_->removeObserver(this);
        if (pricing_)
            pricing_->detach();
    };
    DBGrid->setTable(table_.get());
    table_->addObserver(this);
    ApplyColumns(*table_, *DBGrid, &EditableFields);

    pricing_ = std::make_unique<OrderPricing>(*table_, DefaultPriceField);
    pricing_->attach();
    pricing_->onTotalsChanged = [this] {
        showTotals();
        lbSymRem->setText(QString::number(kMessagePerPosition * pricing_->positionCount()));
    };
    DBGrid->setCellStyleHook([](tables::Table &table, grid::CellStyle &style) {
        const RowStyle row = rowStyle(rowFactsOf(table), QDateTime::currentDateTime());
        if (row.text)
            style.font = *row.text;
        if (row.background)
            style.background = *row.background;
        style.bold = row.bold;
    });
}

// Consignees and markups from the references, the stored choices selected.
void TOrderFrm::fillChoices()
{
    const QString references = services()->folder(windows::WorkFolder::References);
    FillLookupCombo(cbPay, references + QStringLiteral("WorkScheme.dbf"), MarkupIds, QStringLiteral("IDRow"),
                    QStringLiteral("Procent"));
    FillLookupCombo(cbPODR, references + QStringLiteral("SubCustomer.dbf"), CustomerIds, QStringLiteral("IDRow"),
                    QStringLiteral("Name"));
    layoutChoiceRow();
    const config::SettingsAccessors settings(config::settingsFileName());
    cbPODR->setCurrentIndex(cbPODR->findText(settings.GetActiveCustomer(), Qt::MatchFixedString));
    cbPay->setCurrentIndex(cbPay->findText(settings.GetActivePercent(), Qt::MatchFixedString));
    ApplyMarkup();
    orderBarPanels_[5]->setText(QString::number(pricing_->positionCount()));
    lbSymRem->setText(QString::number(kMessagePerPosition * pricing_->positionCount()));
}

void TOrderFrm::layoutHeaderFields()
{
    const HeaderLayout layout = LayoutHeaderFields(config::programFolder() + QStringLiteral("NoGridElm.ini"), *table_,
                                                   PageControl1->height() - 8);
    QFont valueFont = tsHeader->font();
    valueFont.setBold(true);
    for (const HeaderFieldPlacement &pair : layout.fields) {
        const QLabel *caption = makeLabel(tsHeader, QStringLiteral("lb") + pair.fieldName, pair.caption,
                                          pair.captionPos.x(), pair.captionPos.y());
        QLabel *value = makeLabel(tsHeader, pair.controlName, QString(), pair.valuePos.x(), pair.valuePos.y());
        placeAfter(caption, value, pair.valuePos.x()); // a long title never runs into its value
        value->setFont(valueFont);
        value->setStyleSheet(QStringLiteral("color: rgb(0, 0, 255)"));
    }
    // Bind every value control whose name names a field.
    for (QLabel *label : tsHeader->findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
        if (label->objectName().startsWith(QStringLiteral("ed")))
            if (const QString field = boundFieldOf(label->objectName(), *table_); !field.isEmpty())
                headerValues_.emplace_back(label, field);
    refreshHeaderValues();
}

void TOrderFrm::refreshHeaderValues()
{
    if (!hasTable())
        return;
    for (auto &[label, field] : headerValues_) {
        label->setText(fieldDisplayText(table_->field(field)));
        label->adjustSize();
    }
}

void TOrderFrm::tableChanged(tables::Table &, tables::TableChange change, std::uint32_t)
{
    if (change != tables::TableChange::FieldChanged && !table_->controlsDisabled())
        refreshHeaderValues();
    actionsUpdater_.requestUpdate();
}

void TOrderFrm::FillLookupCombo(QComboBox *combo, const QString &tablePath, std::vector<int> &ids,
                                const QString &idField, const QString &textField)
{
    const QSignalBlocker blocker(combo);
    combo->clear();
    ids.clear();
    if (!tables::fileExistsNoCase(tablePath)) {
        showStatus(QStringLiteral("Не найден справочник ") + tablePath);
        return;
    }
    try {
        tables::Table lookup(tables::resolvePathNoCase(tablePath));
        lookup.setReadOnly(true);
        lookup.open();
        const tables::Field id = lookup.field(idField);
        const tables::Field text = lookup.field(textField);
        for (lookup.first(); !lookup.eof(); lookup.next()) {
            ids.push_back(int(id.asInteger()));
            combo->addItem(lookupText(text));
        }
    } catch (const std::exception &error) {
        combo->clear();
        ids.clear();
        showStatus(kx::userMessage(error));
    }
}

// --- state ---

tables::Table *TOrderFrm::table() const { return table_.get(); }
bool TOrderFrm::hasTable() const { return table_ && table_->isOpen() && pricing_; }

const QString &TOrderFrm::PriceField() const
{
    static const QString none;
    return pricing_ ? pricing_->priceField() : none;
}
double TOrderFrm::OrderSum() const { return pricing_ ? pricing_->orderSum() : 0; }
int TOrderFrm::PositionCount() const { return pricing_ ? pricing_->positionCount() : 0; }
QString TOrderFrm::orderBarText(int panel) const { return orderBarPanels_.at(std::size_t(panel))->text(); }

void TOrderFrm::showInfoPage() { PageControl1->setCurrentIndex(0); }

void TOrderFrm::setOrderPageVisible(bool visible) { PageControl1->setTabVisible(1, visible); }
bool TOrderFrm::isOrderPageVisible() const { return PageControl1->isTabVisible(1); }

void TOrderFrm::showTotals()
{
    orderBarPanels_[3]->setText(generalNumberText(pricing_->orderSum()));
    orderBarPanels_[5]->setText(QString::number(pricing_->positionCount()));
}

// --- markup and consignee ---

void TOrderFrm::ApplyMarkup()
{
    if (!hasTable())
        return;
    const QString previous = pricing_->priceField();
    const int previousColumn = DBGrid->findColumn(previous);
    const int previousWidth = previousColumn >= 0 ? DBGrid->columnWidth(previousColumn) : 0;
    MarkupChange change;
    {
        // The recount reads quantities and prices only; Extra is computed
        // again for the rows the grid reads.
        const CalcFieldsSuspended noExtra(*table_);
        change = pricing_->ApplyMarkup(cbPay->currentText(), config::SettingsAccessors(config::settingsFileName()),
                                       [this](const QString &text) { showStatus(text); });
    }
    // The walk leaves the cursor in place: its row computes Extra again, with
    // the price column now shown (at construction, with the handler attached).
    table_->refresh();
    if (!change.changed)
        return;
    DBGrid->beginColumnsUpdate();
    DBGrid->fieldsChanged();
    if (const int column = DBGrid->findColumn(change.newField); column >= 0) {
        int target = column;
        if (previousColumn >= 0 && previousColumn < DBGrid->columnCount()) {
            DBGrid->moveColumn(column, previousColumn);
            target = previousColumn;
        }
        if (previousWidth > 0)
            DBGrid->setColumnWidth(target, previousWidth);
        DBGrid->setTitleAlignment(target, Qt::AlignHCenter | Qt::AlignVCenter);
    }
    DBGrid->endColumnsUpdate();
    orderBarPanels_[3]->setText(generalNumberText(pricing_->orderSum()));
}

void TOrderFrm::cbPayChange()
{
    const config::SettingsAccessors settings(config::settingsFileName());
    settings.SetActivePercent(cbPay->currentText());
    const int index = cbPay->currentIndex();
    settings.SetActivePercentID(index >= 0 && std::size_t(index) < MarkupIds.size() ? MarkupIds[std::size_t(index)]
                                                                                    : -1);
    ApplyMarkup();
}

void TOrderFrm::cbPODRChange()
{
    const config::SettingsAccessors settings(config::settingsFileName());
    settings.SetActiveCustomer(cbPODR->currentText());
    const int index = cbPODR->currentIndex();
    settings.SetActiveCustomerID(index >= 0 && std::size_t(index) < CustomerIds.size() ? CustomerIds[std::size_t(index)]
                                                                                       : -1);
}

// --- message to the manager ---

void TOrderFrm::mmMailChange()
{
    const int limit = kMessagePerPosition * PositionCount();
    const int length = int(mmMail->toPlainText().size());
    // The removal arrives through the memo's own event queue and raises
    // this handler again, until the text fits.
    if (length > limit)
        platform::keyInput().postKey(mmMail, Qt::Key_Backspace, QStringLiteral("\b"));
    lbSymCount->setText(QString::number(length));
    lbSymRem->setText(QString::number(limit - length));
}

// --- order actions ---

void TOrderFrm::btClearOrderClick()
{
    if (!hasTable())
        return;
    if (!DBGrid->postPendingEdit())
        return;
    ClearQuantities(*table_);
    orderBarPanels_[3]->setText(QStringLiteral("0.00"));
    setOrderPageVisible(false);
    mmMail->clear();
    tsHeader->setFocus();
}

void TOrderFrm::btPrintClick()
{
    if (!hasTable())
        return;
    if (!DBGrid->postPendingEdit())
        return;
    PrintOrderInput input;
    input.rows = table_.get();
    input.quantityField = kZak;
    input.priceField = PriceField();
    input.consignee = config::SettingsAccessors(config::settingsFileName()).GetActiveCustomer();
    input.payer = services()->lookupSubCustomer(QStringLiteral("Name")).toString();
    input.orderDate = QDateTime::currentDateTime();
    previewOrder(input, this);
}

void TOrderFrm::acnCreateOrderUpdate()
{
    actionsUpdater_.run(*acnCreateOrder, [this] {
        if (!hasTable())
            return false;
        if (pharmacyCodeOf(services()->lookupSubCustomer(kIDRow)) == kNoPharmacyCode) {
            actionsUpdater_.note(noPharmacyCodeText() + QStringLiteral(" Заказ сформировать нельзя."));
            return false;
        }
        const config::SettingsAccessors settings(config::settingsFileName());
        return settings.GetActivePercentID() != -1 && settings.GetActiveCustomerID() != -1;
    });
}

void TOrderFrm::acnCreateOrderExecute()
{
    acnCreateOrderUpdate();
    if (!acnCreateOrder->isEnabled())
        return;
    windows::MainFrmServices *main = services();
    if (!DBGrid->postPendingEdit())
        return;
    const config::SettingsAccessors settings(config::settingsFileName());
    OrderInput input;
    input.prices = table_.get();
    input.priceField = PriceField();
    input.message = mmMail->toPlainText();
    input.consignee = settings.GetActiveCustomer();
    input.consigneeId = settings.GetActiveCustomerID();
    input.markupId = settings.GetActivePercentID();
    input.programFolder = config::programFolder();
    input.archiveFolder = main->folder(windows::WorkFolder::Archive);
    input.ordersFolder = main->folder(windows::WorkFolder::Orders);
    input.now = QDateTime::currentDateTime();
    try {
        input.subCustomerId = pharmacyCodeOf(main->lookupSubCustomer(kIDRow));
        CreateOrder(input);
    } catch (const std::exception &error) {
        platform::messages().showError(kx::userMessage(error), this);
        return;
    }
    btClearOrderClick();
}

// --- grid keys ---

void TOrderFrm::DBGridKeyPress(grid::GridCharEvent *event)
{
    if (!hasTable())
        return;
    if (event->text == QStringLiteral("\r")) {
        enterCycle();
        return;
    }
    titleSearch_->keyPress(*table_, *event);
}

void TOrderFrm::enterCycle()
{
    if (!DBGrid->postPendingEdit())
        return;
    if (EditableFields.empty())
        return;
    const tables::Field selected = DBGrid->selectedField();
    const auto found = std::find(EditableFields.begin(), EditableFields.end(), selected);
    std::size_t next = std::size_t(found - EditableFields.begin()) + 1;
    if (next >= EditableFields.size())
        next = 0;
    if (next != 0) {
        DBGrid->setSelectedField(EditableFields[next].name());
    } else if (ReturnField) {
        DBGrid->setSelectedField(ReturnField->name());
        ReturnField.reset();
    } else {
        ReturnField = selected;
        DBGrid->setSelectedField(EditableFields[0].name());
    }
}

void TOrderFrm::DBGridKeyDown(grid::GridKeyEvent *event)
{
    if (!hasTable()) {
        event->handled = true;
        return;
    }
    if (event->key == Qt::Key_Delete && table_->state() != tables::TableState::Edit) {
        // Delete never removes a row: it empties the row's quantity.
        event->handled = true;
        if (table_->isEmpty())
            return;
        if (table_->state() == tables::TableState::Insert)
            table_->cancel();
        table_->edit();
        table_->field(kZak).clear();
        table_->post();
        return;
    }
    if (event->key == Qt::Key_Insert) {
        event->handled = true;
        return;
    }
    titleSearch_->keyDown(*table_, *event);
}

void TOrderFrm::DBGridColEnter()
{
    if (hasTable())
        titleSearch_->columnEntered(*table_);
}

// --- font ---

void TOrderFrm::N1Click()
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, QFont(), this);
    if (ok)
        DBGrid->setFont(font);
}

// --- life cycle ---

void TOrderFrm::showEvent(QShowEvent *event)
{
    TSaveChildFrm::showEvent(event);
    FormActivate();
}

void TOrderFrm::FormActivate() { DBGrid->setFocus(); }

void TOrderFrm::FormClose()
{
    // The typed quantity first: one the field refuses, or a post that fails,
    // keeps the window open.
    if (hasTable() && !DBGrid->postPendingEdit()) {
        keepOpen();
        return;
    }
    try {
        const QFont font = DBGrid->font();
        config::SettingsAccessors(config::settingsFileName())
            .SetGridFont({font.family(), font.pointSize(), colorToSetting(DBGrid->palette().color(QPalette::Text)),
                          fontStyleMask(font)});
    } catch (const std::exception &error) {
        // The grid font is not worth keeping the window open for.
        showStatus(kx::userMessage(error));
    }
}

void TOrderFrm::FormDestroy()
{
    if (hasTable()) {
        // The saved layout keeps the default price column where the last shown one was.
        tables::Field defaultField = table_->findField(DefaultPriceField);
        const int shown = DBGrid->findColumn(PriceField());
        if (defaultField.isValid() && !defaultField.isVisible() && shown >= 0) {
            const int width = DBGrid->columnWidth(shown);
            defaultField.setVisible(true);
            DBGrid->fieldsChanged();
            // The place the shown column had before the default one came back.
            if (const int column = DBGrid->findColumn(DefaultPriceField); column >= 0) {
                DBGrid->moveColumn(column, shown);
                DBGrid->setColumnWidth(DBGrid->findColumn(DefaultPriceField), width);
            }
        }
        SaveColumns(*DBGrid);
    }
    TSaveChildFrm::FormDestroy();
}

} // namespace ordering
