#include "xls/BiffRecords.h"

#include <algorithm>
#include <stdexcept>

namespace xls::biff {

void appendRecord(ByteWriter &stream, std::uint16_t recordId, const QByteArray &data)
{
    if (data.size() > MaxRecordData)
        throw std::logic_error("BIFF record data over 8224 bytes");
    stream.u16(recordId);
    stream.u16(std::uint16_t(data.size()));
    stream.raw(data);
}

bool fitsCompressed(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 256; });
}

void appendCharacters(ByteWriter &out, QStringView text, bool compressed)
{
    for (QChar c : text) {
        if (compressed)
            out.u8(std::uint8_t(c.unicode()));
        else
            out.u16(c.unicode());
    }
}

void appendShortString(ByteWriter &out, QStringView text)
{
    if (text.size() > 255)
        throw std::logic_error("BIFF short string over 255 characters");
    const bool compressed = fitsCompressed(text);
    out.u8(std::uint8_t(text.size()));
    out.u8(compressed ? 0x00 : 0x01);
    appendCharacters(out, text, compressed);
}

} // namespace xls::biff
