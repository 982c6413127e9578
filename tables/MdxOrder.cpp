#include "MdxOrder.h"

#include "MdxTag.h"
#include "TableIndexes.h"

#include <utility>

namespace tables {

MdxOrder::MdxOrder(TableIndexes &indexes, const QString &tagName, std::optional<QByteArray> range, bool empty)
    : indexes_(indexes), tagName_(tagName), range_(std::move(range)), empty_(empty)
{
}

MdxTag *MdxOrder::prepare()
{
    MdxTag *tag = indexes_.findTag(tagName_);
    if (tag != tag_) {
        tag_ = tag;
        cursor_ = tag ? std::make_unique<MdxCursor>(*tag) : nullptr;
        generation_ = 0;
    }
    return tag;
}

std::uint32_t MdxOrder::result(bool ok) const
{
    if (!ok || !cursor_->isValid())
        return 0;
    if (range_ && tag_->order().compare(cursor_->key().constData(), range_->constData()) != 0)
        return 0;
    return cursor_->recno();
}

MdxOrder::Place MdxOrder::placeOn(MdxTag &tag, std::uint32_t recno)
{
    if (cursor_->isValid() && cursor_->recno() == recno && generation_ == tag.generation())
        return Place::Exact;
    // Where the record's key puts it now.
    QByteArray key;
    if (!indexes_.keyOfRecord(tag, recno, &key))
        return Place::End;
    generation_ = tag.generation();
    if (!cursor_->seekEntry(key, recno))
        return Place::End;
    return cursor_->recno() == recno && tag.order().compare(cursor_->key().constData(), key.constData()) == 0
        ? Place::Exact
        : Place::Successor;
}

template <typename Step> auto MdxOrder::withTag(Step step)
{
    using Result = decltype(step(std::declval<MdxTag &>()));
    if (empty_)
        return Result{};
    TableIndexes::ReadScope scope(indexes_);
    MdxTag *tag = prepare();
    return tag ? step(*tag) : Result{};
}

std::uint32_t MdxOrder::start(MdxTag &tag)
{
    generation_ = tag.generation();
    return result(range_ ? cursor_->seek(*range_) : cursor_->first());
}

std::uint32_t MdxOrder::first()
{
    return withTag([this](MdxTag &tag) { return start(tag); });
}

std::uint32_t MdxOrder::last()
{
    return withTag([this](MdxTag &tag) {
        generation_ = tag.generation();
        if (!range_)
            return result(cursor_->last());
        // The entry before the first one past the range.
        if (cursor_->seekEntry(*range_, 0xFFFFFFFFu))
            return result(cursor_->prev());
        return result(cursor_->last());
    });
}

std::uint32_t MdxOrder::next(std::uint32_t recno)
{
    return withTag([this, recno](MdxTag &tag) -> std::uint32_t {
        switch (placeOn(tag, recno)) {
        case Place::Exact: return result(cursor_->next());
        case Place::Successor: return result(true);
        case Place::End: return 0;
        }
        return 0;
    });
}

std::uint32_t MdxOrder::prior(std::uint32_t recno)
{
    return withTag([this, recno](MdxTag &tag) -> std::uint32_t {
        switch (placeOn(tag, recno)) {
        case Place::Exact:
        case Place::Successor: return result(cursor_->prev());
        case Place::End: return result(cursor_->last());
        }
        return 0;
    });
}

std::vector<std::uint32_t> MdxOrder::recordNumbers()
{
    return withTag([this](MdxTag &tag) {
        std::vector<std::uint32_t> out;
        for (std::uint32_t r = start(tag); r != 0; r = result(cursor_->next()))
            out.push_back(r);
        return out;
    });
}

} // namespace tables
