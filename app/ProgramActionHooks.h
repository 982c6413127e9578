#pragma once

#include "PendingActionHooks.h"

namespace app {

// The windows the program has, behind the main window's actions; the rest
// are still reported as not available.
class ProgramActionHooks : public PendingActionHooks {
public:
    void openOrderWindow(windows::MainFrmServices &main, OrderWindowKind kind, const QString &tablePath) override;
};

} // namespace app
