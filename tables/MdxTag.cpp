#include "MdxTag.h"

#include "MdxFile.h"
#include "MdxKeyList.h"
#include "MdxLayout.h"
#include "TableError.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tables {

using namespace mdx;

namespace {

// Deeper trees cannot be made from a file of 2^31 pages; a deeper walk means
// blocks that point back up.
constexpr int kMaxDepth = 16;

} // namespace

MdxTag::MdxTag(MdxFile &file) : file_(file) {}

MdxTag::MdxTag(MdxFile &file, const QString &name, std::uint32_t headerPage, bool fieldKey)
    : file_(file), name_(name), fieldKey_(fieldKey), headerPage_(headerPage)
{
    readHeader();
}

void MdxTag::damaged(const QString &what) const { file_.damaged(QStringLiteral("tag %1: %2").arg(name_, what)); }

void MdxTag::readHeader()
{
    header_.resize(kBlockSize);
    file_.readBlock(headerPage_, header_.data());
    const char *h = header_.constData();
    const char type = h[kHeaderKeyTypeOffset];
    const int keyLength = get16(h + kKeyLengthOffset);
    const int maxKeys = get16(h + kMaxKeysOffset);
    const int entryLength = get16(h + kEntryLengthOffset);
    if (type != char(MdxKeyType::Character) && type != char(MdxKeyType::Numeric))
        damaged(QStringLiteral("key type '%1' is not supported").arg(QLatin1Char(type)));
    if (keyLength < 1 || keyLength > kMaxKeyLength
        || (type == char(MdxKeyType::Numeric) && keyLength != mdxkey::kNumericLength))
        damaged(QStringLiteral("key length %1").arg(keyLength));
    if (entryLength < keyLength + kEntryNumberSize || maxKeys < 3
        || qint64(maxKeys) * entryLength + kNodeEntriesOffset > kBlockSize)
        damaged(QStringLiteral("%1 entries of %2 bytes per block").arg(maxKeys).arg(entryLength));
    geometry_ = {keyLength, entryLength, maxKeys};
    order_ = MdxKeyOrder(MdxKeyType(type), keyLength);
    root_ = get32(h + kRootOffset);
    const char *expr = h + kExpressionOffset;
    expression_ = QString::fromLatin1(expr, int(std::find(expr, expr + kExpressionSize, '\0') - expr)).trimmed();
    ++generation_;
}

void MdxTag::reload() { readHeader(); }

void MdxTag::writeHeader()
{
    put32(header_.data() + kRootOffset, root_);
    file_.writeBlock(headerPage_, header_.constData());
}

MdxNode MdxTag::readNode(std::uint32_t page)
{
    if (page == headerPage_)
        damaged(QStringLiteral("the tree points to the tag header"));
    char block[kBlockSize];
    file_.readBlock(page, block);
    MdxNode node;
    QString why;
    if (!MdxNode::decode(block, geometry_, &node, &why))
        damaged(QStringLiteral("block %1: %2").arg(page).arg(why));
    return node;
}

void MdxTag::writeNode(std::uint32_t page, const MdxNode &node)
{
    char block[kBlockSize];
    node.encode(geometry_, block);
    file_.writeBlock(page, block);
}

void MdxTag::requireKey(QByteArrayView key) const
{
    if (key.size() != geometry_.keyLength)
        throw TableError(QStringLiteral("Index %1, tag %2: key of %3 bytes, the tag has %4")
                             .arg(file_.path(), name_)
                             .arg(key.size())
                             .arg(geometry_.keyLength));
}

// --- building ---

namespace {

// The key length of the tag to build; the keys given must have it.
int builtKeyLength(const MdxFile &file, const MdxTagSpec &tagSpec, const MdxKeyList &entries)
{
    const int keyLength = tagSpec.keyType == MdxKeyType::Numeric ? mdxkey::kNumericLength : tagSpec.keyLength;
    if (keyLength < 1 || keyLength > kMaxKeyLength)
        throw TableError(QStringLiteral("Index %1: tag %2 cannot have keys of %3 bytes (1 to %4)")
                             .arg(file.path(), tagSpec.name)
                             .arg(keyLength)
                             .arg(kMaxKeyLength));
    if (entries.keyLength() != keyLength)
        throw TableError(QStringLiteral("Index %1: tag %2 built from keys of %3 bytes, not %4")
                             .arg(file.path(), tagSpec.name)
                             .arg(entries.keyLength())
                             .arg(keyLength));
    return keyLength;
}

} // namespace

