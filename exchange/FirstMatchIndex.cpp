#include "FirstMatchIndex.h"

#include "tables/CodePage.h"
#include "tables/FieldCodec.h"
#include "tables/Table.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace exchange {

namespace {

using tables::FieldKind;

constexpr char kNullNumber = 'N';
constexpr char kNumber = 'V';

// Cells are joined with their length so that no two key tuples give one text.
void appendCell(QByteArray &joined, const char *bytes, qsizetype size)
{
    const auto length = std::uint32_t(size);
    joined.append(reinterpret_cast<const char *>(&length), sizeof length);
    joined.append(bytes, size);
}

void appendNumberCell(QByteArray &joined, double value)
{
    if (value == 0)
        value = 0; // -0 equals 0
    char cell[1 + sizeof value];
    cell[0] = kNumber;
    std::memcpy(cell + 1, &value, sizeof value);
    appendCell(joined, cell, sizeof cell);
}

void appendNullNumberCell(QByteArray &joined)
{
    const char cell = kNullNumber;
    appendCell(joined, &cell, 1);
}

constexpr qsizetype kLengthSize = sizeof(std::uint32_t);

} // namespace

void FirstMatchIndex::appendFolded(QByteArray &joined, const char *bytes, qsizetype size) const
{
    const qsizetype at = joined.size() + kLengthSize;
    appendCell(joined, bytes, size);
    char *p = joined.data() + at;
    for (qsizetype i = 0; i < size; ++i)
        p[i] = char(codePage_->fold(uchar(p[i])));
}

void FirstMatchIndex::appendRecordCell(const KeyField &key, const char *record, QByteArray &joined) const
{
    const tables::FieldDef &f = defs_[size_t(key.index)];
    if (key.text) {
        // A null text field is the empty text.
        const QByteArray trimmed = tables::codec::trimmedBytes(f, record);
        appendFolded(joined, trimmed.constData(), trimmed.size());
    } else if (tables::codec::isNull(f, record)) {
        appendNullNumberCell(joined);
    } else {
        appendNumberCell(joined, tables::codec::asFloat(f, record));
    }
}

// The cell a searched value must equal, as Table::locate converts it; false
// when the value can match no record (a text that is no number).
bool FirstMatchIndex::appendValueCell(const KeyField &key, const QVariant &value, QByteArray &joined) const
{
    const bool null = !value.isValid() || value.isNull();
    if (key.text) {
        const QByteArray encoded = null ? QByteArray() : codePage_->encode(value.toString());
        appendFolded(joined, encoded.constData(), encoded.size());
        return true;
    }
    if (null) {
        appendNullNumberCell(joined);
        return true;
    }
    bool ok = false;
    const double number = value.typeId() == QMetaType::QString
        ? value.toString().trimmed().replace(u',', u'.').toDouble(&ok)
        : value.toDouble(&ok);
    if (!ok)
        return false;
    appendNumberCell(joined, number);
    return true;
}

