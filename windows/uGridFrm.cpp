#include "uGridFrm.h"

#include "grid/DBGrid.h"
#include "grid/FindBar.h"
#include "platform/MessageService.h"
#include "platform/Services.h"
#include "tables/CodePage.h"
#include "tables/FileLookup.h"
#include "tables/Table.h"

#include <QAction>
#include <QShortcut>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace windows {

namespace {

const QString kIDRow = QStringLiteral("IDRow");

// Distributor tables carry no code page mark and are DOS Cyrillic.
constexpr int kDistributorCodePage = 866;

// Only characters from '0' upwards in code page 1251 start or extend the
// title search: digits, letters and punctuation from ':' on; not the space,
// '-', '.', nor control keys.
bool takesPartInSearch(const QString &text)
{
    if (text.isEmpty())
        return false;
    const QByteArray byte = codepages::CodePage::byNumber(1251).encode(text.left(1));
    return !byte.isEmpty() && std::uint8_t(byte.at(0)) > 47;
}

// The search keeps what is typed as it is and lets the grid have the key as
// well; only another column ends it.
TitleSearch::Rules titleSearchRules()
{
    return {.takesPart = &takesPartInSearch,
            .upperCase = false,
            .consumesKey = false,
            .endingKeys = {},
            .refreshOnEveryColumn = true};
}

} // namespace

TGridFrm::TGridFrm(QWidget *owner, const QString &caption, const QString &tableFile, MainFrmServices *main)
    : TSaveChildFrm(owner, main)
{
    setObjectName(QStringLiteral("TGridFrm"));
    setWindowTitle(caption);

    GridToolBar = new QToolBar(this);
    GridToolBar->setObjectName(QStringLiteral("GridToolBar"));
    GridToolBar->setIconSize(QSize(24, 24));
    GridToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    acnBackward1 = addAction(QStringLiteral("acnBackward1"), QStringLiteral("Начало"), QStyle::SP_MediaSkipBackward,
                             &TGridFrm::acnBackward1Execute);
    acnBackward = addAction(QStringLiteral("acnBackward"), QStringLiteral("Назад"), QStyle::SP_MediaSeekBackward,
                            &TGridFrm::acnBackwardExecute);
    GridToolBar->addSeparator()->setObjectName(QStringLiteral("ToolButton3"));
    acnAdd = addAction(QStringLiteral("acnAdd"), QStringLiteral("Добавить"), QStyle::SP_FileDialogNewFolder,
                       &TGridFrm::acnAddExecute);
    acnDel =
        addAction(QStringLiteral("acnDel"), QStringLiteral("Удалить"), QStyle::SP_TrashIcon, &TGridFrm::acnDelExecute);
    GridToolBar->addSeparator()->setObjectName(QStringLiteral("ToolButton6"));
    acnForward = addAction(QStringLiteral("acnForward"), QStringLiteral("Вперед"), QStyle::SP_MediaSeekForward,
                           &TGridFrm::acnForwardExecute);
    acnForward1 = addAction(QStringLiteral("acnForward1"), QStringLiteral("Конец"), QStyle::SP_MediaSkipForward,
                            &TGridFrm::acnForward1Execute);
    GridToolBar->addSeparator()->setObjectName(QStringLiteral("ToolButton9"));
    acnClose = addAction(QStringLiteral("acnClose"), QStringLiteral("Закрыть"), QStyle::SP_DialogCloseButton,
                         &TGridFrm::acnCloseExecute);
    const QStringList buttons = {QStringLiteral("ToolButton1"), QStringLiteral("ToolButton2"),
                                 QStringLiteral("ToolButton4"), QStringLiteral("ToolButton5"),
                                 QStringLiteral("ToolButton7"), QStringLiteral("ToolButton8"),
                                 QStringLiteral("ToolButton10")};
    const QList<QAction *> actions = {acnBackward1, acnBackward, acnAdd, acnDel, acnForward, acnForward1, acnClose};
    for (int i = 0; i < actions.size(); ++i)
        if (QWidget *button = GridToolBar->widgetForAction(actions[i]))
            button->setObjectName(buttons[i]);

    DBGrid = new grid::DBGrid(this);
    DBGrid->setObjectName(QStringLiteral("DBGrid"));
    titleSearch_.emplace(*DBGrid, titleSearchRules());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(GridToolBar);
    // Find by any words of the name: Ctrl+F shows the bar, Escape hides it.
    FindBar = new grid::FindBar(*DBGrid, this);
    FindBar->hide();
    connect(FindBar, &grid::FindBar::finished, FindBar, &QWidget::hide);
    layout->addWidget(FindBar);
    layout->addWidget(DBGrid);
    auto *find = new QShortcut(QKeySequence::Find, this, [this] { FindBar->activate(); });
    find->setContext(Qt::WidgetWithChildrenShortcut);

    keyPressConnection_ = connect(DBGrid, &grid::DBGrid::keyPress, this, &TGridFrm::DBGridKeyPress);
    connect(DBGrid, &grid::DBGrid::keyDown, this, &TGridFrm::DBGridKeyDown);
    connect(DBGrid, &grid::DBGrid::colEnter, this, &TGridFrm::DBGridColEnter);
    connect(DBGrid, &grid::DBGrid::dblClick, this, &TGridFrm::DBGridDblClick);

    if (tables::fileExistsNoCase(tableFile)) {
        openTable(tableFile);
    } else {
        // Without a table only closing makes sense.
        acnAdd->setEnabled(false);
        acnDel->setEnabled(false);
        DBGrid->setEnabled(false);
        platform::messages().showMessage(QStringLiteral("Не найден файл ") + tableFile);
    }

    actionsUpdater_.start();
    ActionList1Update();
}

