#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace exchange {

// The name of a package entry as stored: UTF-8 when the entry says so (or the
// name is plain ASCII), otherwise code page 866, what Russian Windows zip
// tools write. Nothing when a UTF-8 name is not valid UTF-8.
std::optional<QString> decodeEntryName(const QByteArray &raw, bool utf8Flag);

// Whether a name we write needs the UTF-8 flag: only names that are not plain
// ASCII carry it, so older Windows tools read the others as before.
bool needsUtf8Flag(const QString &name);

struct EntryTarget {
    bool isFolder = false; // a folder entry: nothing to extract
    QString fileName; // the last part of the stored path
    QString refusal; // why the entry cannot be extracted (empty: it can)
};

// The file an entry is extracted to inside its package's folder: the last
// part of the stored path (split on '/' and '\'). Empty names, "." and "..",
// drive letters and stream names (':') and control characters are refused.
EntryTarget entryTarget(const QString &storedName);

} // namespace exchange
