#include "uPharmComp.h"

#include "uCountFrm.h"

#include "errors/KxError.h"
#include "grid/DBGrid.h"
#include "platform/MessageService.h"
#include "platform/Services.h"
#include "prescriptions/ComponentFilter.h"
#include "prescriptions/ComponentList.h"
#include "schema/Catalogue.h"
#include "schema/PrescriptionFields.h"
#include "tables/CodePage.h"
#include "tables/FileLookup.h"
#include "tables/Table.h"
#include "windows/Captions.h"
#include "windows/uGridFrm.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStyle>
#include <QVBoxLayout>

namespace prescriptions_windows {

namespace f = schema::prescr;

namespace {

const QString &kCaption = windows::captions::kComponents;
constexpr QSize kClientSize(615, 458);
constexpr int kGridWidth = 433;
constexpr int kSearchHeight = 21;
const QColor kHintColour(128, 128, 128);
// Distributor tables carry no code page mark and are DOS Cyrillic.
constexpr int kDistributorCodePage = 866;

prescriptions::ComponentFields componentFieldsOf(tables::Table &table)
{
    return {table.field(f::kComponent1).asString(), table.field(f::kComponent2).asString()};
}

void reportError(const std::exception &error, QWidget *parent)
{
    platform::messages().showError(kx::userMessage(error), parent);
}

// A name is typed only while its record is new.
void UnlockNameOnNewRecord(tables::Table &table) { table.field(f::kName).setReadOnly(false); }
void LockName(tables::Table &table) { table.field(f::kName).setReadOnly(true); }

// The names list of N2Click: a table grid window over PharmComP.dbf used as
// a modal picking list; names added in it get no IDRow.
std::unique_ptr<windows::TGridFrm> CreatePharmComPWindow(const QString &prescriptionsFolder,
                                                         windows::MainFrmServices *main)
{
    auto list = std::make_unique<windows::TGridFrm>(nullptr, kCaption, prescriptionsFolder + schema::kPharmComP, main);
    list->setMdiChild(false);
    list->hide();
    return list;
}

} // namespace

QString TPharmComp::searchHint() { return QStringLiteral("Для поиска введите компоненты через ;"); }

TPharmComp::TPharmComp(windows::MainFrmServices *main, const QString &prescriptionsFolder)
    : TSaveChildFrm(nullptr, main), prescriptionsFolder_(prescriptionsFolder)
{
    setObjectName(QStringLiteral("TPharmComp"));
    setWindowTitle(kCaption);
    resize(kClientSize);

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    DBGridP = new grid::DBGrid(Splitter1);
    DBGridP->setObjectName(QStringLiteral("DBGridP"));
    DBGridP->setAllowedOperations({});
    DBGridP->setOptions(grid::DBGrid::RowHighlight | grid::DBGrid::IncrementalSearch | grid::DBGrid::FindDialogKey);
    Panel2 = new QWidget(Splitter1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    dbComponents = new QPlainTextEdit(Panel2);
    dbComponents->setObjectName(QStringLiteral("dbComponents"));
    dbComponents->setFont(QFont(QStringLiteral("Arial"), 8));
    // Shows the list; changes go through "Добавить компонент" and "Удалить компонент".
    dbComponents->setReadOnly(true);
    dbComponents->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    // Long entries wrap; the caret's line is still the entry (one block each).
    dbComponents->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Edit1 = new QLineEdit(Panel2);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFont(QFont(QStringLiteral("Tahoma"), 8));
    Edit1->setMinimumHeight(kSearchHeight);
    Edit1->installEventFilter(this);
    auto *panelLayout = new QVBoxLayout(Panel2);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(0);
    panelLayout->addWidget(dbComponents);
    panelLayout->addWidget(Edit1);
    Splitter1->addWidget(DBGridP);
    Splitter1->addWidget(Panel2);
    // The panel is never narrower than the search hint, whatever the font.
    const int hintWidth = Edit1->fontMetrics().horizontalAdvance(searchHint())
        + 4 * Edit1->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8;
    Panel2->setMinimumWidth(hintWidth);
    const int panelWidth = std::max(kClientSize.width() - kGridWidth, hintWidth);
    Splitter1->setSizes({kClientSize.width() - panelWidth, panelWidth});
    Splitter1->setStretchFactor(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Splitter1);

    pmGrid = new QMenu(this);
    pmGrid->setObjectName(QStringLiteral("pmGrid"));
    N1 = pmGrid->addAction(QStringLiteral("Новый"), this, &TPharmComp::N1Click);
    N1->setObjectName(QStringLiteral("N1"));
    pmMemo = new QMenu(this);
    pmMemo->setObjectName(QStringLiteral("pmMemo"));
    N2 = pmMemo->addAction(QStringLiteral("Добавить компонент"), this, &TPharmComp::N2Click);
    N2->setObjectName(QStringLiteral("N2"));
    N3 = pmMemo->addAction(QStringLiteral("Удалить компонент"), this, &TPharmComp::N3Click);
    N3->setObjectName(QStringLiteral("N3"));
    DBGridP->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGridP, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { pmGrid->popup(DBGridP->viewport()->mapToGlobal(pos)); });
    dbComponents->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(dbComponents, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { pmMemo->popup(dbComponents->viewport()->mapToGlobal(pos)); });

    const QString file = prescriptionsFolder_ + schema::kPharmCom;
    if (tables::fileExistsNoCase(file)) {
        PharmCom = std::make_unique<tables::Table>(tables::resolvePathNoCase(file));
        tables::setDefaultOpenCodePage(kDistributorCodePage);
        PharmCom->addCalculatedField(f::kComponents, tables::FieldKind::String, prescriptions::kComponentListSize);
        PharmCom->onCalcFields = [this](tables::Table &t) { PharmComCalcFields(t); };
        PharmCom->afterPost = [this](tables::Table &t) { LockNameAfterPost(t); };
        PharmCom->afterCancel = [this](tables::Table &t) { LockNameAfterPost(t); };
        PharmCom->open();
        PharmCom->addObserver(this);
        DBGridP->setTable(PharmCom.get());
        ApplyColumns(*PharmCom, *DBGridP);
        LockNameAfterPost(*PharmCom);
        showComponents();
    } else {
        platform::messages().showMessage(QStringLiteral("Не найден файл ") + file);
    }

    connect(DBGridP, &grid::DBGrid::dblClick, this, &TPharmComp::DBGridPDblClick);
    connect(DBGridP, &grid::DBGrid::keyDown, this, &TPharmComp::DBGridPKeyDown);
    connect(Edit1, &QLineEdit::textChanged, this, &TPharmComp::Edit1Change);

    FormCreate();
    setSearchColour(true);
    Edit1->setText(searchHint());
    Edit1->setCursorPosition(0);
}

TPharmComp::~TPharmComp()
{
    runFormDestroy();
    if (PharmCom) {
        DBGridP->setTable(nullptr);
        PharmCom->removeObserver(this);
    }
}

bool TPharmComp::hasDrugTable() const { return PharmCom && PharmCom->isOpen(); }

bool TPharmComp::locateDrug(const QString &name) { return hasDrugTable() && PharmCom->locate(f::kName, name); }

// --- the drug table ---

void TPharmComp::PharmComCalcFields(tables::Table &table)
{
    table.field(f::kComponents)
        .setString(prescriptions::shownList(prescriptions::storedList(componentFieldsOf(table))));
}

void TPharmComp::LockNameAfterPost(tables::Table &table)
{
    LockName(table);
    DBGridP->setAllowedOperations({});
}

void TPharmComp::withDrugTable(const std::function<void(tables::Table &)> &step)
{
    if (!hasDrugTable())
        return;
    try {
        step(*PharmCom);
    } catch (const std::exception &error) {
        reportError(error, this);
    }
}

void TPharmComp::tableChanged(tables::Table &, tables::TableChange, std::uint32_t) { showComponents(); }

void TPharmComp::showComponents()
{
    QString text;
    if (hasDrugTable() && !PharmCom->isEmpty())
        text = PharmCom->field(f::kComponents).asString().replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (dbComponents->toPlainText() != text)
        dbComponents->setPlainText(text);
}

void TPharmComp::storeComponents(const QString &list)
{
    const std::optional<prescriptions::ComponentFields> fields = prescriptions::splitList(list);
    if (!fields) {
        platform::messages().showMessage(prescriptions::listTooLongText(), this);
        return;
    }
    PharmCom->edit();
    try {
        PharmCom->field(f::kComponent1).setString(fields->component1);
        PharmCom->field(f::kComponent2).setString(fields->component2);
        PharmCom->post();
    } catch (...) {
        PharmCom->cancel();
        throw;
    }
}

// --- choosing ---

void TPharmComp::DBGridPDblClick()
{
    setModalResult(ModalResult::OK);
    closeWindow();
}

void TPharmComp::DBGridPKeyDown(grid::GridKeyEvent *event)
{
    if (event->key == Qt::Key_Return || event->key == Qt::Key_Enter)
        DBGridPDblClick();
}

// --- search box ---

bool TPharmComp::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Edit1 && event->type() == QEvent::FocusIn)
        Edit1Enter();
    else if (watched == Edit1 && event->type() == QEvent::FocusOut)
        Edit1Exit();
    return TSaveChildFrm::eventFilter(watched, event);
}

