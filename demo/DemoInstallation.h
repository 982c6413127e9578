#pragma once

#include <QString>

namespace demo {

struct DemoOptions {
    int priceRows = 3000;
    unsigned seed = 20240305;
    // Copied into the folder as "KXOrders" when set, so that the folder is a
    // complete program folder (the settings files live beside the executable).
    QString executable = {};
};

// True when the folder already holds an installation (a settings file,
// properties.ini or a price list in IN/).
bool holdsInstallation(const QString &folder);

// Writes a complete demo installation into `folder`: settings files, the
// seven working folders with the distributor's tables, the order template
// with its mapping and the header layout. Raises std::runtime_error (or the
// table engine's error) on failure, and refuses a folder that already holds
// an installation.
void createDemoInstallation(const QString &folder, const DemoOptions &options = {});

} // namespace demo
