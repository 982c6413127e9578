#include "MdxCursor.h"

#include "MdxFile.h"

namespace tables {

namespace {

// Leaves one walk may enter: each block once.
std::uint32_t walkBudget(MdxTag &tag) { return tag.file().blockLimit(); }

} // namespace

bool MdxCursor::land(MdxPath path)
{
    budget_ = walkBudget(*tag_);
    if (!tag_->settle(path, budget_))
        return false;
    path_ = std::move(path);
    generation_ = tag_->generation();
    const MdxPathStep &leaf = path_.back();
    recno_ = leaf.node.numbers[size_t(leaf.index)];
    key_ = leaf.node.keyCopy(leaf.index, tag_->keyLength());
    valid_ = true;
    return true;
}

bool MdxCursor::first() { return land(tag_->edge(false)); }
bool MdxCursor::last() { return land(tag_->edge(true)); }
bool MdxCursor::seek(QByteArrayView key) { return land(tag_->lowerBound(key, 0)); }
bool MdxCursor::seekEntry(QByteArrayView key, std::uint32_t recno) { return land(tag_->lowerBound(key, recno)); }

bool MdxCursor::move(bool forward)
{
    if (!valid_)
        return false;
    MdxPath path = path_;
    if (generation_ != tag_->generation()) {
        // The tree changed: find the entry again, or the one that followed it.
        path = tag_->lowerBound(key_, recno_);
        std::uint32_t budget = walkBudget(*tag_);
        MdxPath probe = path;
        if (tag_->settle(probe, budget)) {
            const MdxPathStep &leaf = probe.back();
            const bool same = leaf.node.numbers[size_t(leaf.index)] == recno_
                && tag_->order().compare(leaf.node.key(leaf.index, tag_->keyLength()), key_.constData()) == 0;
            if (!same && forward)
                return land(std::move(probe));
            if (same)
                path = std::move(probe);
        }
        budget_ = walkBudget(*tag_);
        generation_ = tag_->generation();
    }
    if (!tag_->step(path, forward, budget_))
        return false;
    path_ = std::move(path);
    const MdxPathStep &leaf = path_.back();
    recno_ = leaf.node.numbers[size_t(leaf.index)];
    key_ = leaf.node.keyCopy(leaf.index, tag_->keyLength());
    return true;
}

bool MdxCursor::next() { return move(true); }
bool MdxCursor::prev() { return move(false); }

} // namespace tables
