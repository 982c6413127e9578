#pragma once

#include "windows/ActionUpdateGuard.h"
#include "windows/uGridFrm.h"

#include <cstdint>

class QMenu;

namespace prescriptions_windows {

// "Рецепты": the table grid window over prescr.dbf, by default showing only
// the prescriptions not yet sent. New ones are numbered on from the last;
// "Заказать" sends every complete unsent one as a request file to the orders
// folder; a sent one can be sent again, any one copied, and the selected
// rows (or the whole view) exported to an XLS file.
class TPrescrFrm : public windows::TGridFrm {
    Q_OBJECT
public:
    TPrescrFrm(QWidget *owner, const QString &caption, const QString &tableFile);

    void ActionList1Update() override;
    // The number the next new prescription receives.
    std::int32_t nextNumber() const { return NextNumber; }

    QAction *acnOrder;
    QAction *acnVSended;
    QAction *acnExport;
    QMenu *pmContext;
    QAction *N1;
    QAction *N2;

protected:
    void DataSetBeforeInsert(tables::Table &table) override;
    void DataSetNewRecord(tables::Table &table) override;

private:
    void acnOrderExecute();
    void acnVSendedExecute();
    void acnExportExecute();
    void N1Click();
    void N2Click();
    QAction *addTool(const QString &name, const QString &button, int icon, void (TPrescrFrm::*handler)());
    // Asks the question of the context menu's items.
    bool confirm(const QString &text);
    // The pharmacy's code for the request file name; -1 is reported.
    int pharmacyCode();

    std::int32_t NextNumber = 1;
    windows::ActionUpdateGuard prescriptionActionsGuard_{&TPrescrFrm::showStatus};
};

} // namespace prescriptions_windows
