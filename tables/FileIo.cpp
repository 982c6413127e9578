#include "FileIo.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace tables::fileio {

qint64 sizeOf(int fd)
{
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? qint64(st.st_size) : -1;
}

qint64 readUpTo(int fd, qint64 offset, char *buffer, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, buffer + done, size_t(size - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

bool writeFully(int fd, qint64 offset, const char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, size_t(size - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QString errnoText() { return QString::fromLocal8Bit(std::strerror(errno)); }

} // namespace tables::fileio
