#pragma once

#include "platform/Shell.h"

namespace platform {

class DesktopShell : public Shell {
public:
    bool openWithAssociatedApplication(const QString &path) override;
};

} // namespace platform
