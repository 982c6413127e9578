#pragma once

#include "MdxTag.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace tables {

// A position in a tag, walked in key order. It survives changes of the tag:
// after one it finds its entry (or the place where it was) again.
class MdxCursor {
public:
    explicit MdxCursor(MdxTag &tag) : tag_(&tag) {}

    MdxTag &tag() const { return *tag_; }

    // Each returns false, and leaves the cursor where it was, when there is
    // no such entry.
    bool first();
    bool last();
    bool next();
    bool prev();
    // First entry whose key is >= key (a shorter character key compares with
    // the beginning of the keys).
    bool seek(QByteArrayView key);
    // First entry >= (key, recno).
    bool seekEntry(QByteArrayView key, std::uint32_t recno);

    bool isValid() const { return valid_; }
    std::uint32_t recno() const { return valid_ ? recno_ : 0; }
    const QByteArray &key() const { return key_; }

private:
    bool land(MdxPath path);
    bool move(bool forward);

    MdxTag *tag_;
    MdxPath path_;
    std::uint64_t generation_ = 0;
    std::uint32_t budget_ = 0;
    bool valid_ = false;
    QByteArray key_;
    std::uint32_t recno_ = 0;
};

} // namespace tables
