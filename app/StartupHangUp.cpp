#include "StartupHangUp.h"

#include "platform/DialUpConnections.h"
#include "platform/MessageService.h"
#include "platform/Services.h"

namespace app {

void OfferToHangUpActiveConnections()
{
    const std::vector<platform::DialUpConnection> active = platform::dialUpConnections().activeConnections();
    if (active.empty())
        return;
    if (!platform::messages().askYesNo(kActiveConnectionsQuestion, kActiveConnectionsTitle,
                                       platform::MessageIcon::None))
        return;
    for (const platform::DialUpConnection &connection : active)
        platform::dialUpConnections().hangUp(connection, kStartupHangUpWaitSeconds);
}

} // namespace app