std::unique_ptr<MdxTag> MdxTag::build(MdxFile &file, const MdxTagSpec &tagSpec, MdxKeyList &entries)
{
    const int keyLength = builtKeyLength(file, tagSpec, entries);
    std::unique_ptr<MdxTag> tag(new MdxTag(file));
    tag->name_ = tagSpec.name;
    tag->expression_ = tagSpec.expression.trimmed().toUpper();
    tag->fieldKey_ = tagSpec.fieldKey;
    tag->geometry_ = MdxGeometry::forKeyLength(keyLength);
    tag->order_ = MdxKeyOrder(tagSpec.keyType, keyLength);
    entries.sort(tag->order_);

    tag->headerPage_ = file.allocateBlock();
    std::uint32_t blocks = 1;
    tag->root_ = tag->writeInnerLevels(tag->writeLeaves(entries, keyLength, blocks), blocks);
    tag->writeBuiltHeader(tagSpec.keyType, keyLength, blocks);
    return tag;
}

std::vector<MdxTag::BuiltBlock> MdxTag::writeLeaves(const MdxKeyList &entries, int keyLength, std::uint32_t &blocks)
{
    const MdxGeometry &g = geometry_;
    std::vector<BuiltBlock> level;
    const int total = entries.size();
    const int leaves = std::max(1, (total + g.maxKeys - 1) / g.maxKeys);
    int next = 0;
    for (int i = 0; i < leaves; ++i) {
        const int count = total / leaves + (i < total % leaves ? 1 : 0);
        MdxNode node;
        node.keys.reserve(qsizetype(count) * keyLength);
        for (int k = 0; k < count; ++k, ++next) {
            node.numbers.push_back(entries.recno(next));
            node.keys.append(entries.key(next), keyLength);
        }
        const std::uint32_t page = file_.allocateBlock();
        ++blocks;
        writeNode(page, node);
        level.push_back({page, count > 0 ? node.keyCopy(count - 1, keyLength) : QByteArray(keyLength, '\0')});
    }
    return level;
}

std::uint32_t MdxTag::writeInnerLevels(std::vector<BuiltBlock> level, std::uint32_t &blocks)
{
    const MdxGeometry &g = geometry_;
    while (level.size() > 1) {
        std::vector<BuiltBlock> upper;
        const int children = int(level.size());
        const int parents = (children + g.maxKeys - 1) / g.maxKeys;
        int c = 0;
        for (int i = 0; i < parents; ++i) {
            const int count = children / parents + (i < children % parents ? 1 : 0);
            MdxNode node;
            node.leaf = false;
            for (int k = 0; k < count; ++k, ++c) {
                node.numbers.push_back(level[size_t(c)].page);
                if (k + 1 < count)
                    node.keys.append(level[size_t(c)].maxKey);
            }
            const std::uint32_t page = file_.allocateBlock();
            ++blocks;
            writeNode(page, node);
            upper.push_back({page, level[size_t(c - 1)].maxKey});
        }
        level = std::move(upper);
    }
    return level.front().page;
}

void MdxTag::writeBuiltHeader(MdxKeyType keyType, int keyLength, std::uint32_t blocks)
{
    const MdxGeometry &g = geometry_;
    QByteArray &h = header_;
    h = QByteArray(kBlockSize, '\0');
    char *p = h.data();
    put32(p + kTagPagesOffset, blocks * kPagesPerBlock);
    p[kHeaderKeyFormatOffset] = char(keyType == MdxKeyType::Character ? kHeaderFormatCharacter : 0);
    p[kHeaderKeyTypeOffset] = char(keyType);
    put16(p + kKeyLengthOffset, std::uint16_t(keyLength));
    put16(p + kMaxKeysOffset, std::uint16_t(g.maxKeys));
    put16(p + kEntryLengthOffset, std::uint16_t(g.entryLength));
    put16(p + kHeaderVersionOffset, 2);
    const QByteArray expr = expression_.toLatin1().left(kExpressionSize - 1);
    std::memcpy(p + kExpressionOffset, expr.constData(), size_t(expr.size()));
    p[kKeyExistsOffset] = 1;
    writeHeader();
}

// --- walking ---

int MdxTag::compareEntry(const char *key, std::uint32_t recno, QByteArrayView searchKey,
                         std::uint32_t searchRecno) const
{
    const int c = order_.compareWith(key, searchKey);
    if (c != 0 || searchRecno == 0)
        return c;
    return recno < searchRecno ? -1 : (recno > searchRecno ? 1 : 0);
}

