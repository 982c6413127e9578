#include "DbfFile.h"

#include "FileIo.h"
#include "TableError.h"

#include <QDate>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tables {

using fileio::readFully;

DbfFile::DbfFile(const QString &path, OpenMode mode) : path_(path), readOnly_(mode == OpenMode::ReadOnly)
{
    const QByteArray native = QFile::encodeName(path);
    fd_ = ::open(native.constData(), (readOnly_ ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    if (fd_ < 0)
        ioError(QStringLiteral("cannot open"));
    try {
        const qint64 size = fileio::sizeOf(fd_);
        if (size < 0)
            ioError(QStringLiteral("cannot read the size"));
        QByteArray bytes(int(std::min<qint64>(size, DbfHeader::kFixedSize)), '\0');
        if (!readFully(fd_, 0, bytes.data(), bytes.size()))
            ioError(QStringLiteral("cannot read the header"));
        const int needed = DbfHeader::bytesNeeded(bytes);
        if (needed > bytes.size() && needed <= size) {
            bytes.resize(needed);
            if (!readFully(fd_, 0, bytes.data(), needed))
                ioError(QStringLiteral("cannot read the header"));
        }
        header_ = DbfHeader::parse(bytes, size, path_);
        refreshRecordCount();
    } catch (...) {
        ::close(fd_);
        fd_ = -1;
        throw;
    }
}

DbfFile::~DbfFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void DbfFile::ioError(const QString &what) const
{
    throw TableError(
        TableErrorKind::Io, path_,
        QStringLiteral("Table %1: %2 (%3)").arg(path_, what, QString::fromLocal8Bit(std::strerror(errno))));
}

std::uint32_t DbfFile::recheckSize() const
{
    knownSize_ = std::max<qint64>(fileio::sizeOf(fd_), 0);
    if (knownSize_ < header_.headerSize)
        count_ = 0;
    else
        count_ = std::uint32_t(std::min<qint64>((knownSize_ - header_.headerSize) / header_.recordSize, 0xFFFFFFFFll));
    return count_;
}

std::uint32_t DbfFile::refreshRecordCount() { return recheckSize(); }

bool DbfFile::mapUpTo(qint64 end) const
{
    if (end <= mapping_.length())
        return true;
    if (mappingFailed_ || !FileMapping::isAllowed())
        return false;
    // Room to grow, so that appends do not remap at every step.
    const qint64 length = knownSize_ + std::max<qint64>(knownSize_ / 4, qint64(1) << 20);
    if (!mapping_.map(fd_, length)) {
        mappingFailed_ = true;
        return false;
    }
    return true;
}

void DbfFile::prefetchAfter(qint64 offset) const
{
    // Scans walk forward: fetch a few records ahead, so that a record's
    // first byte read is not a wait for memory (the cursor's work per record
    // is too long for the processor to overlap the next record's miss).
    constexpr int kRecordsAhead = 8;
    const qint64 ahead = offset + qint64(kRecordsAhead) * header_.recordSize;
    if (ahead + header_.recordSize > knownSize_ || ahead + header_.recordSize > mapping_.length())
        return;
    for (int at = 0; at < header_.recordSize; at += 64)
        __builtin_prefetch(mapping_.data() + ahead + at);
}

qint64 DbfFile::readUpTo(qint64 offset, char *buffer, qint64 size) const
{
    const qint64 inFile = std::min(size, knownSize_ - offset);
    if (inFile > 0 && mapUpTo(offset + inFile)) {
        prefetchAfter(offset);
        std::memcpy(buffer, mapping_.data() + offset, size_t(inFile));
        if (!mapping_.isDamaged())
            return inFile;
        // The file shrank under the mapping: map again what is left.
        mapping_.unmap();
        recheckSize();
    }
    return fileio::readUpTo(fd_, offset, buffer, size);
}

const char *DbfFile::mappedRecord(std::uint32_t recno) const
{
    if (recno < 1 || recno > count_)
        return nullptr;
    const qint64 offset = header_.headerSize + qint64(recno - 1) * header_.recordSize;
    const qint64 end = offset + header_.recordSize;
    if (end > knownSize_ || !mapUpTo(end) || mapping_.isDamaged())
        return nullptr;
    prefetchAfter(offset);
    return mapping_.data() + offset;
}

bool DbfFile::readRecord(std::uint32_t recno, char *buffer) const
{
    if (recno < 1)
        return false;
    if (recno > count_ && recheckSize() < recno)
        return false;
    const qint64 offset = header_.headerSize + qint64(recno - 1) * header_.recordSize;
    return readUpTo(offset, buffer, header_.recordSize) == header_.recordSize;
}

std::uint32_t DbfFile::readRecords(std::uint32_t first, std::uint32_t count, char *buffer) const
{
    if (first < 1 || first > count_)
        return 0;
    count = std::min(count, count_ - first + 1);
    const qint64 offset = header_.headerSize + qint64(first - 1) * header_.recordSize;
    const qint64 done = readUpTo(offset, buffer, qint64(count) * header_.recordSize);
    return std::uint32_t(done / header_.recordSize);
}

void DbfFile::requireWritable() const
{
    if (readOnly_)
        throw TableError(TableErrorKind::ReadOnly, path_, QStringLiteral("Table %1 is opened read-only").arg(path_));
}

void DbfFile::writeAt(qint64 offset, const char *data, qint64 size)
{
    if (!fileio::writeFully(fd_, offset, data, size))
        ioError(QStringLiteral("cannot write"));
}

void DbfFile::writeRecord(std::uint32_t recno, const char *buffer)
{
    requireWritable();
    if (recno < 1 || recno > count_)
        throw TableError(QStringLiteral("Table %1: record %2 does not exist").arg(path_).arg(recno));
    writeAt(header_.headerSize + qint64(recno - 1) * header_.recordSize, buffer, header_.recordSize);
}

std::uint32_t DbfFile::appendRecord(const char *buffer)
{
    requireWritable();
    refreshRecordCount();
    const std::uint32_t recno = count_ + 1;
    QByteArray bytes(buffer, header_.recordSize);
    bytes.append(char(0x1A));
    const qint64 offset = header_.headerSize + qint64(count_) * header_.recordSize;
    writeAt(offset, bytes.constData(), bytes.size());
    count_ = recno;
    knownSize_ = std::max(knownSize_, offset + bytes.size());
    writeHeaderCount();
    return recno;
}

void DbfFile::writeHeaderCount()
{
    const QDate today = QDate::currentDate();
    char b[7];
    b[0] = char(today.year() - 1900);
    b[1] = char(today.month());
    b[2] = char(today.day());
    for (int i = 0; i < 4; ++i)
        b[3 + i] = char(count_ >> (8 * i));
    writeAt(1, b, sizeof b);
}

void DbfFile::setDeleted(std::uint32_t recno, bool deleted)
{
    requireWritable();
    if (recno < 1 || recno > count_)
        throw TableError(QStringLiteral("Table %1: record %2 does not exist").arg(path_).arg(recno));
    const char flag = deleted ? '*' : ' ';
    writeAt(header_.headerSize + qint64(recno - 1) * header_.recordSize, &flag, 1);
}

void DbfFile::setProductionIndexFlag(bool on)
{
    requireWritable();
    const char flag = on ? 1 : 0;
    writeAt(28, &flag, 1);
    header_.productionIndex = on;
}

} // namespace tables
