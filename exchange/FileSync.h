#pragma once

#include <QString>

namespace exchange {

// Puts a table file, its memo and production index and their folder entry on
// the disk (fsync), so that what follows may rely on them surviving a crash.
void syncTableFiles(const QString &tablePath);

} // namespace exchange
