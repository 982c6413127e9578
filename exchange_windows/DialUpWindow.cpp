#include "DialUpWindow.h"

#include "uDialFrm.h"

#include "windows/Captions.h"
#include "windows/MainFrmServices.h"

namespace exchange_windows {

TDialFrm *OpenDialUpWindow(windows::MainFrmServices &main)
{
    auto *window = new TDialFrm(main);
    main.showChild(window);
    return window;
}

TDialFrm *findDialUpWindow(const windows::MainFrmServices &main)
{
    return qobject_cast<TDialFrm *>(main.findChildByCaption(windows::captions::kDialUp));
}

} // namespace exchange_windows
