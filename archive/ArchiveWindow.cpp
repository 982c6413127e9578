#include "ArchiveWindow.h"

#include "uDblGrid.h"

#include "errors/KxError.h"
#include "platform/MessageService.h"
#include "platform/Services.h"
#include "windows/MainFrmServices.h"

namespace windows {

TDblGridFrm *OpenArchiveWindow(MainFrmServices &main, const QString &archivePath, const QString &positionsPath)
{
    TDblGridFrm *window = nullptr;
    try {
        window = new TDblGridFrm(main.childParent(), archivePath, positionsPath, &main);
    } catch (const std::exception &error) {
        // A missing or damaged archive table: said plainly, no window.
        platform::messages().showError(kx::userMessage(error), main.childParent());
        return nullptr;
    }
    main.showChild(window);
    return window;
}

} // namespace windows
