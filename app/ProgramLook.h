#pragma once

class QApplication;

namespace app {

// Names and look of the program: application name, title and icon, the 8 point
// user-interface font the windows are laid out for, and the code page of the
// distributor's unmarked tables.
void setUpProgram(QApplication &application);

} // namespace app
