#pragma once

#include <QString>
#include <QtGlobal>

namespace tables::fileio {

// Positioned reads and writes on a POSIX descriptor that carry on after
// short transfers and interrupted calls.

// -1 when the size cannot be read.
qint64 sizeOf(int fd);
// Bytes read from `offset`: fewer than `size` at the end of the file or on
// an error (errno tells which).
qint64 readUpTo(int fd, qint64 offset, char *buffer, qint64 size);
inline bool readFully(int fd, qint64 offset, char *buffer, qint64 size)
{
    return readUpTo(fd, offset, buffer, size) == size;
}
// False on an error, errno set.
bool writeFully(int fd, qint64 offset, const char *data, qint64 size);
// The text of errno.
QString errnoText();

} // namespace tables::fileio
