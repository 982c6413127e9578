#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace codepages {
class CodePage;
}

namespace tables {

using codepages::CodePage;
class MdxTag;

// The entries of a character tag with their keys' beginnings case-folded and
// sorted: for case-insensitive prefix searches. The entries whose folded key
// begins with a folded prefix form one range, and the range is visited in
// record number order (or in the tag's own order) from its first entry on,
// each step a tree lookup, without sorting the range.
class MdxFoldedKeys {
public:
    enum class Order { RecordNumber, Tag };

    // Walks the whole tag once.
    MdxFoldedKeys(MdxTag &tag, const CodePage &cp);

    MdxFoldedKeys(const MdxFoldedKeys &) = delete;
    MdxFoldedKeys &operator=(const MdxFoldedKeys &) = delete;

    int entryCount() const { return int(recnos_.size()); }
    // The tag state this copy reflects.
    std::uint64_t generation() const { return generation_; }
    // Bytes of each key kept (a longer prefix matches as its beginning).
    int prefixLength() const { return prefixLength_; }

    // [first, last) of the entries whose folded key begins with `folded`
    // (cut to prefixLength()).
    std::pair<int, int> range(QByteArrayView folded) const;
    // Offers the record numbers of [first, last) in `order` until `accept`
    // takes one; returns it, or 0.
    std::uint32_t firstAccepted(int first, int last, Order order,
                                const std::function<bool(std::uint32_t)> &accept) const;

private:
    // Positions of the smallest value over ranges (a segment tree).
    class MinTree {
    public:
        void build(const std::vector<std::uint32_t> &values);
        int argMin(int first, int last) const; // -1 when empty
    private:
        int size_ = 0;
        std::vector<int> tree_;
        const std::vector<std::uint32_t> *values_ = nullptr;
        int better(int a, int b) const;
    };

    int prefixLength_ = 0;
    std::uint64_t generation_ = 0;
    QByteArray keys_; // folded prefixes, sorted
    std::vector<std::uint32_t> recnos_; // parallel to keys_
    std::vector<std::uint32_t> ranks_; // position in the tag
    MinTree byRecno_;
    MinTree byRank_;
};

} // namespace tables