std::uint32_t MdxTag::lastRecnoBelow(std::uint32_t page)
{
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        const MdxNode node = readNode(page);
        if (node.leaf)
            return node.numbers.empty() ? 0 : node.numbers.back();
        page = node.numbers.back();
    }
    damaged(QStringLiteral("the tree is deeper than %1 levels").arg(kMaxDepth));
}

template <typename Choose> void MdxTag::descend(MdxPath &path, std::uint32_t page, Choose choose)
{
    for (;;) {
        if (int(path.size()) >= kMaxDepth)
            damaged(QStringLiteral("the tree is deeper than %1 levels").arg(kMaxDepth));
        MdxPathStep step;
        step.page = page;
        step.node = readNode(page);
        step.index = choose(step.node, step.node.count(geometry_.keyLength));
        const bool leaf = step.node.leaf;
        if (!leaf)
            page = step.node.numbers[size_t(step.index)];
        path.push_back(std::move(step));
        if (leaf)
            return;
    }
}

void MdxTag::descendTo(MdxPath &path, std::uint32_t page, bool last)
{
    descend(path, page, [last](const MdxNode &node, int n) { return last ? (node.leaf ? n - 1 : n) : 0; });
}

MdxPath MdxTag::edge(bool last)
{
    MdxPath path;
    descendTo(path, root_, last);
    return path;
}

MdxPath MdxTag::lowerBound(QByteArrayView key, std::uint32_t recno)
{
    MdxPath path;
    const int kl = geometry_.keyLength;
    descend(path, root_, [&](const MdxNode &node, int n) {
        // First entry (or keyed child) not below the search position.
        int low = 0;
        int high = n;
        while (low < high) {
            const int mid = (low + high) / 2;
            int c;
            if (node.leaf) {
                c = compareEntry(node.key(mid, kl), node.numbers[size_t(mid)], key, recno);
            } else {
                c = order_.compareWith(node.key(mid, kl), key);
                if (c == 0 && recno != 0) {
                    const std::uint32_t lastRecno = lastRecnoBelow(node.numbers[size_t(mid)]);
                    c = lastRecno < recno ? -1 : (lastRecno > recno ? 1 : 0);
                }
            }
            if (c < 0)
                low = mid + 1;
            else
                high = mid;
        }
        return low;
    });
    return path;
}

bool MdxTag::step(MdxPath &path, bool forward, std::uint32_t &budget)
{
    if (path.empty())
        return false;
    MdxPathStep &leaf = path.back();
    const int n = leaf.node.count(geometry_.keyLength);
    if (forward && leaf.index + 1 < n) {
        ++leaf.index;
        return true;
    }
    if (!forward && leaf.index - 1 >= 0 && leaf.index - 1 < n) {
        --leaf.index;
        return true;
    }
    // Into the neighbouring leaf that holds an entry.
    MdxPath moved = path;
    for (;;) {
        moved.pop_back();
        while (!moved.empty()) {
            MdxPathStep &up = moved.back();
            const int children = int(up.node.numbers.size());
            if (forward ? up.index + 1 < children : up.index > 0)
                break;
            moved.pop_back();
        }
        if (moved.empty())
            return false;
        MdxPathStep &up = moved.back();
        up.index += forward ? 1 : -1;
        if (budget == 0)
            damaged(QStringLiteral("the leaves cannot all be reached once (a loop)"));
        --budget;
        descendTo(moved, up.node.numbers[size_t(up.index)], !forward);
        if (moved.back().node.count(geometry_.keyLength) > 0)
            break;
        // An empty leaf: keep going.
    }
    path = std::move(moved);
    return true;
}

bool MdxTag::settle(MdxPath &path, std::uint32_t &budget)
{
    if (path.empty())
        return false;
    const MdxPathStep &leaf = path.back();
    const int n = leaf.node.count(geometry_.keyLength);
    if (leaf.index >= 0 && leaf.index < n)
        return true;
    return step(path, leaf.index >= n, budget);
}

bool MdxTag::contains(QByteArrayView key, std::uint32_t recno)
{
    requireKey(key);
    MdxPath path = lowerBound(key, recno);
    std::uint32_t budget = file_.blockLimit();
    if (!settle(path, budget))
        return false;
    const MdxPathStep &leaf = path.back();
    return leaf.node.numbers[size_t(leaf.index)] == recno
        && order_.compare(leaf.node.key(leaf.index, geometry_.keyLength), key.data()) == 0;
}

// --- changing ---

