#include "uPrescrFrm.h"

#include "config/ProgramFiles.h"
#include "errors/KxError.h"
#include "grid/DBGrid.h"
#include "ordering/PharmacyCode.h"
#include "platform/FileDialogs.h"
#include "platform/MessageService.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "prescriptions/PrescriptionRules.h"
#include "prescriptions/RequestSending.h"
#include "schema/PrescriptionFields.h"
#include "tables/Table.h"
#include "windows/MainFrmServices.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QStyle>
#include <QToolBar>

namespace prescriptions_windows {

namespace f = schema::prescr;

namespace {

const QString kQuestionTitle = QStringLiteral("Копирование рецептов");
// The question's line break is LF CR, in this order.
const QString kQuestionBreak = QStringLiteral("\n\r");
const QString kExcelFilter = QStringLiteral("Файлы MS Excel (*.xls)");
const QString kExcelSuffix = QStringLiteral(".xls");
constexpr QSize kClientSize(425, 273);

void reportError(const std::exception &error, QWidget *parent)
{
    platform::messages().showError(kx::userMessage(error), parent);
}

} // namespace

TPrescrFrm::TPrescrFrm(QWidget *owner, const QString &caption, const QString &tableFile, windows::MainFrmServices &main)
    : TGridFrm(owner, caption, tableFile, &main)
{
    setObjectName(QStringLiteral("TPrescrFrm"));
    resize(kClientSize);
    GridToolBar->addSeparator()->setObjectName(QStringLiteral("ToolButton11"));
    acnOrder = addTool(QStringLiteral("acnOrder"), QStringLiteral("ToolButton12"), QStyle::SP_DialogApplyButton,
                       &TPrescrFrm::acnOrderExecute);
    acnOrder->setText(QStringLiteral("Заказать"));
    acnOrder->setToolTip(QStringLiteral("Сформировать"));
    acnOrder->setStatusTip(QStringLiteral("Сформировать"));
    GridToolBar->addSeparator()->setObjectName(QStringLiteral("ToolButton13"));
    acnVSended = addTool(QStringLiteral("acnVSended"), QStringLiteral("ToolButton14"),
                         QStyle::SP_FileDialogContentsView, &TPrescrFrm::acnVSendedExecute);
    acnVSended->setToolTip(QStringLiteral("Показать отправленные"));
    acnVSended->setStatusTip(QStringLiteral("Показать отправленные"));
    acnVSended->setCheckable(true);
    acnExport = addTool(QStringLiteral("acnExport"), QStringLiteral("ToolButton15"), QStyle::SP_DialogSaveButton,
                        &TPrescrFrm::acnExportExecute);
    acnExport->setToolTip(QStringLiteral("Экспорт выделенных"));
    acnExport->setStatusTip(QStringLiteral("Экспорт выделенных"));

    pmContext = new QMenu(this);
    pmContext->setObjectName(QStringLiteral("pmContext"));
    N1 = pmContext->addAction(QStringLiteral("Заказать повторно"), this, &TPrescrFrm::N1Click);
    N1->setObjectName(QStringLiteral("N1"));
    N2 = pmContext->addAction(QStringLiteral("Копировать"), this, &TPrescrFrm::N2Click);
    N2->setObjectName(QStringLiteral("N2"));
    N2->setStatusTip(QStringLiteral("Копировать запись с новыми параметрами"));
    N2->setToolTip(N2->statusTip());

    DBGrid->setOptions(DBGrid->options() | grid::DBGrid::MultiSelect | grid::DBGrid::MultiLevelTitles);
    DBGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { pmContext->popup(DBGrid->viewport()->mapToGlobal(pos)); });

    if (table() && table()->isOpen()) {
        table()->setFilter(prescriptions::kUnsentFilter);
        table()->setFiltered(true);
    }
    ActionList1Update();
}

QAction *TPrescrFrm::addTool(const QString &name, const QString &button, QStyle::StandardPixmap icon,
                             void (TPrescrFrm::*handler)())
{
    auto *action = new QAction(style()->standardIcon(icon), QString(), this);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, handler);
    GridToolBar->addAction(action);
    if (QWidget *widget = GridToolBar->widgetForAction(action))
        widget->setObjectName(button);
    return action;
}

// --- new records ---

void TPrescrFrm::DataSetBeforeInsert(tables::Table &t)
{
    TGridFrm::DataSetBeforeInsert(t);
    t.setFiltered(false);
    t.last();
    NextNumber = prescriptions::numberAfter(t.isEmpty() ? QString() : t.field(f::kNumber).asString());
    // Adding always returns to the unsent view, on its last record: the
    // grid reads that row once more before the new record takes the cursor.
    t.setFiltered(true);
    t.last();
}

void TPrescrFrm::DataSetNewRecord(tables::Table &t)
{
    TGridFrm::DataSetNewRecord(t);
    t.field(f::kNumber).setString(QString::number(NextNumber));
    t.field(f::kQnt).setInteger(1);
    t.field(f::kDateCreate).setDate(QDate::currentDate());
    t.field(f::kProvided).setBoolean(false);
}

