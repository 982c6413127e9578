#pragma once

#include "DbfHeader.h"
#include "FileMapping.h"

#include <QString>

#include <cstdint>

namespace tables {

enum class OpenMode { ReadOnly, ReadWrite };

// An open .dbf file: header, record reads and writes by physical record
// number (1-based). The record count is the number of whole records the file
// holds, not the header's count: other writers, or a crash, may leave them apart.
// Records are read through a shared mapping of the file (positioned reads
// where it cannot be mapped), so another writer's posts show at once; the
// file size is read again only when a record past the known count is asked for.
class DbfFile {
public:
    DbfFile(const QString &path, OpenMode mode);
    ~DbfFile();
    DbfFile(const DbfFile &) = delete;
    DbfFile &operator=(const DbfFile &) = delete;

    const QString &path() const { return path_; }
    const DbfHeader &header() const { return header_; }
    bool isReadOnly() const { return readOnly_; }
    int fd() const { return fd_; }

    std::uint32_t recordCount() const { return count_; }
    // True while reads come from the mapping (not from positioned reads).
    bool readsMapped() const { return mapping_.isMapped(); }
    // Re-reads the file size; returns the new count.
    std::uint32_t refreshRecordCount();

    // False when recno lies beyond the file (another writer may have truncated
    // it). A record past the known count makes the size be read again first.
    bool readRecord(std::uint32_t recno, char *buffer) const;
    // The record's bytes in the mapping, to judge without a copy; nullptr when
    // it is not mapped. Valid until the next call on this object. What it
    // says may be zeros when the file shrank: confirm with readRecord.
    const char *mappedRecord(std::uint32_t recno) const;
    // Reads up to `count` consecutive records from `first` in one call; returns
    // how many whole records were read.
    std::uint32_t readRecords(std::uint32_t first, std::uint32_t count, char *buffer) const;
    void writeRecord(std::uint32_t recno, const char *buffer);
    // Writes the record after the last one, then the end marker, then the
    // header's count: a crash never leaves a count that points past the data.
    std::uint32_t appendRecord(const char *buffer);
    void setDeleted(std::uint32_t recno, bool deleted);

    void setProductionIndexFlag(bool on);

private:
    void requireWritable() const;
    void writeAt(qint64 offset, const char *data, qint64 size);
    void writeHeaderCount();
    std::uint32_t recheckSize() const;
    // Whole bytes read from offset: the mapping first, positioned reads after.
    qint64 readUpTo(qint64 offset, char *buffer, qint64 size) const;
    bool mapUpTo(qint64 end) const;
    void prefetchAfter(qint64 offset) const;
    [[noreturn]] void ioError(const QString &what) const;

    QString path_;
    int fd_ = -1;
    bool readOnly_ = true;
    DbfHeader header_;
    // What reads learn about the file: refreshed from const reads too.
    mutable std::uint32_t count_ = 0;
    mutable qint64 knownSize_ = 0; // at the last size check or own append
    mutable FileMapping mapping_;
    mutable bool mappingFailed_ = false;
};

} // namespace tables
