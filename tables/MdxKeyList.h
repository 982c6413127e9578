#pragma once

#include "MdxKey.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <vector>

namespace tables {

// (key, record number) pairs of one tag, kept in one buffer: what a tag is
// built from in one pass.
class MdxKeyList {
public:
    explicit MdxKeyList(int keyLength) : keyLength_(keyLength) {}

    int keyLength() const { return keyLength_; }
    int size() const { return int(recnos_.size()); }
    void reserve(int count);
    // The key is cut or zero-filled to the key length.
    void add(QByteArrayView key, std::uint32_t recno);

    const char *key(int i) const { return keys_.constData() + qsizetype(i) * keyLength_; }
    std::uint32_t recno(int i) const { return recnos_[size_t(i)]; }

    // Orders by key, equal keys by record number.
    void sort(const MdxKeyOrder &order);

private:
    int keyLength_;
    QByteArray keys_;
    std::vector<std::uint32_t> recnos_;
};

} // namespace tables
