#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtEndian>

#include <bit>
#include <cstdint>

namespace xls {

// A growing byte buffer of little-endian values, the byte order of BIFF records
// and of the compound file container.
class ByteWriter {
public:
    void u8(std::uint8_t value) { bytes_.append(char(value)); }
    void u16(std::uint16_t value) { append(value); }
    void u32(std::uint32_t value) { append(value); }
    void f64(double value) { append(std::bit_cast<std::uint64_t>(value)); }
    void raw(QByteArrayView data) { bytes_.append(data); }
    void zeros(qsizetype count) { bytes_.append(count, '\0'); }
    void patchU32(qsizetype at, std::uint32_t value) { qToLittleEndian(value, bytes_.data() + at); }

    qsizetype size() const { return bytes_.size(); }
    const QByteArray &bytes() const { return bytes_; }

private:
    template <typename T> void append(T value)
    {
        char buffer[sizeof(T)];
        qToLittleEndian(value, buffer);
        bytes_.append(buffer, sizeof(T));
    }

    QByteArray bytes_;
};

} // namespace xls
