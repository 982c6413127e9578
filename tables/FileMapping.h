#pragma once

#include <QtGlobal>

namespace tables {

// A shared read-only memory mapping of an open file, unmapped on destruction.
// The length may exceed the file: pages past its end become readable when the
// file grows, and reading them before faults (see copyGuarded).
class FileMapping {
public:
    FileMapping() = default;
    ~FileMapping();
    FileMapping(const FileMapping &) = delete;
    FileMapping &operator=(const FileMapping &) = delete;

    // Replaces the mapping by one of `length` bytes from the start of fd;
    // false (and no mapping) when the system refuses, e.g. on some network file systems.
    bool map(int fd, qint64 length);
    void unmap();
    bool isMapped() const { return data_ != nullptr; }
    const char *data() const { return data_; }
    qint64 length() const { return length_; }

    // Off: every read goes through positioned reads (the fallback; tests force it).
    static void setAllowed(bool allowed);
    static bool isAllowed();

private:
    const char *data_ = nullptr;
    qint64 length_ = 0;
};

} // namespace tables
