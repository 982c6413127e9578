#pragma once

#include <QString>
#include <QtGlobal>

namespace exchange {

class ExchangeFeedback;

// What a received package may make of the disk. An entry above a limit makes
// the package count as damaged.
struct UnzipLimits {
    qint64 maxEntrySize = qint64(2) << 30; // declared or actual uncompressed size
    double maxRatio = 1000; // uncompressed : compressed
    qint64 ratioFloor = qint64(1) << 20; // smaller entries are not judged by their ratio
    qint64 freeSpaceMargin = qint64(64) << 20; // left free on the disk after extraction
};

// Extracts every entry of the package into the package's own folder, without
// the stored folders, replacing files of the same name (letter case ignored),
// with the stored permissions (execute only in the program folder) and times;
// status line: name + " распакован" after each file. Each file is written
// under a temporary name and takes its name only when complete. Every entry
// is checked before the first one is written; a package that fails anywhere
// gives the message "Ошибка при распаковке " + path (with the reason in
// parentheses) and is deleted. Without error the package is deleted when
// deleteAfter is set. A missing package does nothing.
void UnzipFile(const QString &path, const QString &password, bool deleteAfter, ExchangeFeedback &feedback,
               const UnzipLimits &limits = {});

// Unpacks every package of the folder (each deleted afterwards) until none is
// left; a package that cannot be deleted is passed over and named in the
// status line.
void unpackFolder(const QString &folder, ExchangeFeedback &feedback, const UnzipLimits &limits = {});

} // namespace exchange
