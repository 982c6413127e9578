#pragma once

#include <memory>

namespace platform {

class CodePageRegistry;
class Connectivity;
class DialUpConnections;
class DiallerFactory;
class FileDialogs;
class KeyInput;
class MessageService;
class Shell;

// The platform services the program uses. Until something else is installed
// they are the Linux implementations; those that need widgets come with the
// program's application object, and asking for one before it exists throws
// std::logic_error.
MessageService &messages();
Connectivity &connectivity();
DialUpConnections &dialUpConnections();
FileDialogs &fileDialogs();
Shell &shell();
KeyInput &keyInput();
CodePageRegistry &codePageRegistry();
DiallerFactory &diallers();

// A set of replacements; null members leave the service in place.
struct Services {
    std::shared_ptr<MessageService> messages = {};
    std::shared_ptr<Connectivity> connectivity = {};
    std::shared_ptr<DialUpConnections> dialUpConnections = {};
    std::shared_ptr<FileDialogs> fileDialogs = {};
    std::shared_ptr<Shell> shell = {};
    std::shared_ptr<KeyInput> keyInput = {};
    std::shared_ptr<CodePageRegistry> codePageRegistry = {};
    std::shared_ptr<DiallerFactory> diallers = {};
};

// Installs replacements for its lifetime and puts the previous services back.
class ServicesOverride {
public:
    explicit ServicesOverride(const Services &replacements);
    ~ServicesOverride();
    ServicesOverride(const ServicesOverride &) = delete;
    ServicesOverride &operator=(const ServicesOverride &) = delete;

private:
    Services previous_;
};

} // namespace platform
