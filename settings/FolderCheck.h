#pragma once

#include <QString>

#include <optional>

namespace settings {

// Why a folder cannot serve as a working folder (it cannot be created, or
// nothing can be written into it), in Russian and naming it; nothing when it
// can. A missing folder is created on the way.
std::optional<QString> folderProblem(const QString &path);

} // namespace settings
