#include "MdxFile.h"

#include "FileIo.h"
#include "MdxKeyList.h"
#include "MdxLayout.h"
#include "MdxTag.h"
#include "TableError.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tables {

using namespace mdx;
using fileio::errnoText;

namespace {

// Blocks kept in memory before changed ones are written out and the cache is
// emptied.
constexpr size_t kCacheBlocks = 4096;

void putDate(char *p, const QDate &d)
{
    p[0] = char(std::clamp(d.year() - 1900, 0, 255));
    p[1] = char(d.month());
    p[2] = char(d.day());
}

} // namespace

MdxFile::MdxFile(const QString &path, Mode mode, int fd) : path_(path), fd_(fd), writable_(mode == Mode::ReadWrite) {}

MdxFile::~MdxFile()
{
    try {
        flush();
    } catch (...) {
        // A destructor cannot report; the next open finds what was written.
    }
    if (fd_ >= 0)
        ::close(fd_);
}

std::unique_ptr<MdxFile> MdxFile::open(const QString &path, Mode mode)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), (mode == Mode::ReadOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    if (fd < 0)
        throw TableError(TableErrorKind::Index, path,
                         QStringLiteral("Index %1 cannot be opened (%2)").arg(path, errnoText()));
    std::unique_ptr<MdxFile> file(new MdxFile(path, mode, fd));
    file->readHeader();
    file->loadTags();
    file->noteState();
    return file;
}

std::unique_ptr<MdxFile> MdxFile::create(const QString &path, const QString &tableBaseName, std::uint8_t languageId)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        throw TableError(TableErrorKind::Index, path,
                         QStringLiteral("Index %1 cannot be created (%2)").arg(path, errnoText()));
    std::unique_ptr<MdxFile> file(new MdxFile(path, Mode::ReadWrite, fd));
    QByteArray &h = file->header_;
    h = QByteArray(kHeaderBytes, '\0');
    char *p = h.data();
    const QDate today = QDate::currentDate();
    p[kVersionOffset] = 2;
    putDate(p + kCreatedOffset, today);
    const QByteArray base = tableBaseName.toLatin1().left(kTableNameSize - 1);
    std::memcpy(p + kTableNameOffset, base.constData(), size_t(base.size()));
    put16(p + kBlockPagesOffset, kPagesPerBlock);
    put16(p + kBlockBytesOffset, kBlockSize);
    p[kProductionOffset] = 1;
    p[kTagSlotsOffset] = char(kTagSlots);
    p[kTagEntrySizeOffset] = char(kTagEntrySize);
    p[kLanguageOffset] = char(languageId);
    put32(p + kPageCountOffset, kHeaderPages);
    putDate(p + kUpdatedOffset, today);
    p[kAlwaysOneOffset] = 1;
    file->writeAt(0, h.constData(), h.size());
    file->fileSize_ = kHeaderBytes;
    file->noteState();
    return file;
}

std::uint8_t MdxFile::languageId() const { return std::uint8_t(header_[kLanguageOffset]); }
int MdxFile::version() const { return std::uint8_t(header_[kVersionOffset]); }
std::uint32_t MdxFile::pageCount() const { return get32(header_.constData() + kPageCountOffset); }
std::uint32_t MdxFile::blockLimit() const { return pageCount() / kPagesPerBlock + 1; }

void MdxFile::damaged(const QString &what) const
{
    throw TableError(TableErrorKind::Index, path_, QStringLiteral("Damaged index %1: %2").arg(path_, what));
}

void MdxFile::requireWritable() const
{
    if (!writable_)
        throw TableError(QStringLiteral("Index %1 is opened read-only").arg(path_));
}

void MdxFile::readHeader()
{
    fileSize_ = fileio::sizeOf(fd_);
    if (fileSize_ < kHeaderBytes)
        damaged(QStringLiteral("the file is shorter than its header"));
    header_.resize(kHeaderBytes);
    if (!fileio::readFully(fd_, 0, header_.data(), kHeaderBytes))
        damaged(QStringLiteral("the header cannot be read (%1)").arg(errnoText()));
    const char *p = header_.constData();
    const int v = version();
    if (v != 2 && v != 3)
        damaged(QStringLiteral("unknown version %1").arg(v));
    if (get16(p + kBlockPagesOffset) != kPagesPerBlock || get16(p + kBlockBytesOffset) != kBlockSize)
        damaged(QStringLiteral("blocks of %1 pages / %2 bytes are not supported")
                    .arg(get16(p + kBlockPagesOffset))
                    .arg(get16(p + kBlockBytesOffset)));
    if (std::uint8_t(p[kTagEntrySizeOffset]) != kTagEntrySize)
        damaged(QStringLiteral("tag entries of %1 bytes").arg(std::uint8_t(p[kTagEntrySizeOffset])));
    const int used = get16(p + kTagsUsedOffset);
    if (used > kTagSlots)
        damaged(QStringLiteral("%1 tags in use, the file has room for %2").arg(used).arg(kTagSlots));
    const std::uint32_t pages = pageCount();
    if (pages < std::uint32_t(kHeaderPages) || qint64(pages) * kPageSize > fileSize_)
        damaged(QStringLiteral("the header counts %1 pages, the file holds %2").arg(pages).arg(fileSize_ / kPageSize));
}

