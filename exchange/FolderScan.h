#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace exchange {

class ExchangeFeedback;

// The plain files of `folder` whose names end with `extension` (with its dot,
// letter case ignored), in name order; hidden files, links and folders do
// not count.
QStringList filesByExt(const QString &folder, const QString &extension);

// The first plain file of `folder` whose name ends with `extension` (with its
// dot, letter case ignored), in name order; hidden files, links and folders
// do not count, nor names in `skip`. Nothing when the folder does not exist
// or holds no such file.
std::optional<QString> FindFileByExt(const QString &folder, const QString &extension, const QSet<QString> &skip = {});

// The loop of the exchange over a folder: `handle` gets the full path of the
// first file found and should make it go away (unpack and delete, rename,
// delete); then the folder is searched again. A file still there afterwards
// resisted: the status line names it as `resistedText` + path. A name is
// handled once, so the loop ends even when files resist or come back.
// Returns the names that resisted.
QStringList forEachFileByExt(const QString &folder, const QString &extension, ExchangeFeedback &feedback,
                             const QString &resistedText, const std::function<void(const QString &path)> &handle);

// Deletes every file of the folder with the extension, through
// forEachFileByExt: one that cannot be deleted is named and passed over.
QStringList removeFilesByExt(const QString &folder, const QString &extension, ExchangeFeedback &feedback);

// Folder path with one trailing '/'.
QString folderPath(const QString &folder);

} // namespace exchange
