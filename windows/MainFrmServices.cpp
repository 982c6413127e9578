#include "MainFrmServices.h"

namespace windows {

namespace {
MainFrmServices *g_mainFrm = nullptr;
}

MainFrmServices *mainFrm() { return g_mainFrm; }
void setMainFrm(MainFrmServices *services) { g_mainFrm = services; }

} // namespace windows
