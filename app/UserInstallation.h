#pragma once

#include <QString>
#include <QStringList>

namespace platform {
class MessageService;
}

namespace app {

// The folder the program keeps its settings and working folders in. An
// executable's folder holding the settings file or the transfer library is a
// self-contained installation (a copied program folder, the build, the demo)
// and is used as it is; an installed program, whose folder holds neither,
// keeps one installation per user in `userFolder`.
QString installationFolder(const QString &executableFolder, const QString &userFolder);

// $XDG_DATA_HOME/KXOrders/, usually ~/.local/share/KXOrders/.
QString defaultUserFolder();

enum class DemoOffer { Ask, Create };

// The first start of a per-user installation: a missing or empty folder is
// created and the demo data offered (or written without asking). The demo is
// written aside and moved in whole, so a failure leaves the folder empty.
// False when the folder cannot be created; every failure is reported.
bool prepareUserInstallation(const QString &folder, DemoOffer offer, platform::MessageService &messages);

// At program start: the installation folder chosen and, for an installed
// program, prepared; made the program folder and named to the transfer
// library. "--demo" among the arguments writes the demo data without asking.
// False: the program cannot start.
bool setUpInstallation(const QStringList &arguments);

} // namespace app
