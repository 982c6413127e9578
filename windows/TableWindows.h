#pragma once

#include <QString>

namespace windows {

class MainFrmServices;
class TGridFrm;

// An item of the reference or invoice menu: the table grid window with the
// item's caption over the table, shown inside the main window.
TGridFrm *OpenTableWindow(MainFrmServices &main, const QString &caption, const QString &tablePath);

} // namespace windows
