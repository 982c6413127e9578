#pragma once

#include <QStringList>

namespace windows {
class MainFrmServices;
}

namespace settings {

class TToolsFrm;

// acnTools: the settings window inside the main window, shown at once.
TToolsFrm *OpenToolsWindow(windows::MainFrmServices &main, const QStringList &arguments);

} // namespace settings
