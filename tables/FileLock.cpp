#include "FileLock.h"

#include "TableError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>

namespace tables {

namespace {

bool setLock(int fd, short type, std::int64_t start, std::int64_t length, bool wait)
{
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(start);
    fl.l_len = off_t(length);
    fl.l_pid = 0; // required for open-file-description locks
    for (;;) {
        if (::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

} // namespace

FileLock::FileLock(int fd, Kind kind, const QString &path, std::int64_t start, std::int64_t length)
    : fd_(fd), start_(start), length_(length)
{
    if (!setLock(fd, kind == Kind::Exclusive ? F_WRLCK : F_RDLCK, start, length, true))
        throw TableError(
            TableErrorKind::Locked, path,
            QStringLiteral("File %1 cannot be locked (%2)").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
}

FileLock::~FileLock() { setLock(fd_, F_UNLCK, start_, length_, false); }

} // namespace tables
