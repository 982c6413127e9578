#pragma once

#include <QString>

namespace windows {

class MainFrmServices;
class TDblGridFrm;

// "Архив": creates the archive window over the two archive tables and shows
// it inside the main window.
TDblGridFrm *OpenArchiveWindow(MainFrmServices &main, const QString &archivePath, const QString &positionsPath);

} // namespace windows