void TPharmComp::setSearchColour(bool hint)
{
    QPalette palette = Edit1->palette();
    palette.setColor(QPalette::Text, hint ? kHintColour : QApplication::palette().color(QPalette::Text));
    Edit1->setPalette(palette);
}

void TPharmComp::Edit1Enter()
{
    if (Edit1->text() != searchHint())
        return;
    Edit1->clear();
    setSearchColour(false);
}

void TPharmComp::Edit1Exit()
{
    if (!Edit1->text().isEmpty())
        return;
    setSearchColour(true);
    Edit1->setText(searchHint());
    Edit1->setCursorPosition(0);
}

void TPharmComp::Edit1Change(const QString &text)
{
    if (text != searchHint())
        ApplyComponentFilter(text);
}

void TPharmComp::ApplyComponentFilter(const QString &text)
{
    withDrugTable([&](tables::Table &drugs) {
        if (!text.isEmpty())
            setSearchColour(false);
        // Only semicolons leave no piece: every drug stays listed.
        const QString filter = prescriptions::componentFilter(text);
        drugs.setFiltered(false);
        if (filter.isEmpty())
            return;
        drugs.setFilter(filter);
        drugs.setFiltered(true);
    });
}

// --- menus ---

void TPharmComp::N1Click()
{
    withDrugTable([this](tables::Table &drugs) {
        drugs.append();
        UnlockNameOnNewRecord(drugs);
        DBGridP->setAllowedOperations(grid::DBGrid::AllowEdit);
        DBGridP->setSelectedField(f::kName);
        DBGridP->setFocus();
    });
}

