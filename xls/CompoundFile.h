#pragma once

#include <QByteArray>
#include <QString>

namespace xls {

// Streams shorter than this live in the mini stream, which compoundFile() does
// not build: callers pad their stream up to it.
constexpr qsizetype MiniStreamCutoff = 4096;

// An OLE2 compound document (version 3, 512-byte sectors) whose root storage
// holds the one stream given. The stream must be at least MiniStreamCutoff bytes;
// the name at most 31 characters without '/', '\', ':' or '!'.
QByteArray compoundFile(const QString &streamName, const QByteArray &stream);

} // namespace xls