char *MdxFile::tagEntry(int index) { return header_.data() + kTagTableOffset + index * kTagEntrySize; }

void MdxFile::loadTags()
{
    std::vector<std::unique_ptr<MdxTag>> tags;
    const int used = get16(header_.constData() + kTagsUsedOffset);
    // A dBase 7 tag entry has a longer name; within the slot it still ends
    // before the next entry.
    const int nameSize = version() == 3 ? kTagEntrySize - kTagNameOffset : kTagNameSize;
    for (int i = 0; i < used; ++i) {
        const char *e = tagEntry(i);
        const std::uint32_t headerPage = get32(e + kTagHeaderPageOffset);
        const char *nameBytes = e + kTagNameOffset;
        const int length = int(std::find(nameBytes, nameBytes + nameSize, '\0') - nameBytes);
        const QString name = QString::fromLatin1(nameBytes, length).trimmed().toUpper();
        for (const auto &t : tags) {
            if (t->headerPage() == headerPage)
                damaged(QStringLiteral("tags %1 and %2 share their header").arg(t->name(), name));
        }
        const bool fieldKey = version() == 2 && std::uint8_t(e[kTagKeyFormatOffset]) == kKeyFormatField;
        tags.push_back(std::make_unique<MdxTag>(*this, name, headerPage, fieldKey));
    }
    tags_ = std::move(tags);
}

MdxTag *MdxFile::findTag(QStringView name)
{
    for (const auto &t : tags_) {
        if (t->name().compare(name, Qt::CaseInsensitive) == 0)
            return t.get();
    }
    return nullptr;
}

MdxTag &MdxFile::addTag(const MdxTagSpec &tagSpec, MdxKeyList entries)
{
    requireWritable();
    const QString name = tagSpec.name.trimmed().toUpper().left(kTagNameSize - 1);
    if (name.isEmpty())
        throw TableError(QStringLiteral("Index %1: a tag needs a name").arg(path_));
    if (findTag(name))
        throw TableError(QStringLiteral("Index %1 already has a tag %2").arg(path_, name));
    if (tagCount() >= kMaxTags)
        throw TableError(QStringLiteral("Index %1 cannot hold more than %2 tags").arg(path_).arg(kMaxTags));
    MdxTagSpec named = tagSpec;
    named.name = name;
    std::unique_ptr<MdxTag> tag = MdxTag::build(*this, named, entries);
    char *e = tagEntry(tagCount());
    std::memset(e, 0, kTagEntrySize);
    put32(e + kTagHeaderPageOffset, tag->headerPage());
    const QByteArray nameBytes = name.toLatin1();
    std::memcpy(e + kTagNameOffset, nameBytes.constData(), size_t(nameBytes.size()));
    e[kTagKeyFormatOffset] = char(tagSpec.fieldKey ? kKeyFormatField : kKeyFormatCalculated);
    e[kTagReservedOffset] = 2;
    e[kTagKeyTypeOffset] = char(tagSpec.keyType);
    tags_.push_back(std::move(tag));
    put16(header_.data() + kTagsUsedOffset, std::uint16_t(tags_.size()));
    headerDirty_ = true;
    flush();
    return *tags_.back();
}

void MdxFile::readBlock(std::uint32_t page, char *out)
{
    if (page < std::uint32_t(kHeaderPages) || std::uint64_t(page) + kPagesPerBlock > pageCount())
        damaged(QStringLiteral("block %1 lies outside the file's %2 pages").arg(page).arg(pageCount()));
    const auto it = cache_.find(page);
    if (it != cache_.end()) {
        std::memcpy(out, it->second.data.get(), kBlockSize);
        return;
    }
    const qint64 offset = qint64(page) * kPageSize;
    if (offset + kBlockSize > fileSize_ || !fileio::readFully(fd_, offset, out, kBlockSize))
        damaged(QStringLiteral("block %1 cannot be read").arg(page));
    if (cache_.size() >= kCacheBlocks) {
        writeDirtyBlocks();
        cache_.clear();
    }
    CachedBlock b;
    b.data.reset(new char[kBlockSize]);
    std::memcpy(b.data.get(), out, kBlockSize);
    cache_.emplace(page, std::move(b));
}

