#include "FileSystem.h"

#include <QDirIterator>

namespace platform {

bool IsFolderEmpty(const QString &folder)
{
    // Without QDir::Hidden and QDir::System only plain visible files are listed.
    QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot);
    return !it.hasNext();
}

} // namespace platform
