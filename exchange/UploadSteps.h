#pragma once

#include <QString>

namespace exchange {

class ExchangeFeedback;

// Packs the prepared ".dbf" files of the orders folder into the outgoing
// package (level 8, no password), reads the package back and deletes each
// prepared file only when the package holds it byte for byte; a file it does
// not hold stays, and the status line names it. Returns the package's path,
// empty when there was nothing to pack. Packing errors go on to the caller
// with every prepared file still there.
QString packPreparedFiles(const QString &ordersFolder, int subCustomerId, ExchangeFeedback &feedback);

// Whether the package holds an entry of the file's name with exactly its bytes.
bool packageHolds(const QString &packagePath, const QString &filePath);

} // namespace exchange
