// Table::locate: the record-by-record search. An index may only make this
// faster; it must never change which record is found.
#include "CodePage.h"
#include "FieldCodec.h"
#include "Table.h"
#include "TableError.h"
#include "TableIndexes.h"

#include <cmath>
#include <cstring>

namespace tables {

namespace {

class KeyMatcher {
public:
    KeyMatcher(const FieldDef &f, const QVariant &key, const CodePage &cp, bool nocase, bool partial)
        : field_(f), cp_(cp), nocase_(nocase), partial_(partial)
    {
        keyNull_ = !key.isValid() || key.isNull();
        if (keyNull_)
            return;
        switch (f.kind()) {
        case FieldKind::String:
        case FieldKind::Memo:
        case FieldKind::Unknown:
            text_ = true;
            bytes_ = cp.encode(key.toString());
            if (nocase_)
                bytes_ = fold(bytes_);
            break;
        case FieldKind::Date:
        case FieldKind::DateTime:
            date_ = key.typeId() == QMetaType::QDate || key.typeId() == QMetaType::QDateTime
                ? key.toDate()
                : QDate::fromString(key.toString().trimmed(), QStringLiteral("yyyyMMdd"));
            if (!date_.isValid())
                date_ = QDate::fromString(key.toString().trimmed(), QStringLiteral("dd.MM.yyyy"));
            impossible_ = !date_.isValid();
            break;
        case FieldKind::Boolean:
            boolean_ =
                key.typeId() == QMetaType::Bool ? key.toBool() : key.toString().trimmed().toUpper().startsWith(u'T');
            break;
        default: {
            bool ok = false;
            number_ = key.typeId() == QMetaType::QString ? key.toString().trimmed().replace(u',', u'.').toDouble(&ok)
                                                         : key.toDouble(&ok);
            impossible_ = !ok;
            break;
        }
        }
    }

    bool matches(const char *record) const
    {
        if (text_ && !keyNull_) {
            // On the record's bytes: the key was encoded (and folded) once.
            // A C value that matches begins with the key's bytes (only
            // trailing blanks are trimmed): test those first, most records
            // fail there without trimming the field.
            const size_t keySize = size_t(bytes_.size());
            if (field_.type == 'C' && keySize > 0
                && (keySize > size_t(field_.size) || !sameBytes(record + field_.offset, keySize)))
                return false;
            const std::string_view value = codec::trimmedText(field_, record);
            const size_t n = size_t(bytes_.size());
            if (partial_ ? value.size() < n : value.size() != n)
                return false;
            return sameBytes(value.data(), n);
        }
        const bool fieldNull = codec::isNull(field_, record);
        if (keyNull_)
            return fieldNull;
        if (impossible_)
            return false;
        if (fieldNull) // an empty number or date equals nothing, not even 0
            return false;
        switch (field_.kind()) {
        case FieldKind::Date:
        case FieldKind::DateTime: return codec::asDate(field_, record) == date_;
        case FieldKind::Boolean: return codec::asBoolean(field_, record) == boolean_;
        default: return codec::asFloat(field_, record) == number_;
        }
    }

private:
    // The first n bytes at p equal the key's (folded when case is ignored).
    bool sameBytes(const char *p, size_t n) const
    {
        if (!nocase_)
            return std::memcmp(p, bytes_.constData(), n) == 0;
        for (size_t i = 0; i < n; ++i)
            if (cp_.fold(std::uint8_t(p[i])) != std::uint8_t(bytes_[qsizetype(i)]))
                return false;
        return true;
    }

    QByteArray fold(QByteArray b) const
    {
        for (char &c : b)
            c = char(cp_.fold(uchar(c)));
        return b;
    }

    const FieldDef &field_;
    const CodePage &cp_;
    bool nocase_;
    bool partial_;
    bool keyNull_ = false;
    bool impossible_ = false;
    bool text_ = false;
    QByteArray bytes_;
    double number_ = 0;
    QDate date_;
    bool boolean_ = false;
};

} // namespace

bool Table::locate(const QString &fields, const QVariantList &values, LocateOptions options)
{
    requireOpen();
    checkBrowseMode();
    const QStringList names = fields.split(u';', Qt::SkipEmptyParts);
    if (names.isEmpty())
        throw TableError(QStringLiteral("Locate in table %1 needs a field").arg(path_));
    if (names.size() != values.size())
        throw TableError(QStringLiteral("Locate in table %1: %2 fields but %3 values")
                             .arg(path_)
                             .arg(names.size())
                             .arg(values.size()));
    std::vector<KeyMatcher> matchers;
    matchers.reserve(size_t(names.size()));
    for (int i = 0; i < names.size(); ++i) {
        const int index = schema_.indexOf(QStringView(names[i]).trimmed());
        if (index < 0)
            throw TableError(TableErrorKind::NoField, path_,
                             QStringLiteral("Field %1 not found in table %2").arg(names[i].trimmed(), path_));
        const bool last = i == names.size() - 1;
        matchers.emplace_back(schema_.fields[size_t(index)], values[i], *schema_.codePage, options.caseInsensitive,
                              last && options.partialKey);
    }
    // No size check here: reading a record past the known count makes one.
    const auto keysMatch = [&](const char *record) {
        for (const KeyMatcher &m : matchers)
            if (!m.matches(record))
                return false;
        return true;
    };
    const auto matches = [&](std::uint32_t r) {
        // Judged in the mapping first; the record found is read and judged again.
        if (const char *mapped = file_->mappedRecord(r); mapped && !(keysMatch(mapped) && passes(r, mapped)))
            return false;
        return readIfVisible(r) && keysMatch(scratch_.constData());
    };
    std::uint32_t found = 0;
    // A tag on a key field only narrows the records tried; each one is still
    // judged by the matchers, in the current order.
    const RecordOrder *current = order_ == physicalOrder_ ? nullptr : order_.get();
    if (!indexes().locate(names, values, current, matches, &found)) {
        RecordOrder &o = order();
        for (std::uint32_t r = o.first(); r != 0; r = o.next(r))
            if (matches(r)) {
                found = r;
                break;
            }
    }
    if (!found)
        return false;
    // scratch_ holds the record found: the search stops at it.
    if (beforeScroll)
        beforeScroll(*this);
    moveTo(found);
    bof_ = eof_ = false;
    scrolled();
    return true;
}

} // namespace tables
