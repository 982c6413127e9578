#pragma once

#include <QtGlobal>

#include <atomic>

namespace tables {

// A shared read-only memory mapping of an open file, unmapped on destruction.
// The length may exceed the file: pages past its end become readable when the
// file grows. Reading a page past the end never faults: it reads zeros and
// the mapping says it is damaged (see BusErrorPatch.h).
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
    // True once a read touched a page past the file's end (the file shrank):
    // what was read there is zeros, not the file.
    bool isDamaged() const { return damaged_ && damaged_->load(std::memory_order_relaxed); }

    // Off: every read goes through positioned reads (the fallback; tests force it).
    static void setAllowed(bool allowed);
    static bool isAllowed();

private:
    const char *data_ = nullptr;
    qint64 length_ = 0;
    int slot_ = -1;
    const std::atomic<bool> *damaged_ = nullptr;
};

} // namespace tables
