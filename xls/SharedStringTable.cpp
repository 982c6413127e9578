#include "xls/SharedStringTable.h"

#include "xls/BiffRecords.h"

#include <algorithm>
#include <stdexcept>

namespace xls {

std::uint32_t SharedStringTable::add(const QString &text)
{
    ++references_;
    const auto found = indexes_.constFind(text);
    if (found != indexes_.constEnd())
        return *found;
    const auto index = std::uint32_t(strings_.size());
    strings_.append(text);
    indexes_.insert(text, index);
    return index;
}

void SharedStringTable::write(ByteWriter &stream) const
{
    // EXTSST points at every n-th string; Excel keeps it to at most 128 buckets.
    const auto perBucket = std::uint16_t(std::max<qsizetype>(8, strings_.size() / 128 + 1));
    ByteWriter index;
    index.u16(perBucket);

    std::uint16_t recordId = biff::id::Sst;
    ByteWriter record;
    record.u32(references_);
    record.u32(std::uint32_t(strings_.size()));
    const auto room = [&] { return biff::MaxRecordData - record.size(); };
    const auto flush = [&] {
        biff::appendRecord(stream, recordId, record.bytes());
        record = ByteWriter();
        recordId = biff::id::Continue;
    };

    for (qsizetype i = 0; i < strings_.size(); ++i) {
        const QString &text = strings_[i];
        const bool compressed = biff::fitsCompressed(text);
        const qsizetype charSize = compressed ? 1 : 2;
        const std::uint8_t options = compressed ? 0x00 : 0x01;

        if (text.size() > 0xFFFF)
            throw std::logic_error("shared string over 65535 characters");
        // The length and option byte never split from the first character (or
        // surrogate pair).
        if (room() < 3 + (text.isEmpty() ? 0 : 2 * charSize))
            flush();
        if (i % perBucket == 0) {
            // Stream position of the string, then its offset from the record header.
            index.u32(std::uint32_t(stream.size() + 4 + record.size()));
            index.u16(std::uint16_t(4 + record.size()));
            index.u16(0);
        }
        record.u16(std::uint16_t(text.size()));
        record.u8(options);

        // Characters split at a character boundary, never inside a surrogate pair;
        // each CONTINUE that carries the rest of a string starts with the option byte.
        QStringView rest = text;
        for (;;) {
            qsizetype fit = std::min(rest.size(), room() / charSize);
            if (fit < rest.size() && fit > 0 && rest[fit - 1].isHighSurrogate())
                --fit;
            biff::appendCharacters(record, rest.first(fit), compressed);
            rest = rest.sliced(fit);
            if (rest.isEmpty())
                break;
            flush();
            record.u8(options);
        }
    }
    flush();
    biff::appendRecord(stream, biff::id::ExtSst, index.bytes());
}

} // namespace xls
