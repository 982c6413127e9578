#include "MdxNode.h"

#include "MdxLayout.h"

#include <cstring>

namespace tables {

using namespace mdx;

MdxGeometry MdxGeometry::forKeyLength(int keyLength)
{
    MdxGeometry g;
    g.keyLength = keyLength;
    g.entryLength = entryLengthFor(keyLength);
    g.maxKeys = maxKeysFor(g.entryLength);
    return g;
}

bool MdxNode::decode(const char *block, const MdxGeometry &g, MdxNode *node, QString *why)
{
    const std::uint32_t n = get32(block + kNodeCountOffset);
    if (n > std::uint32_t(g.maxKeys)) {
        *why = QStringLiteral("block holds %1 entries, at most %2 fit").arg(n).arg(g.maxKeys);
        return false;
    }
    const int count = int(n);
    const char *entries = block + kNodeEntriesOffset;
    node->leaf = count == g.maxKeys || get32(entries + qsizetype(count) * g.entryLength) == 0;
    node->numbers.clear();
    node->keys.clear();
    const int numbers = node->leaf ? count : count + 1;
    node->numbers.reserve(size_t(numbers));
    node->keys.reserve(qsizetype(count) * g.keyLength);
    for (int i = 0; i < numbers; ++i) {
        const char *e = entries + qsizetype(i) * g.entryLength;
        node->numbers.push_back(get32(e));
        if (i < count)
            node->keys.append(e + kEntryNumberSize, g.keyLength);
    }
    return true;
}

void MdxNode::encode(const MdxGeometry &g, char *block) const
{
    std::memset(block, 0, kBlockSize);
    const int n = count(g.keyLength);
    put32(block + kNodeCountOffset, std::uint32_t(n));
    char *entries = block + kNodeEntriesOffset;
    for (size_t i = 0; i < numbers.size(); ++i) {
        char *e = entries + qsizetype(i) * g.entryLength;
        put32(e, numbers[i]);
        if (int(i) < n)
            std::memcpy(e + kEntryNumberSize, key(int(i), g.keyLength), size_t(g.keyLength));
    }
}

} // namespace tables