void MdxFile::writeBlock(std::uint32_t page, const char *block)
{
    requireWritable();
    if (page < std::uint32_t(kHeaderPages) || std::uint64_t(page) + kPagesPerBlock > pageCount())
        damaged(QStringLiteral("block %1 lies outside the file's %2 pages").arg(page).arg(pageCount()));
    auto it = cache_.find(page);
    if (it == cache_.end()) {
        if (cache_.size() >= kCacheBlocks) {
            writeDirtyBlocks();
            cache_.clear();
        }
        CachedBlock b;
        b.data.reset(new char[kBlockSize]);
        it = cache_.emplace(page, std::move(b)).first;
    }
    std::memcpy(it->second.data.get(), block, kBlockSize);
    it->second.dirty = true;
}

std::uint32_t MdxFile::allocateBlock()
{
    requireWritable();
    const std::uint32_t page = pageCount();
    if (page > 0x7FFFFFF0u)
        throw TableError(TableErrorKind::Index, path_, QStringLiteral("Index %1 is full").arg(path_));
    put32(header_.data() + kPageCountOffset, page + kPagesPerBlock);
    headerDirty_ = true;
    const char zero[kBlockSize] = {};
    writeBlock(page, zero);
    return page;
}

void MdxFile::writeAt(qint64 offset, const char *data, qint64 size)
{
    if (!fileio::writeFully(fd_, offset, data, size))
        throw TableError(TableErrorKind::Io, path_,
                         QStringLiteral("Index %1 cannot be written (%2)").arg(path_, errnoText()));
    fileSize_ = std::max(fileSize_, offset + size);
}

void MdxFile::writeDirtyBlocks()
{
    // Tree blocks first, tag headers (which point into the trees) after them.
    std::vector<std::uint32_t> blocks;
    std::vector<std::uint32_t> headers;
    for (const auto &[page, block] : cache_) {
        if (!block.dirty)
            continue;
        const bool isHeader =
            std::any_of(tags_.begin(), tags_.end(), [page = page](const auto &t) { return t->headerPage() == page; });
        (isHeader ? headers : blocks).push_back(page);
    }
    std::sort(blocks.begin(), blocks.end());
    std::sort(headers.begin(), headers.end());
    blocks.insert(blocks.end(), headers.begin(), headers.end());
    for (const std::uint32_t page : blocks) {
        CachedBlock &b = cache_[page];
        writeAt(qint64(page) * kPageSize, b.data.get(), kBlockSize);
        b.dirty = false;
    }
}

void MdxFile::touch() { putDate(header_.data() + kUpdatedOffset, QDate::currentDate()); }

void MdxFile::flush()
{
    if (!writable_)
        return;
    const bool blocksChanged =
        std::any_of(cache_.begin(), cache_.end(), [](const auto &entry) { return entry.second.dirty; });
    if (!blocksChanged && !headerDirty_)
        return;
    writeDirtyBlocks();
    touch();
    put32(header_.data() + kChangeCounterOffset, get32(header_.constData() + kChangeCounterOffset) + 1);
    writeAt(0, header_.constData(), header_.size());
    headerDirty_ = false;
    noteState();
}

MdxFile::State MdxFile::currentState()
{
    State s;
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        return s;
    s.size = st.st_size;
    s.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    char counter[4] = {};
    if (fileio::readFully(fd_, kChangeCounterOffset, counter, 4))
        s.counter = get32(counter);
    return s;
}

void MdxFile::noteState() { seen_ = currentState(); }

bool MdxFile::isUnchanged() { return currentState() == seen_; }

bool MdxFile::isUpdating() const { return header_[kUpdatingOffset] != 0; }

void MdxFile::setUpdating(bool on)
{
    requireWritable();
    header_[kUpdatingOffset] = char(on ? 1 : 0);
    writeAt(kUpdatingOffset, header_.constData() + kUpdatingOffset, 1);
    noteState();
}

void MdxFile::reload()
{
    cache_.clear();
    headerDirty_ = false;
    readHeader();
    noteState();
    const int used = get16(header_.constData() + kTagsUsedOffset);
    bool same = used == tagCount();
    for (int i = 0; same && i < used; ++i)
        same = get32(tagEntry(i) + kTagHeaderPageOffset) == tags_[size_t(i)]->headerPage();
    if (same) {
        for (const auto &t : tags_)
            t->reload();
    } else {
        // Tags handed out before stay valid (and unused) until the file closes.
        for (auto &t : tags_)
            retired_.push_back(std::move(t));
        loadTags();
    }
}

} // namespace tables
