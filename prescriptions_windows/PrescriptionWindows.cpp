#include "PrescriptionWindows.h"

#include "uPharmComp.h"
#include "uPrescrFrm.h"

#include "errors/KxError.h"
#include "grid/DBGrid.h"
#include "platform/MessageService.h"
#include "platform/Services.h"
#include "schema/PrescriptionFields.h"
#include "tables/Table.h"
#include "windows/MainFrmServices.h"

namespace prescriptions_windows {

namespace f = schema::prescr;

TPrescrFrm *OpenPrescriptionsWindow(windows::MainFrmServices &main, const QString &caption, const QString &tablePath)
{
    TPrescrFrm *window = nullptr;
    try {
        window = new TPrescrFrm(main.childParent(), caption, tablePath, main);
    } catch (const std::exception &error) {
        platform::messages().showError(kx::userMessage(error), main.childParent());
        return nullptr;
    }
    grid::DBGrid *grid = window->dbGrid();
    const int column = window->FindColumn(f::kName);
    if (column >= 0) {
        grid->setColumnEditButton(column, true, true);
        QObject::connect(grid, &grid::DBGrid::editButtonClick, window, [&main, window](int clicked) {
            if (window->dbGrid()->columnFieldName(clicked).compare(f::kName, Qt::CaseInsensitive) == 0)
                PrescrNameButtonClick(main, *window);
        });
    }
    main.showChild(window);
    return window;
}

void PrescrNameButtonClick(windows::MainFrmServices &main, TPrescrFrm &window)
{
    tables::Table *prescriptions = window.table();
    if (!prescriptions || !prescriptions->isOpen())
        return;
    try {
        if (!window.dbGrid()->commitPendingEdit())
            return;
        if (prescriptions->isEmpty() && !prescriptions->isEditing())
            return;
        TPharmComp picker(&main, main.folder(windows::WorkFolder::Prescriptions));
        if (!picker.hasDrugTable())
            return;
        const QString name = prescriptions->field(f::kName).asString();
        if (!name.isEmpty())
            picker.locateDrug(name);
        if (picker.showModal() != TPharmComp::ModalResult::OK)
            return;
        tables::Table &drugs = *picker.drugTable();
        if (drugs.isEmpty())
            return;
        if (!prescriptions->isEditing())
            prescriptions->edit();
        prescriptions->field(f::kName).setValue(drugs.field(f::kName).value());
        prescriptions->field(f::kCodePST).setValue(drugs.field(f::kDrug).value());
        prescriptions->field(f::kComponent1).setValue(drugs.field(f::kComponent1).value());
        prescriptions->field(f::kComponent2).setValue(drugs.field(f::kComponent2).value());
        prescriptions->post();
    } catch (const std::exception &error) {
        platform::messages().showError(kx::userMessage(error), &window);
    }
}

} // namespace prescriptions_windows
