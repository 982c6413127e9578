#pragma once

#include "MdxCursor.h"
#include "RecordOrder.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace tables {

class TableIndexes;

// A table's visiting order taken from a tag of its production index,
// optionally only the entries of one key (a master/detail range). Record
// numbers it is handed back are found in the tag through their record's
// current key, so edits, appends and other table objects' changes show.
class MdxOrder : public RecordOrder {
public:
    // `range`: the one key shown; `empty`: nothing is shown.
    MdxOrder(TableIndexes &indexes, const QString &tagName, std::optional<QByteArray> range, bool empty = false);

    const QString &tagName() const { return tagName_; }
    bool hasRange() const { return range_.has_value() || empty_; }

    std::uint32_t first() override;
    std::uint32_t last() override;
    std::uint32_t next(std::uint32_t recno) override;
    std::uint32_t prior(std::uint32_t recno) override;
    // Every record number in order under one lock: for views that list them all.
    std::vector<std::uint32_t> recordNumbers();

private:
    enum class Place { Exact, Successor, End };
    MdxTag *prepare();
    // Runs `step` on the tag under the index's read lock; 0 (or nothing)
    // when the order shows nothing or the tag is gone.
    template <typename Step> auto withTag(Step step);
    // The first entry of the order (of the range when there is one).
    std::uint32_t start(MdxTag &tag);
    Place placeOn(MdxTag &tag, std::uint32_t recno);
    std::uint32_t result(bool ok) const;

    TableIndexes &indexes_;
    QString tagName_;
    std::optional<QByteArray> range_;
    bool empty_;
    MdxTag *tag_ = nullptr;
    std::unique_ptr<MdxCursor> cursor_;
    std::uint64_t generation_ = 0; // of the tag when the cursor was placed
};

} // namespace tables
