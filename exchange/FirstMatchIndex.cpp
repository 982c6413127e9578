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

bool isTextKind(FieldKind kind) { return kind == FieldKind::String; }

bool isNumberKind(FieldKind kind)
{
    switch (kind) {
    case FieldKind::SmallInt:
    case FieldKind::Integer:
    case FieldKind::LargeInt:
    case FieldKind::Float:
    case FieldKind::AutoInc: return true;
    default: return false;
    }
}

QByteArray numberCell(double value)
{
    if (value == 0)
        value = 0; // -0 equals 0
    QByteArray cell(1 + sizeof value, kNumber);
    std::memcpy(cell.data() + 1, &value, sizeof value);
    return cell;
}

// Cells are joined with their length so that no two key tuples give one text.
void appendCell(QByteArray &joined, const QByteArray &cell)
{
    const auto size = std::uint32_t(cell.size());
    joined.append(reinterpret_cast<const char *>(&size), sizeof size);
    joined.append(cell);
}

} // namespace

QByteArray FirstMatchIndex::fold(QByteArray bytes) const
{
    for (char &c : bytes)
        c = char(codePage_->fold(uchar(c)));
    return bytes;
}

bool FirstMatchIndex::cellOfRecord(const KeyField &key, const char *record, QByteArray *out) const
{
    const tables::FieldDef &f = defs_[size_t(key.index)];
    if (key.text)
        *out = fold(tables::codec::trimmedBytes(f, record)); // a null text field is the empty text
    else if (tables::codec::isNull(f, record))
        *out = QByteArray(1, kNullNumber);
    else
        *out = numberCell(tables::codec::asFloat(f, record));
    return true;
}

// The cell a searched value must equal, as Table::locate converts it; false
// when the value can match no record (a text that is no number).
bool FirstMatchIndex::cellOfValue(const KeyField &key, const QVariant &value, QByteArray *out) const
{
    const bool null = !value.isValid() || value.isNull();
    if (key.text) {
        *out = null ? QByteArray() : fold(codePage_->encode(value.toString()));
        return true;
    }
    if (null) {
        *out = QByteArray(1, kNullNumber);
        return true;
    }
    bool ok = false;
    const double number = value.typeId() == QMetaType::QString
        ? value.toString().trimmed().replace(u',', u'.').toDouble(&ok)
        : value.toDouble(&ok);
    if (!ok)
        return false;
    *out = numberCell(number);
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
        const FieldKind kind = field.kind();
        if (!isTextKind(kind) && !isNumberKind(kind))
            return nullptr;
        index->keys_.push_back({field.index(), isTextKind(kind)});
    }
    if (index->keys_.empty())
        return nullptr;
    index->prefixLast_ = index->keys_.back().text;

    QByteArray cell;
    table.forEachVisible([&](std::uint32_t recno) {
        const char *record = table.recordBuffer();
        QByteArray group;
        for (size_t k = 0; k + 1 < index->keys_.size(); ++k) {
            index->cellOfRecord(index->keys_[k], record, &cell);
            appendCell(group, cell);
        }
        index->cellOfRecord(index->keys_.back(), record, &cell);
        QByteArray all = group;
        appendCell(all, cell);
        if (!index->exact_.contains(all)) // the first record in stored order
            index->exact_.insert(all, recno);
        if (index->prefixLast_) {
            auto groupIt = index->groups_.constFind(group);
            if (groupIt == index->groups_.cend())
                groupIt = index->groups_.insert(group, int(index->groups_.size()));
            index->entries_.push_back({*groupIt, cell, recno});
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
    QByteArray group;
    QByteArray cell;
    for (size_t k = 0; k + 1 < keys_.size(); ++k) {
        if (!cellOfValue(keys_[k], values[qsizetype(k)], &cell))
            return 0;
        appendCell(group, cell);
    }
    const QVariant &last = values.back();
    if (!cellOfValue(keys_.back(), last, &cell))
        return 0;
    const bool lastNull = !last.isValid() || last.isNull();
    if (!prefixLast_ || lastNull) {
        // A null key matches a null field exactly, also where the key is partial.
        QByteArray all = group;
        appendCell(all, cell);
        return exact_.value(all, 0);
    }
    const auto groupIt = groups_.constFind(group);
    if (groupIt == groups_.cend())
        return 0;
    const int g = *groupIt;
    const auto lo = std::lower_bound(entries_.begin(), entries_.end(), std::make_pair(g, cell),
                                     [](const TextEntry &e, const std::pair<int, QByteArray> &key) {
                                         return e.group != key.first ? e.group < key.first : e.text < key.second;
                                     });
    const auto hi = std::partition_point(lo, entries_.end(), [&](const TextEntry &e) {
        return e.group == g && e.text.startsWith(cell);
    });
    if (lo == hi)
        return 0;
    return minRecno(size_t(lo - entries_.begin()), size_t(hi - entries_.begin()));
}

} // namespace exchange
