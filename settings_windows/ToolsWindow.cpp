#include "ToolsWindow.h"

#include "uToolsFrm.h"

#include "windows/MainFrmServices.h"

namespace settings {

TToolsFrm *OpenToolsWindow(windows::MainFrmServices &main, const QStringList &arguments)
{
    auto *window = new TToolsFrm(main, arguments);
    main.showChild(window);
    return window;
}

} // namespace settings
