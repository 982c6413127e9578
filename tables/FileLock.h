#pragma once

#include <QString>

#include <cstdint>

namespace tables {

// An OS lock (open-file-description fcntl lock) on one byte range of an open
// file, held for the object's lifetime. Several table objects on one file
// exclude each other whether they live in one process or in two, and the
// locks also exclude TDbf's, which uses the same byte for the file header.
class FileLock {
public:
    // The byte TDbf locks for a file's header (page 0) on Unix.
    static constexpr std::int64_t kHeaderByte = 0x7FFFFFFF;

    enum class Kind { Shared, Exclusive };

    // Waits for the lock; TableError naming `path` when it cannot be taken.
    FileLock(int fd, Kind kind, const QString &path, std::int64_t start = kHeaderByte, std::int64_t length = 1);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

private:
    int fd_;
    std::int64_t start_;
    std::int64_t length_;
};

} // namespace tables
