#pragma once

#include <QString>

namespace windows {
class MainFrmServices;
}

namespace prescriptions_windows {

class TPrescrFrm;

// acnPrescription: the prescriptions window with the caption over the table,
// its "Name" column given an ellipsis button (also pressed by typing in the
// cell) that picks the drug; shown inside the main window. Nothing when the
// window cannot be set up (the error is shown).
TPrescrFrm *OpenPrescriptionsWindow(windows::MainFrmServices &main, const QString &caption, const QString &tablePath);

// The ellipsis of the "Name" column: the components picker over the
// prescriptions folder, placed on the prescription's drug; on OK the drug's
// name, code and components go into the current prescription. Without a
// drug table the picker only reports the missing file and is not shown.
void PrescrNameButtonClick(windows::MainFrmServices &main, TPrescrFrm &window);

} // namespace prescriptions_windows
