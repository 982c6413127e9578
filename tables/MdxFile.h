#pragma once

#include "MdxKey.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace tables {

class MdxKeyList;
class MdxTag;

// What a new tag is made of.
struct MdxTagSpec {
    QString name; // stored upper-case, at most 10 characters
    QString expression; // stored upper-case
    MdxKeyType keyType = MdxKeyType::Character;
    int keyLength = 0; // character keys: field or expression length; numeric: 12
    bool fieldKey = true; // the key is a field (tag table key format 0x10)
};

// A dBase IV production index file: the header, the tag table, the tags and a
// cache of their blocks. Changes stay in memory until flush() (also on
// destruction); every page number read from the file is checked against the
// page count, so damaged files raise TableError naming the file.
class MdxFile {
public:
    enum class Mode { ReadOnly, ReadWrite };

    static std::unique_ptr<MdxFile> open(const QString &path, Mode mode);
    // Creates (or replaces) an empty index for a table; `tableBaseName` is the
    // table file name without folder and extension.
    static std::unique_ptr<MdxFile> create(const QString &path, const QString &tableBaseName, std::uint8_t languageId);
    ~MdxFile();
    MdxFile(const MdxFile &) = delete;
    MdxFile &operator=(const MdxFile &) = delete;

    const QString &path() const { return path_; }
    bool isWritable() const { return writable_; }
    int fd() const { return fd_; }
    std::uint8_t languageId() const;
    int version() const;
    std::uint32_t pageCount() const;

    int tagCount() const { return int(tags_.size()); }
    MdxTag &tag(int index) { return *tags_.at(size_t(index)); }
    const MdxTag &tag(int index) const { return *tags_.at(size_t(index)); }
    // Case-insensitive; nullptr when the file has no such tag.
    MdxTag *findTag(QStringView name);

    // Adds a tag filled with `entries` (any order; sorted here).
    MdxTag &addTag(const MdxTagSpec &tagSpec, MdxKeyList entries);

    // Writes changed blocks, then the tag headers, then the file header.
    void flush();
    // Forgets every cached block and re-reads the header and the tag headers
    // (another program may have changed the file). Unflushed changes are lost;
    // when the tag table changed, tags must be looked up again.
    void reload();

    // --- sharing the file with other table objects and programs ---
    // False when the file changed since it was last read or written here.
    bool isUnchanged();
    // Marks an update in progress (written at once); a mark found when
    // opening means an update was interrupted and the tags may be wrong.
    void setUpdating(bool on);
    bool isUpdating() const;

    // --- block access for MdxTag ---
    void readBlock(std::uint32_t page, char *out);
    void writeBlock(std::uint32_t page, const char *block);
    std::uint32_t allocateBlock();
    // Pages a walk may visit at most: every block once.
    std::uint32_t blockLimit() const;
    [[noreturn]] void damaged(const QString &what) const;
    void requireWritable() const;
    void headerChanged() { headerDirty_ = true; }

private:
    MdxFile(const QString &path, Mode mode, int fd);
    void readHeader();
    void loadTags();
    void writeAt(qint64 offset, const char *data, qint64 size);
    void writeDirtyBlocks();
    char *tagEntry(int index);
    void touch();
    void noteState();

    struct CachedBlock {
        std::unique_ptr<char[]> data;
        bool dirty = false;
    };

    QString path_;
    int fd_ = -1;
    bool writable_ = false;
    qint64 fileSize_ = 0;
    // What the file looked like when last read or written here.
    struct State {
        qint64 size = -1;
        qint64 mtimeNs = 0;
        std::uint32_t counter = 0;
        bool operator==(const State &) const = default;
    };
    State seen_;
    State currentState();
    QByteArray header_; // pages 0..3: file header and tag table
    bool headerDirty_ = false;
    std::vector<std::unique_ptr<MdxTag>> tags_;
    std::vector<std::unique_ptr<MdxTag>> retired_;
    std::unordered_map<std::uint32_t, CachedBlock> cache_;
};

} // namespace tables
