#pragma once

#include "DbfHeader.h"

#include <QString>

#include <cstdint>

namespace tables {

enum class OpenMode { ReadOnly, ReadWrite };

// An open .dbf file: header, record reads and writes by physical record
// number (1-based). The record count is the number of whole records the file
// holds, not the header's count: other writers, or a crash, may leave them apart.
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
    // Re-reads the file size; returns the new count.
    std::uint32_t refreshRecordCount();

    // False when recno lies beyond the file (another writer may have truncated it).
    bool readRecord(std::uint32_t recno, char *buffer) const;
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
    [[noreturn]] void ioError(const QString &what) const;

    QString path_;
    int fd_ = -1;
    bool readOnly_ = true;
    DbfHeader header_;
    std::uint32_t count_ = 0;
};

} // namespace tables
