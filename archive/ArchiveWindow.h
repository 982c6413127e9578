#pragma once

#include <QString>

namespace windows {

class MainFrmServices;
class TDblGridFrm;

// "Архив": creates the archive window over the two archive tables and shows
// it inside the main window. A table that cannot be opened is reported and
// no window is made (nullptr).
TDblGridFrm *OpenArchiveWindow(MainFrmServices &main, const QString &archivePath, const QString &positionsPath);

} // namespace windows
