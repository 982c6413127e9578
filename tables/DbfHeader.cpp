#include "DbfHeader.h"

#include "TableError.h"

#include <cstring>

namespace tables {

namespace {

quint16 u16(const QByteArray &b, int off) { return quint16(uchar(b[off])) | quint16(uchar(b[off + 1])) << 8; }

quint32 u32(const QByteArray &b, int off)
{
    return quint32(uchar(b[off])) | quint32(uchar(b[off + 1])) << 8 | quint32(uchar(b[off + 2])) << 16
        | quint32(uchar(b[off + 3])) << 24;
}

void put16(QByteArray &b, int off, quint16 v)
{
    b[off] = char(v);
    b[off + 1] = char(v >> 8);
}

void put32(QByteArray &b, int off, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[off + i] = char(v >> (8 * i));
}

[[noreturn]] void damaged(const QString &path, const QString &what)
{
    throw TableError(TableErrorKind::Damaged, path, QStringLiteral("Damaged table %1: %2").arg(path, what));
}

int levelOf(std::uint8_t version, std::uint8_t languageId)
{
    switch (version) {
    case 0x30:
    case 0x31:
    case 0x32: return 30;
    case 0xF5:
    case 0xFB: return 25;
    default: break;
    }
    switch (version & 0x07) {
    case 3:
        // 0x03 and 0x8B are dBase IV; another 3-version with no mark is dBase III.
        if (version != 0x03 && version != 0x8B && languageId == 0)
            return 3;
        return 4;
    case 4: return 7;
    case 2:
    case 5: return 25;
    default: return 0;
    }
}

} // namespace

bool DbfHeader::hasMemo() const
{
    for (const FieldDef &f : fields)
        if (f.kind() == FieldKind::Memo)
            return true;
    return false;
}

int DbfHeader::bytesNeeded(const QByteArray &first32)
{
    if (first32.size() < 12)
        return kFixedSize;
    return std::max<int>(u16(first32, 8), kFixedSize);
}

DbfHeader DbfHeader::parse(const QByteArray &bytes, qint64 fileSize, const QString &path)
{
    if (bytes.size() < kFixedSize)
        damaged(path, QStringLiteral("the file is shorter than a table header"));
    DbfHeader h;
    h.version = std::uint8_t(bytes[0]);
    h.languageId = std::uint8_t(bytes[29]);
    h.level = levelOf(h.version, h.languageId);
    if (h.level == 0)
        damaged(path, QStringLiteral("unknown version byte 0x%1").arg(h.version, 2, 16, QChar(u'0')));
    h.storedCount = u32(bytes, 4);
    h.headerSize = u16(bytes, 8);
    h.recordSize = u16(bytes, 10);
    h.productionIndex = bytes[28] != 0;

    const int fixed = h.fixedSize();
    const int desc = h.descriptorSize();
    if (h.headerSize < fixed + 1 || h.headerSize > fileSize || h.headerSize > bytes.size())
        damaged(path, QStringLiteral("impossible header size %1").arg(h.headerSize));
    if (h.recordSize < 1)
        damaged(path, QStringLiteral("impossible record size %1").arg(h.recordSize));
    if (h.level == 7)
        h.driverName = bytes.mid(32, 32);

    const bool fox = h.level >= 25;
    const int maxFields = (h.headerSize - fixed) / desc;
    int offset = 1;
    for (int i = 0; i < maxFields; ++i) {
        const int at = fixed + i * desc;
        if (uchar(bytes[at]) == 0x0D)
            break;
        FieldDef f;
        const int nameLen = h.level == 7 ? 32 : 11;
        QByteArray name = bytes.mid(at, nameLen);
        const int nul = name.indexOf('\0');
        if (nul >= 0)
            name.truncate(nul);
        f.name = QString::fromLatin1(name).trimmed().toUpper();
        if (h.level == 7) {
            f.type = char(QChar::toUpper(uchar(bytes[at + 32])));
            f.size = uchar(bytes[at + 33]);
            f.decimals = uchar(bytes[at + 34]);
        } else {
            f.type = char(QChar::toUpper(uchar(bytes[at + 11])));
            f.size = uchar(bytes[at + 16]);
            f.decimals = uchar(bytes[at + 17]);
            if (fox && f.type == 'C') {
                f.size += f.decimals * 256;
                f.decimals = 0;
            }
        }
        if (f.name.isEmpty())
            damaged(path, QStringLiteral("field %1 has no name").arg(i + 1));
        if (f.size < 1)
            damaged(path, QStringLiteral("field %1 has size 0").arg(f.name));
        if (f.isNumeric() && f.decimals >= f.size && f.decimals > 0)
            damaged(path,
                    QStringLiteral("field %1 has %2 decimals in %3 digits").arg(f.name).arg(f.decimals).arg(f.size));
        if (!f.isNumeric() && f.type != 'C')
            f.decimals = 0;
        f.offset = offset;
        offset += f.size;
        if (offset > h.recordSize)
            damaged(path, QStringLiteral("field %1 lies beyond the record size %2").arg(f.name).arg(h.recordSize));
        h.fields.push_back(std::move(f));
    }
    if (h.fields.empty())
        damaged(path, QStringLiteral("no field descriptors"));
    return h;
}

void DbfHeader::layOut()
{
    int offset = 1;
    for (FieldDef &f : fields) {
        f.offset = offset;
        offset += f.size;
    }
    recordSize = offset;
    headerSize = fixedSize() + descriptorSize() * int(fields.size()) + 1;
}

QByteArray DbfHeader::serialize(std::uint32_t recordCount, const QDate &today) const
{
    QByteArray b(headerSize, '\0');
    b[0] = char(version);
    b[1] = char(today.year() - 1900);
    b[2] = char(today.month());
    b[3] = char(today.day());
    put32(b, 4, recordCount);
    put16(b, 8, quint16(headerSize));
    put16(b, 10, quint16(recordSize));
    b[28] = productionIndex ? 1 : 0;
    b[29] = char(level == 7 ? 0 : languageId);
    if (level == 7) {
        const QByteArray name = driverName.left(32);
        std::memcpy(b.data() + 32, name.constData(), size_t(name.size()));
    }
    const int fixed = fixedSize();
    const int desc = descriptorSize();
    for (size_t i = 0; i < fields.size(); ++i) {
        const FieldDef &f = fields[i];
        const int at = fixed + int(i) * desc;
        const QByteArray name = f.name.toLatin1().left(level == 7 ? 31 : 10);
        std::memcpy(b.data() + at, name.constData(), size_t(name.size()));
        if (level == 7) {
            b[at + 32] = f.type;
            b[at + 33] = char(f.size);
            b[at + 34] = char(f.decimals);
        } else {
            b[at + 11] = f.type;
            b[at + 16] = char(f.size);
            b[at + 17] = char(f.decimals);
        }
    }
    b[fixed + desc * int(fields.size())] = 0x0D;
    return b;
}

} // namespace tables
