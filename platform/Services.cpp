#include "Services.h"

#include "CodePageRegistry.h"
#include "DesktopShell.h"
#include "NetworkManagerDialUp.h"
#include "NetworkManagerDialler.h"
#include "QtFileDialogs.h"
#include "QtMessageService.h"
#include "RouteConnectivity.h"
#include "WidgetKeyInput.h"

namespace platform {

namespace {

class NetworkManagerDiallers : public DiallerFactory {
public:
    std::unique_ptr<Dialler> create() override { return std::make_unique<NetworkManagerDialler>(); }
};

Services &installed()
{
    static Services services{
        std::make_shared<QtMessageService>(),       std::make_shared<RouteConnectivity>(),
        std::make_shared<NetworkManagerDialUp>(),   std::make_shared<QtFileDialogs>(),
        std::make_shared<DesktopShell>(),           std::make_shared<WidgetKeyInput>(),
        std::make_shared<AbsentCodePageRegistry>(), std::make_shared<NetworkManagerDiallers>(),
    };
    return services;
}

template <class T>
void replace(std::shared_ptr<T> &slot, const std::shared_ptr<T> &replacement, std::shared_ptr<T> &previous)
{
    previous = slot;
    if (replacement)
        slot = replacement;
}

} // namespace

MessageService &messages() { return *installed().messages; }
Connectivity &connectivity() { return *installed().connectivity; }
DialUpConnections &dialUpConnections() { return *installed().dialUpConnections; }
FileDialogs &fileDialogs() { return *installed().fileDialogs; }
Shell &shell() { return *installed().shell; }
KeyInput &keyInput() { return *installed().keyInput; }
CodePageRegistry &codePageRegistry() { return *installed().codePageRegistry; }
DiallerFactory &diallers() { return *installed().diallers; }

ServicesOverride::ServicesOverride(const Services &r)
{
    Services &s = installed();
    replace(s.messages, r.messages, previous_.messages);
    replace(s.connectivity, r.connectivity, previous_.connectivity);
    replace(s.dialUpConnections, r.dialUpConnections, previous_.dialUpConnections);
    replace(s.fileDialogs, r.fileDialogs, previous_.fileDialogs);
    replace(s.shell, r.shell, previous_.shell);
    replace(s.keyInput, r.keyInput, previous_.keyInput);
    replace(s.codePageRegistry, r.codePageRegistry, previous_.codePageRegistry);
    replace(s.diallers, r.diallers, previous_.diallers);
}

ServicesOverride::~ServicesOverride() { installed() = previous_; }

} // namespace platform
