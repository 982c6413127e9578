#pragma once

#include "MdxKey.h"
#include "MdxNode.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace tables {

class MdxFile;
class MdxKeyList;
struct MdxTagSpec;

// A place in a tag's B-tree: the blocks from the root down to a leaf and the
// entry taken in each.
struct MdxPathStep {
    std::uint32_t page = 0;
    MdxNode node;
    int index = 0;
};
using MdxPath = std::vector<MdxPathStep>;

// One tag of a production index: a B-tree of (key, record number) entries in
// key order, equal keys in record number order.
class MdxTag {
public:
    // Reads the tag header at `headerPage`; TableError when it is damaged.
    MdxTag(MdxFile &file, const QString &name, std::uint32_t headerPage, bool fieldKey);

    // Writes a new, filled tag into the file (blocks at the end of the file).
    static std::unique_ptr<MdxTag> build(MdxFile &file, const MdxTagSpec &tagSpec, MdxKeyList &entries);

    MdxFile &file() const { return file_; }
    const QString &name() const { return name_; }
    const QString &expression() const { return expression_; }
    MdxKeyType keyType() const { return order_.type(); }
    int keyLength() const { return geometry_.keyLength; }
    bool isFieldKey() const { return fieldKey_; }
    std::uint32_t headerPage() const { return headerPage_; }
    const MdxKeyOrder &order() const { return order_; }
    const MdxGeometry &geometry() const { return geometry_; }
    // Changes with every change of the tree (and when the file is re-read), so
    // cursors know to find their place again.
    std::uint64_t generation() const { return generation_; }

    // Keys must have the tag's key length. False when the entry was already
    // there (insert) or was not there (remove).
    bool insert(QByteArrayView key, std::uint32_t recno);
    bool remove(QByteArrayView key, std::uint32_t recno);
    // Moves a record's entry when its key changed.
    void update(QByteArrayView oldKey, QByteArrayView newKey, std::uint32_t recno);
    bool contains(QByteArrayView key, std::uint32_t recno);

    // --- tree walking, for MdxCursor ---
    // Path to the first entry >= (key, recno); recno 0 takes the first entry
    // of the key, a character key shorter than the tag's matches as a prefix.
    // The leaf index may equal the leaf's count: then the entry is the first
    // of the following leaves, if any.
    MdxPath lowerBound(QByteArrayView key, std::uint32_t recno);
    MdxPath edge(bool last);
    // Next or previous entry; false (path unchanged) at the end. `budget`
    // counts leaves entered and stops walks through looping blocks.
    bool step(MdxPath &path, bool forward, std::uint32_t &budget);
    // Moves off an index equal to the leaf's count; false when none follows.
    bool settle(MdxPath &path, std::uint32_t &budget);

    void reload();

private:
    MdxTag(MdxFile &file);
    void readHeader();
    MdxNode readNode(std::uint32_t page);
    void writeNode(std::uint32_t page, const MdxNode &node);
    void writeHeader();
    // The steps of build(): the leaves filled evenly over the sorted keys,
    // each level of inner blocks over the one below until a single block is
    // left (the root), and the header block. `blocks` counts those written.
    struct BuiltBlock {
        std::uint32_t page;
        QByteArray maxKey;
    };
    std::vector<BuiltBlock> writeLeaves(const MdxKeyList &entries, int keyLength, std::uint32_t &blocks);
    std::uint32_t writeInnerLevels(std::vector<BuiltBlock> level, std::uint32_t &blocks);
    void writeBuiltHeader(MdxKeyType keyType, int keyLength, std::uint32_t blocks);
    // Appends the nodes from `page` down to a leaf; `choose(node, count)`
    // picks the index taken in each.
    template <typename Choose> void descend(MdxPath &path, std::uint32_t page, Choose choose);
    void descendTo(MdxPath &path, std::uint32_t page, bool last);
    std::uint32_t lastRecnoBelow(std::uint32_t page);
    int compareEntry(const char *key, std::uint32_t recno, QByteArrayView searchKey, std::uint32_t searchRecno) const;
    void storeUpward(MdxPath &path, int level, const QByteArray *newMax);
    void unlinkEmpty(MdxPath &path, int level);
    void collapseRoot();
    bool removeByScan(QByteArrayView key, std::uint32_t recno);
    bool matchesEntry(const MdxPath &path, QByteArrayView key, std::uint32_t recno, bool nearly) const;
    void eraseAt(MdxPath &path);
    void requireKey(QByteArrayView key) const;
    [[noreturn]] void damaged(const QString &what) const;

    MdxFile &file_;
    QString name_;
    QString expression_;
    bool fieldKey_ = true;
    std::uint32_t headerPage_ = 0;
    QByteArray header_;
    std::uint32_t root_ = 0;
    MdxGeometry geometry_;
    MdxKeyOrder order_;
    std::uint64_t generation_ = 0;
};

} // namespace tables
