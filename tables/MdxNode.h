#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace tables {

// Sizes of the entries of one tag's blocks.
struct MdxGeometry {
    int keyLength = 0;
    int entryLength = 0;
    int maxKeys = 0; // entries of a full leaf; an inner block holds one keyed entry less

    static MdxGeometry forKeyLength(int keyLength);
};

// One B-tree block, decoded. A leaf holds n (record number, key) entries; an
// inner block holds n keyed children, each key the greatest key below that
// child, and one more child on the right without a key.
struct MdxNode {
    bool leaf = true;
    std::vector<std::uint32_t> numbers; // leaf: n record numbers; inner: n + 1 child pages
    QByteArray keys; // n keys one after another

    int count(int keyLength) const { return keyLength > 0 ? int(keys.size() / keyLength) : 0; }
    const char *key(int i, int keyLength) const { return keys.constData() + qsizetype(i) * keyLength; }
    QByteArray keyCopy(int i, int keyLength) const { return keys.mid(qsizetype(i) * keyLength, keyLength); }
    void insertKey(int i, const char *key, int keyLength) { keys.insert(qsizetype(i) * keyLength, key, keyLength); }
    void eraseKey(int i, int keyLength) { keys.remove(qsizetype(i) * keyLength, keyLength); }
    void setKey(int i, const char *key, int keyLength)
    {
        keys.replace(qsizetype(i) * keyLength, keyLength, key, keyLength);
    }

    // Decodes a 1024-byte block; on a count that cannot be, returns false and
    // says why. The leaf test is TDbf's: a block is inner when it holds fewer
    // than the maximum entries and the slot after the last one has a number.
    static bool decode(const char *block, const MdxGeometry &g, MdxNode *node, QString *why);
    // Encodes into a zeroed block; the slot after the last leaf entry and the
    // key of the rightmost child stay zero.
    void encode(const MdxGeometry &g, char *block) const;
};

} // namespace tables
