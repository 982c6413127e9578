#include "DesktopShell.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform {

bool DesktopShell::openWithAssociatedApplication(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace platform