void MdxTag::storeUpward(MdxPath &path, int level, const QByteArray *newMax)
{
    const int kl = geometry_.keyLength;
    QByteArray carried; // the changed greatest key travelling up
    if (newMax) {
        carried = *newMax;
        newMax = &carried;
    }
    for (;;) {
        MdxPathStep &step = path[size_t(level)];
        const int n = step.node.count(kl);
        const int capacity = step.node.leaf ? geometry_.maxKeys : geometry_.maxKeys - 1;
        if (n <= capacity) {
            writeNode(step.page, step.node);
            for (int l = level; newMax && l > 0; --l) {
                MdxPathStep &parent = path[size_t(l - 1)];
                if (parent.index < parent.node.count(kl)) {
                    parent.node.setKey(parent.index, newMax->constData(), kl);
                    writeNode(parent.page, parent.node);
                    newMax = nullptr;
                }
                // Otherwise this is the rightmost child: the parent's own
                // greatest key changed as well.
            }
            return;
        }
        // Split: the left half stays in the block, the right half moves to a
        // new one; the parent gets the left half's greatest key.
        MdxNode left;
        MdxNode right;
        QByteArray promoted;
        left.leaf = right.leaf = step.node.leaf;
        if (step.node.leaf) {
            const int m = (n + 1) / 2;
            left.numbers.assign(step.node.numbers.begin(), step.node.numbers.begin() + m);
            right.numbers.assign(step.node.numbers.begin() + m, step.node.numbers.end());
            left.keys = step.node.keys.left(qsizetype(m) * kl);
            right.keys = step.node.keys.mid(qsizetype(m) * kl);
            promoted = left.keyCopy(m - 1, kl);
        } else {
            const int m = n / 2;
            left.numbers.assign(step.node.numbers.begin(), step.node.numbers.begin() + m + 1);
            right.numbers.assign(step.node.numbers.begin() + m + 1, step.node.numbers.end());
            left.keys = step.node.keys.left(qsizetype(m) * kl);
            promoted = step.node.keyCopy(m, kl);
            right.keys = step.node.keys.mid(qsizetype(m + 1) * kl);
        }
        const std::uint32_t rightPage = file_.allocateBlock();
        put32(header_.data() + kTagPagesOffset, get32(header_.constData() + kTagPagesOffset) + kPagesPerBlock);
        writeNode(step.page, left);
        writeNode(rightPage, right);
        if (level == 0) {
            MdxNode root;
            root.leaf = false;
            root.numbers = {step.page, rightPage};
            root.keys = promoted;
            const std::uint32_t rootPage = file_.allocateBlock();
            put32(header_.data() + kTagPagesOffset, get32(header_.constData() + kTagPagesOffset) + kPagesPerBlock);
            writeNode(rootPage, root);
            root_ = rootPage;
            writeHeader();
            return;
        }
        MdxPathStep &parent = path[size_t(level - 1)];
        const int i = parent.index;
        parent.node.insertKey(i, promoted.constData(), kl);
        parent.node.numbers.insert(parent.node.numbers.begin() + i + 1, rightPage);
        parent.index = i + 1;
        if (newMax && parent.index < parent.node.count(kl)) {
            parent.node.setKey(parent.index, newMax->constData(), kl);
            newMax = nullptr;
        }
        writeHeader(); // the tag's page count changed
        --level;
    }
}

bool MdxTag::insert(QByteArrayView key, std::uint32_t recno)
{
    file_.requireWritable();
    requireKey(key);
    MdxPath path = lowerBound(key, recno);
    {
        MdxPath probe = path;
        std::uint32_t budget = file_.blockLimit();
        if (settle(probe, budget)) {
            const MdxPathStep &at = probe.back();
            if (at.node.numbers[size_t(at.index)] == recno
                && order_.compare(at.node.key(at.index, geometry_.keyLength), key.data()) == 0)
                return false;
        }
    }
    MdxPathStep &leaf = path.back();
    const int n = leaf.node.count(geometry_.keyLength);
    const int at = std::clamp(leaf.index, 0, n);
    leaf.node.insertKey(at, key.data(), geometry_.keyLength);
    leaf.node.numbers.insert(leaf.node.numbers.begin() + at, recno);
    const QByteArray max(key.data(), key.size());
    ++generation_;
    storeUpward(path, int(path.size()) - 1, at == n ? &max : nullptr);
    return true;
}

