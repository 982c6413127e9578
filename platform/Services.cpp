#include "Services.h"

#include "CodePageRegistry.h"
#include "NetworkManagerDialUp.h"
#include "NetworkManagerDialler.h"
#include "RouteConnectivity.h"

#include <stdexcept>

namespace platform {

namespace {

class NetworkManagerDiallers : public DiallerFactory {
public:
    std::unique_ptr<Dialler> create() override { return std::make_unique<NetworkManagerDialler>(); }
};

Services &installed()
{
    // The services that need widgets come with the application object
    // (platform_widgets/ErrorReportingApplication.h).
    static Services services{
        .connectivity = std::make_shared<RouteConnectivity>(),
        .dialUpConnections = std::make_shared<NetworkManagerDialUp>(),
        .codePageRegistry = std::make_shared<AbsentCodePageRegistry>(),
        .diallers = std::make_shared<NetworkManagerDiallers>(),
    };
    return services;
}

template <class T> T &present(const std::shared_ptr<T> &service, const char *name)
{
    if (!service)
        throw std::logic_error(std::string("no ") + name + " installed: the application object brings it");
    return *service;
}

template <class T>
void replace(std::shared_ptr<T> &slot, const std::shared_ptr<T> &replacement, std::shared_ptr<T> &previous)
{
    previous = slot;
    if (replacement)
        slot = replacement;
}

} // namespace

MessageService &messages() { return present(installed().messages, "message service"); }
Connectivity &connectivity() { return *installed().connectivity; }
DialUpConnections &dialUpConnections() { return *installed().dialUpConnections; }
FileDialogs &fileDialogs() { return present(installed().fileDialogs, "file dialogs"); }
Shell &shell() { return present(installed().shell, "shell"); }
KeyInput &keyInput() { return present(installed().keyInput, "key input"); }
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
