#include "MdxFoldedKeys.h"

#include "CodePage.h"
#include "MdxCursor.h"
#include "MdxTag.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <queue>

namespace tables {

namespace {

// Enough to tell names apart; longer search keys are checked on the records.
constexpr int kMaxPrefix = 32;

} // namespace

MdxFoldedKeys::MdxFoldedKeys(MdxTag &tag, const CodePage &cp)
    : prefixLength_(std::min(tag.keyLength(), kMaxPrefix)), generation_(tag.generation())
{
    QByteArray folded;
    std::vector<std::uint32_t> recnos;
    MdxCursor c(tag);
    for (bool ok = c.first(); ok; ok = c.next()) {
        const char *k = c.key().constData();
        for (int i = 0; i < prefixLength_; ++i)
            folded.append(char(cp.fold(std::uint8_t(k[i]))));
        recnos.push_back(c.recno());
    }
    const int n = int(recnos.size());
    std::vector<int> perm(static_cast<size_t>(n));
    std::iota(perm.begin(), perm.end(), 0);
    const char *base = folded.constData();
    const size_t len = size_t(prefixLength_);
    // Stable: equal folded keys keep the tag's order.
    std::stable_sort(perm.begin(), perm.end(), [&](int a, int b) {
        return std::memcmp(base + size_t(a) * len, base + size_t(b) * len, len) < 0;
    });
    keys_.resize(qsizetype(n) * prefixLength_);
    recnos_.resize(size_t(n));
    ranks_.resize(size_t(n));
    for (int i = 0; i < n; ++i) {
        std::memcpy(keys_.data() + qsizetype(i) * prefixLength_, base + size_t(perm[size_t(i)]) * len, len);
        recnos_[size_t(i)] = recnos[size_t(perm[size_t(i)])];
        ranks_[size_t(i)] = std::uint32_t(perm[size_t(i)]);
    }
    byRecno_.build(recnos_);
    byRank_.build(ranks_);
}

std::pair<int, int> MdxFoldedKeys::range(QByteArrayView folded) const
{
    const size_t len = size_t(std::min<qsizetype>(folded.size(), prefixLength_));
    const int n = int(recnos_.size());
    auto cmp = [&](int i) { return std::memcmp(keys_.constData() + qsizetype(i) * prefixLength_, folded.data(), len); };
    int lo = 0, hi = n;
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (cmp(mid) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    const int first = lo;
    hi = n;
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (cmp(mid) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return {first, lo};
}

std::uint32_t MdxFoldedKeys::firstAccepted(int first, int last, Order order,
                                           const std::function<bool(std::uint32_t)> &accept) const
{
    const MinTree &tree = order == Order::RecordNumber ? byRecno_ : byRank_;
    const std::vector<std::uint32_t> &priority = order == Order::RecordNumber ? recnos_ : ranks_;
    // Sub-ranges by their best entry: each step takes the best one left.
    struct Part {
        std::uint32_t priority;
        int first, last, best;
        bool operator>(const Part &o) const { return priority > o.priority; }
    };
    std::priority_queue<Part, std::vector<Part>, std::greater<Part>> parts;
    auto push = [&](int a, int b) {
        const int best = tree.argMin(a, b);
        if (best >= 0)
            parts.push({priority[size_t(best)], a, b, best});
    };
    push(first, last);
    while (!parts.empty()) {
        const Part p = parts.top();
        parts.pop();
        if (accept(recnos_[size_t(p.best)]))
            return recnos_[size_t(p.best)];
        push(p.first, p.best);
        push(p.best + 1, p.last);
    }
    return 0;
}

void MdxFoldedKeys::MinTree::build(const std::vector<std::uint32_t> &values)
{
    values_ = &values;
    size_ = int(values.size());
    tree_.assign(size_t(2 * size_), -1);
    for (int i = 0; i < size_; ++i)
        tree_[size_t(size_ + i)] = i;
    for (int i = size_ - 1; i > 0; --i)
        tree_[size_t(i)] = better(tree_[size_t(2 * i)], tree_[size_t(2 * i + 1)]);
}

int MdxFoldedKeys::MinTree::better(int a, int b) const
{
    if (a < 0)
        return b;
    if (b < 0)
        return a;
    return (*values_)[size_t(b)] < (*values_)[size_t(a)] ? b : a;
}

int MdxFoldedKeys::MinTree::argMin(int first, int last) const
{
    int best = -1;
    for (int l = first + size_, r = last + size_; l < r; l /= 2, r /= 2) {
        if (l & 1)
            best = better(best, tree_[size_t(l++)]);
        if (r & 1)
            best = better(best, tree_[size_t(--r)]);
    }
    return best;
}

} // namespace tables