void MdxTag::unlinkEmpty(MdxPath &path, int level)
{
    const int kl = geometry_.keyLength;
    if (level == 0) {
        writeNode(path[0].page, MdxNode{});
        return;
    }
    MdxPathStep &parent = path[size_t(level - 1)];
    const int i = parent.index;
    const int n = parent.node.count(kl);
    parent.node.numbers.erase(parent.node.numbers.begin() + i);
    QByteArray newMax;
    bool maxChanged = false;
    if (i < n) {
        parent.node.eraseKey(i, kl);
    } else if (n > 0) {
        // The rightmost child went: its left neighbour takes its place and
        // the parent's greatest key becomes that neighbour's.
        newMax = parent.node.keyCopy(n - 1, kl);
        parent.node.eraseKey(n - 1, kl);
        maxChanged = true;
    }
    if (parent.node.numbers.empty()) {
        unlinkEmpty(path, level - 1);
        return;
    }
    parent.index = std::min(i, int(parent.node.numbers.size()) - 1);
    storeUpward(path, level - 1, maxChanged ? &newMax : nullptr);
}

void MdxTag::collapseRoot()
{
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        const MdxNode root = readNode(root_);
        if (root.leaf || root.numbers.size() != 1)
            return;
        root_ = root.numbers.front();
        writeHeader();
    }
}

void MdxTag::eraseAt(MdxPath &path)
{
    MdxPathStep &leaf = path.back();
    const int kl = geometry_.keyLength;
    const int n = leaf.node.count(kl);
    const int at = leaf.index;
    leaf.node.eraseKey(at, kl);
    leaf.node.numbers.erase(leaf.node.numbers.begin() + at);
    ++generation_;
    if (n == 1 && path.size() > 1) {
        unlinkEmpty(path, int(path.size()) - 1);
    } else if (at == n - 1 && n > 1) {
        const QByteArray max = leaf.node.keyCopy(n - 2, kl);
        storeUpward(path, int(path.size()) - 1, &max);
    } else {
        storeUpward(path, int(path.size()) - 1, nullptr);
    }
    collapseRoot();
}

bool MdxTag::matchesEntry(const MdxPath &path, QByteArrayView key, std::uint32_t recno, bool nearly) const
{
    const MdxPathStep &leaf = path.back();
    if (leaf.node.numbers[size_t(leaf.index)] != recno)
        return false;
    const char *stored = leaf.node.key(leaf.index, geometry_.keyLength);
    if (!nearly)
        return std::memcmp(stored, key.data(), size_t(geometry_.keyLength)) == 0;
    // Another program's float formatting may differ in the last digit.
    const double a = mdxkey::numericValue(stored);
    const double b = mdxkey::numericValue(key.data());
    return std::fabs(a - b) <= 1e-13 * std::max(std::fabs(a), std::fabs(b));
}

bool MdxTag::removeByScan(QByteArrayView key, std::uint32_t recno)
{
    // Entries of trees sorted by another program's rules, where the search
    // may miss, and numeric keys another program rounded differently: first
    // next to where the entry belongs, then everywhere.
    const bool numeric = keyType() == MdxKeyType::Numeric;
    if (numeric) {
        MdxPath around = lowerBound(key, recno);
        std::uint32_t budget = file_.blockLimit();
        if (settle(around, budget)) {
            for (int back = 0; back < 2 && step(around, false, budget); ++back) {
            }
            for (int i = 0; i < 5; ++i) {
                if (matchesEntry(around, key, recno, true)) {
                    eraseAt(around);
                    return true;
                }
                if (!step(around, true, budget))
                    break;
            }
        }
    }
    for (const bool nearly : {false, true}) {
        if (nearly && !numeric)
            break;
        std::uint32_t budget = file_.blockLimit();
        MdxPath path = edge(false);
        if (!settle(path, budget))
            return false;
        do {
            if (matchesEntry(path, key, recno, nearly)) {
                eraseAt(path);
                return true;
            }
        } while (step(path, true, budget));
    }
    return false;
}

bool MdxTag::remove(QByteArrayView key, std::uint32_t recno)
{
    file_.requireWritable();
    requireKey(key);
    MdxPath path = lowerBound(key, recno);
    std::uint32_t budget = file_.blockLimit();
    if (!settle(path, budget) || !matchesEntry(path, key, recno, false))
        return removeByScan(key, recno);
    eraseAt(path);
    return true;
}

void MdxTag::update(QByteArrayView oldKey, QByteArrayView newKey, std::uint32_t recno)
{
    requireKey(oldKey);
    requireKey(newKey);
    if (std::memcmp(oldKey.data(), newKey.data(), size_t(oldKey.size())) == 0)
        return;
    remove(oldKey, recno);
    insert(newKey, recno);
}

} // namespace tables