std::unique_ptr<FirstMatchIndex> FirstMatchIndex::build(tables::Table &table, const QStringList &keyFields)
{
    std::unique_ptr<FirstMatchIndex> index(new FirstMatchIndex);
    index->codePage_ = &table.codePage();
    index->defs_ = table.schema().fields;
    for (const tables::Field &field : table.fieldsByNames(keyFields.join(u';'))) {
        if (field.isCalculated())
            return nullptr;
        const bool text = field.kind() == FieldKind::String;
        if (!text && !field.isNumeric())
            return nullptr;
        index->keys_.push_back({field.index(), text});
    }
    if (index->keys_.empty())
        return nullptr;
    index->prefixLast_ = index->keys_.back().text;

    // One buffer for every record's key: a stored key costs one copy, and
    // only where it is the first of its kind.
    QByteArray joined;
    const qsizetype expected = qsizetype(table.recordCount());
    if (index->prefixLast_)
        index->entries_.reserve(size_t(expected));
    else
        index->exact_.reserve(expected);
    table.forEachVisible([&](std::uint32_t recno) {
        const char *record = table.recordBuffer();
        joined.clear();
        for (size_t k = 0; k + 1 < index->keys_.size(); ++k)
            index->appendRecordCell(index->keys_[k], record, joined);
        const qsizetype groupSize = joined.size();
        index->appendRecordCell(index->keys_.back(), record, joined);
        if (!index->prefixLast_) {
            if (!index->exact_.contains(joined)) // the first record in stored order
                index->exact_.insert(joined, recno);
        } else {
            const QByteArray group = joined.first(groupSize);
            auto groupIt = index->groups_.constFind(group);
            if (groupIt == index->groups_.cend())
                groupIt = index->groups_.insert(group, int(index->groups_.size()));
            index->entries_.push_back({*groupIt, joined.sliced(groupSize + kLengthSize), recno});
        }
    });
    if (index->prefixLast_) {
        std::sort(index->entries_.begin(), index->entries_.end(), [](const TextEntry &a, const TextEntry &b) {
            if (a.group != b.group)
                return a.group < b.group;
            if (a.text != b.text)
                return a.text < b.text;
            return a.recno < b.recno;
        });
        index->buildRangeMinimum();
    }
    return index;
}

void FirstMatchIndex::buildRangeMinimum()
{
    const size_t n = entries_.size();
    rangeMin_.clear();
    if (n == 0)
        return;
    rangeMin_.emplace_back(n);
    for (size_t i = 0; i < n; ++i)
        rangeMin_[0][i] = entries_[i].recno;
    for (size_t level = 1; (size_t(1) << level) <= n; ++level) {
        const size_t half = size_t(1) << (level - 1);
        const std::vector<std::uint32_t> &below = rangeMin_[level - 1];
        std::vector<std::uint32_t> row(n - (size_t(1) << level) + 1);
        for (size_t i = 0; i < row.size(); ++i)
            row[i] = std::min(below[i], below[i + half]);
        rangeMin_.push_back(std::move(row));
    }
}

std::uint32_t FirstMatchIndex::minRecno(size_t from, size_t to) const
{
    const size_t level = size_t(std::bit_width(to - from)) - 1;
    return std::min(rangeMin_[level][from], rangeMin_[level][to - (size_t(1) << level)]);
}

std::uint32_t FirstMatchIndex::find(const QVariantList &values) const
{
    if (values.size() != qsizetype(keys_.size()))
        return 0;
    QByteArray joined;
    for (size_t k = 0; k + 1 < keys_.size(); ++k)
        if (!appendValueCell(keys_[k], values[qsizetype(k)], joined))
            return 0;
    const qsizetype groupSize = joined.size();
    const QVariant &last = values.back();
    if (!appendValueCell(keys_.back(), last, joined))
        return 0;
    if (!prefixLast_)
        return exact_.value(joined, 0);
    // A null key matches a null field exactly, also where the key is partial.
    const bool exact = !last.isValid() || last.isNull();
    const QByteArray group = joined.first(groupSize);
    const QByteArray cell = joined.sliced(groupSize + kLengthSize);
    const auto groupIt = groups_.constFind(group);
    if (groupIt == groups_.cend())
        return 0;
    const int g = *groupIt;
    const auto lo = std::lower_bound(entries_.begin(), entries_.end(), std::make_pair(g, cell),
                                     [](const TextEntry &e, const std::pair<int, QByteArray> &key) {
                                         return e.group != key.first ? e.group < key.first : e.text < key.second;
                                     });
    const auto hi = std::partition_point(lo, entries_.end(), [&](const TextEntry &e) {
        return e.group == g && (exact ? e.text.isEmpty() : e.text.startsWith(cell));
    });
    if (lo == hi)
        return 0;
    return minRecno(size_t(lo - entries_.begin()), size_t(hi - entries_.begin()));
}

} // namespace exchange
