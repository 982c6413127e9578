#pragma once

#include "prescriptions/RequestSending.h"
#include "windows/ActionUpdateGuard.h"
#include "windows/uGridFrm.h"

#include <QStyle>

#include <cstdint>
#include <functional>
#include <optional>

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
    TPrescrFrm(QWidget *owner, const QString &caption, const QString &tableFile, windows::MainFrmServices &main);

    void ActionList1Update() override;
    // The number the next new prescription receives.
    std::int32_t nextNumber() const { return NextNumber; }

protected:
    void DataSetBeforeInsert(tables::Table &table) override;
    void DataSetNewRecord(tables::Table &table) override;

private:
    void acnOrderExecute();
    void acnVSendedExecute();
    void acnExportExecute();
    void N1Click();
    void N2Click();
    QAction *addTool(const QString &name, const QString &button, QStyle::StandardPixmap icon,
                     void (TPrescrFrm::*handler)());
    // Runs a handler's step on the open table; its errors are shown.
    void withTable(const std::function<void(tables::Table &)> &step);
    // Asks the question of the context menu's items; true for "Yes" with a
    // prescription to act on and what was typed posted.
    bool confirm(const QString &text);
    // Where a request goes; without the pharmacy's code that is said and nothing returned.
    std::optional<prescriptions::RequestPlace> requestPlace();

    QAction *acnOrder;
    QAction *acnVSended;
    QAction *acnExport;
    QMenu *pmContext;
    QAction *N1;
    QAction *N2;

    std::int32_t NextNumber = 1;
    windows::ActionUpdateGuard prescriptionActionsGuard_{[this](const QString &text) { showStatus(text); }};
};

} // namespace prescriptions_windows
