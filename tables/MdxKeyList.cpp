#include "MdxKeyList.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace tables {

void MdxKeyList::reserve(int count)
{
    keys_.reserve(qsizetype(count) * keyLength_);
    recnos_.reserve(size_t(count));
}

void MdxKeyList::add(QByteArrayView key, std::uint32_t recno)
{
    const qsizetype n = std::min<qsizetype>(key.size(), keyLength_);
    keys_.append(key.data(), n);
    if (n < keyLength_)
        keys_.append(keyLength_ - n, '\0');
    recnos_.push_back(recno);
}

void MdxKeyList::sort(const MdxKeyOrder &order)
{
    std::vector<int> perm(recnos_.size());
    std::iota(perm.begin(), perm.end(), 0);
    std::stable_sort(perm.begin(), perm.end(), [&](int a, int b) {
        const int c = order.compare(key(a), key(b));
        if (c != 0)
            return c < 0;
        return recnos_[size_t(a)] < recnos_[size_t(b)];
    });
    QByteArray keys(keys_.size(), Qt::Uninitialized);
    std::vector<std::uint32_t> recnos(recnos_.size());
    for (size_t i = 0; i < perm.size(); ++i) {
        std::memcpy(keys.data() + qsizetype(i) * keyLength_, key(perm[i]), size_t(keyLength_));
        recnos[i] = recnos_[size_t(perm[i])];
    }
    keys_ = std::move(keys);
    recnos_ = std::move(recnos);
}

} // namespace tables