void TPharmComp::N2Click()
{
    withDrugTable([this](tables::Table &drugs) {
        if (drugs.isEmpty() || !DBGridP->postPendingEdit())
            return;
        QString name;
        {
            std::unique_ptr<windows::TGridFrm> list = CreatePharmComPWindow(prescriptionsFolder_, services());
            tables::Table *names = list->table();
            if (!names)
                return; // "Не найден файл " was shown
            names->onNewRecord = UnlockNameOnNewRecord;
            names->afterPost = LockName;
            list->detachKeyPress();
            list->dbGrid()->setOption(grid::DBGrid::IncrementalSearch);
            if (list->showModal() != ModalResult::OK || names->isEmpty())
                return;
            name = names->field(f::kName).asString();
        }
        TCountFrm count(this);
        if (count.exec() != QDialog::Accepted)
            return;
        const QString entry = prescriptions::componentEntry(name, count.value());
        storeComponents(prescriptions::withEntry(prescriptions::storedList(componentFieldsOf(drugs)), entry));
    });
}

void TPharmComp::N3Click()
{
    withDrugTable([this](tables::Table &drugs) {
        const QString stored = drugs.isEmpty() ? QString() : prescriptions::storedList(componentFieldsOf(drugs));
        if (!stored.isEmpty())
            storeComponents(prescriptions::withoutLine(stored, dbComponents->textCursor().blockNumber()));
    });
}

// --- closing ---

void TPharmComp::FormClose()
{
    // A new drug being typed is posted with the window's close.
    if (hasDrugTable() && !DBGridP->postPendingEdit())
        keepOpen();
}

void TPharmComp::FormDestroy()
{
    if (hasDrugTable())
        SaveColumns(*DBGridP);
    TSaveChildFrm::FormDestroy();
}

} // namespace prescriptions_windows
