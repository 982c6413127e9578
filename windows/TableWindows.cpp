#include "TableWindows.h"

#include "MainFrmServices.h"
#include "uGridFrm.h"

namespace windows {

TGridFrm *OpenTableWindow(MainFrmServices &main, const QString &caption, const QString &tablePath)
{
    auto *window = new TGridFrm(main.childParent(), caption, tablePath, &main);
    main.showChild(window);
    return window;
}

} // namespace windows
