#pragma once

namespace windows {
class MainFrmServices;
}

namespace exchange_windows {

class TDialFrm;

// acnConnect: the dial-up window inside the main window, shown at once.
TDialFrm *OpenDialUpWindow(windows::MainFrmServices &main);
// The dial-up window "Дозвон" if one is open.
TDialFrm *findDialUpWindow(const windows::MainFrmServices &main);

} // namespace exchange_windows