TGridFrm::~TGridFrm() { runFormDestroy(); }

QAction *TGridFrm::addAction(const QString &name, const QString &caption, QStyle::StandardPixmap icon,
                             void (TGridFrm::*handler)())
{
    auto *action = new QAction(style()->standardIcon(icon), caption, this);
    action->setObjectName(name);
    action->setToolTip(caption);
    action->setStatusTip(caption);
    connect(action, &QAction::triggered, this, handler);
    GridToolBar->addAction(action);
    return action;
}

void TGridFrm::openTable(const QString &tableFile)
{
    table_ = std::make_unique<tables::Table>(tables::resolvePathNoCase(tableFile));
    tables::setDefaultOpenCodePage(kDistributorCodePage);
    table_->open();
    if (table_->hasField(kIDRow)) {
        // The window opens on the last record, which gives the counter.
        table_->last();
        NextIDRow = std::int32_t(table_->field(kIDRow).asInteger()) + 1;
    } else {
        NextIDRow = -1;
    }
    tableRelease_.run = [this] {
        DBGrid->setTable(nullptr);
        table_->removeObserver(this);
    };
    table_->addObserver(this);
    table_->onNewRecord = [this](tables::Table &t) { DataSetNewRecord(t); };
    table_->beforeInsert = [this](tables::Table &t) { DataSetBeforeInsert(t); };
    DBGrid->setTable(table_.get());
    ApplyColumns(*table_, *DBGrid);
}

void TGridFrm::tableChanged(tables::Table &, tables::TableChange, std::uint32_t) { actionsUpdater_.requestUpdate(); }

bool TGridFrm::hasTable() const { return table_ && table_->isOpen(); }

int TGridFrm::FindColumn(const QString &fieldName) const { return DBGrid->findColumn(fieldName); }

void TGridFrm::detachKeyPress() { disconnect(keyPressConnection_); }

// --- row counter ---

void TGridFrm::DataSetBeforeInsert(tables::Table &)
{
    if (NextIDRow != -1)
        ++NextIDRow;
}

void TGridFrm::DataSetNewRecord(tables::Table &table)
{
    if (NextIDRow != -1)
        table.field(kIDRow).setInteger(NextIDRow);
}

// --- actions ---

void TGridFrm::ActionList1Update()
{
    actionsUpdater_.run({acnBackward1, acnBackward, acnForward1, acnForward}, [this] {
        const bool open = hasTable();
        const bool atStart = !open || table_->recNo() == 1 || table_->bof();
        const bool atEnd = !open || table_->recNo() == table_->recordCount() || table_->eof();
        acnBackward1->setEnabled(!atStart);
        acnBackward->setEnabled(!atStart);
        acnForward1->setEnabled(!atEnd);
        acnForward->setEnabled(!atEnd);
    });
}

void TGridFrm::acnBackward1Execute()
{
    if (hasTable())
        table_->first();
}

void TGridFrm::acnBackwardExecute()
{
    if (hasTable())
        table_->prior();
}

void TGridFrm::acnAddExecute()
{
    if (hasTable())
        table_->append();
}

void TGridFrm::acnDelExecute()
{
    if (!hasTable())
        return;
    if (!platform::messages().askYesNo(QStringLiteral("Вы уверены?"), QStringLiteral("KXOrders"),
                                       platform::MessageIcon::Question, this))
        return;
    if (table_->state() == tables::TableState::Insert)
        table_->cancel(); // the record being added was never stored
    else if (!table_->isEmpty())
        table_->deleteRecord();
}

void TGridFrm::acnForwardExecute()
{
    if (hasTable())
        table_->next();
}

void TGridFrm::acnForward1Execute()
{
    if (hasTable())
        table_->last();
}

void TGridFrm::acnCloseExecute() { closeWindow(); }

// --- grid ---

void TGridFrm::DBGridKeyPress(grid::GridCharEvent *event)
{
    if (hasTable())
        titleSearch_->keyPress(*table_, *event);
}

void TGridFrm::DBGridKeyDown(grid::GridKeyEvent *event)
{
    if (event->key == Qt::Key_Return || event->key == Qt::Key_Enter)
        DBGridDblClick();
}

void TGridFrm::DBGridColEnter()
{
    if (hasTable())
        titleSearch_->columnEntered(*table_);
}

void TGridFrm::DBGridDblClick()
{
    if (isMdiChild())
        return;
    setModalResult(ModalResult::OK);
    closeWindow();
}

// --- closing ---

void TGridFrm::FormClose()
{
    // What is typed in a cell belongs to the record; a value the field refuses keeps the window open.
    if (hasTable() && !DBGrid->postPendingEdit())
        keepOpen();
}

void TGridFrm::FormDestroy()
{
    if (hasTable())
        SaveColumns(*DBGrid);
    TSaveChildFrm::FormDestroy();
}

} // namespace windows
