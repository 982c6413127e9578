#include "FileMapping.h"

#include "BusErrorPatch.h"

#include <atomic>
#include <sys/mman.h>

namespace tables {

namespace {
std::atomic<bool> mappingAllowed{true};
}

FileMapping::~FileMapping() { unmap(); }

bool FileMapping::map(int fd, qint64 length)
{
    unmap();
    if (length <= 0 || !isAllowed())
        return false;
    void *p = ::mmap(nullptr, size_t(length), PROT_READ, MAP_SHARED, fd, 0);
    if (p == MAP_FAILED)
        return false;
    slot_ = buserror::registerRange(static_cast<const char *>(p), length);
    if (slot_ < 0) { // unguarded, a shrunk file could crash the reader
        ::munmap(p, size_t(length));
        return false;
    }
    data_ = static_cast<const char *>(p);
    length_ = length;
    damaged_ = &buserror::damagedFlag(slot_);
    return true;
}

void FileMapping::unmap()
{
    if (data_) {
        buserror::unregisterRange(slot_);
        ::munmap(const_cast<char *>(data_), size_t(length_));
    }
    data_ = nullptr;
    length_ = 0;
    slot_ = -1;
    damaged_ = nullptr;
}

void FileMapping::setAllowed(bool allowed) { mappingAllowed = allowed; }
bool FileMapping::isAllowed() { return mappingAllowed; }

} // namespace tables
