#include "ProgramActionHooks.h"

#include "windows/TableWindows.h"

namespace app {

void ProgramActionHooks::openTableWindow(windows::MainFrmServices &main, const QString &caption,
                                         const QString &tablePath)
{
    windows::OpenTableWindow(main, caption, tablePath);
}

} // namespace app
