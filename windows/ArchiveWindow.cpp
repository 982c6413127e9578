#include "ArchiveWindow.h"

#include "MainFrmServices.h"
#include "uDblGrid.h"

namespace windows {

TDblGridFrm *OpenArchiveWindow(MainFrmServices &main, const QString &archivePath, const QString &positionsPath)
{
    auto *window = new TDblGridFrm(main.childParent(), archivePath, positionsPath);
    main.showChild(window);
    return window;
}

} // namespace windows