// --- actions ---

void TPrescrFrm::ActionList1Update()
{
    TGridFrm::ActionList1Update();
    prescriptionActionsGuard_.run({acnOrder, acnVSended, acnExport}, [this] {
        tables::Table *t = table();
        const bool open = t && t->isOpen();
        acnOrder->setEnabled(open && t->recordCount() > 0);
        acnVSended->setEnabled(open);
        acnVSended->setChecked(open && t->isFiltered());
        acnExport->setEnabled(open && !t->isEmpty() && !t->field(f::kNumber).asString().isEmpty());
    });
}

void TPrescrFrm::withTable(const std::function<void(tables::Table &)> &step)
{
    tables::Table *t = table();
    if (!t || !t->isOpen())
        return;
    try {
        step(*t);
    } catch (const std::exception &error) {
        reportError(error, this);
    }
}

std::optional<prescriptions::RequestPlace> TPrescrFrm::requestPlace()
{
    windows::MainFrmServices &main = *services(); // always given to this window
    const int code = ordering::pharmacyCodeOf(main.lookupSubCustomer(f::kIDRow));
    if (code == ordering::kNoPharmacyCode) {
        platform::messages().showMessage(ordering::noPharmacyCodeText() + QStringLiteral(" Заявка не сформирована."),
                                         this);
        return std::nullopt;
    }
    return prescriptions::RequestPlace{main.folder(windows::WorkFolder::Orders), code, config::settingsFileName()};
}

void TPrescrFrm::acnOrderExecute()
{
    withTable([this](tables::Table &t) {
        if (!DBGrid->postPendingEdit())
            return;
        const std::optional<prescriptions::RequestPlace> place = requestPlace();
        if (!place)
            return;
        const prescriptions::SendOutcome outcome = prescriptions::sendUnsent(
            t, *place,
            [this](const QString &number) {
                platform::messages().showMessage(QStringLiteral("Заполните данные в рецепте №") + number, this);
            },
            QDateTime::currentDateTime());
        showStatus(prescriptions::sendResultText(outcome));
    });
}

void TPrescrFrm::acnVSendedExecute()
{
    withTable([this](tables::Table &t) {
        if (DBGrid->postPendingEdit())
            t.setFiltered(!t.isFiltered());
    });
    ActionList1Update();
}

void TPrescrFrm::acnExportExecute()
{
    withTable([this](tables::Table &) {
        const std::optional<QString> chosen = platform::fileDialogs().chooseSaveFile(
            QStringLiteral("Экспорт выделенных"), QDir::homePath() + QStringLiteral("/Рецепты.xls"), kExcelFilter,
            this);
        if (!chosen)
            return;
        QString path = *chosen;
        if (!path.endsWith(kExcelSuffix, Qt::CaseInsensitive))
            path += kExcelSuffix;
        DBGrid->exportToXls(path, grid::DBGrid::ExportRows::SelectedOrAll);
        if (!platform::shell().openWithAssociatedApplication(path))
            platform::messages().showMessage(QStringLiteral("Не удалось открыть файл ") + path, this);
    });
}

bool TPrescrFrm::confirm(const QString &text)
{
    const bool yes =
        platform::messages().askYesNo(text + kQuestionBreak + QStringLiteral("Продолжить?"), kQuestionTitle,
                                      platform::MessageIcon::Question, services()->childParent());
    return yes && DBGrid->postPendingEdit() && table() && !table()->isEmpty();
}

void TPrescrFrm::N1Click()
{
    withTable([this](tables::Table &t) {
        if (!confirm(QStringLiteral("Выделенный рецепт будет сформирован повторно.")))
            return;
        if (!prescriptions::isSent(t)) {
            platform::messages().showMessage(
                QStringLiteral("Рецепт нельзя сформировать повторно. Он еще не был отправлен."), this);
            return;
        }
        if (const std::optional<prescriptions::RequestPlace> place = requestPlace())
            prescriptions::resendCurrent(t, *place);
    });
}

void TPrescrFrm::N2Click()
{
    withTable([this](tables::Table &t) {
        if (!confirm(QStringLiteral("Выделенный рецепт будет скопирован как новый.")))
            return;
        static const QString copied[] = {f::kFIO, f::kCodePST, f::kName,       f::kAgeY,       f::kAgeM, f::kAgeD,
                                         f::kDS,  f::kQnt,     f::kComponent1, f::kComponent2, f::kDesc};
        std::vector<QVariant> values;
        for (const QString &name : copied)
            values.push_back(t.field(name).value());
        t.insert();
        try {
            for (std::size_t i = 0; i < values.size(); ++i)
                t.field(copied[i]).setValue(values[i]);
            t.post();
        } catch (...) {
            t.cancel();
            throw;
        }
    });
}

} // namespace prescriptions_windows
