#pragma once

#include <QString>

namespace platform {

// True when the folder does not exist or holds no ordinary file; hidden
// files, folders and special files do not count.
bool IsFolderEmpty(const QString &folder);

} // namespace platform
