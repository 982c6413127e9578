#pragma once

namespace platform {

// Whether the workstation has an internet connection.
class Connectivity {
public:
    virtual ~Connectivity() = default;
    virtual bool IsConnected() = 0;
};

} // namespace platform
