#include "xls/CompoundFile.h"

#include "xls/ByteWriter.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace xls {

namespace {

constexpr qsizetype SectorSize = 512;
constexpr std::uint32_t EntriesPerSector = SectorSize / 4;
constexpr std::uint32_t HeaderDifatEntries = 109;
constexpr std::uint32_t DirectoryEntrySize = 128;

constexpr std::uint32_t FreeSector = 0xFFFFFFFF;
constexpr std::uint32_t EndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t FatSector = 0xFFFFFFFD;
constexpr std::uint32_t DifatSector = 0xFFFFFFFC;
constexpr std::uint32_t NoStream = 0xFFFFFFFF;

constexpr std::uint8_t StreamObject = 2;
constexpr std::uint8_t RootObject = 5;
constexpr std::uint8_t Black = 1;

std::uint32_t sectorsFor(qsizetype bytes, qsizetype unit) { return std::uint32_t((bytes + unit - 1) / unit); }

// Where everything goes: the stream from sector 0, then the directory, the FAT
// and the DIFAT extension, each sector chain contiguous.
struct Layout {
    std::uint32_t streamSectors = 0;
    std::uint32_t directorySector = 0;
    std::uint32_t fatStart = 0;
    std::uint32_t fatSectors = 0;
    std::uint32_t difatStart = 0;
    std::uint32_t difatSectors = 0;

    explicit Layout(qsizetype streamSize)
        : streamSectors(sectorsFor(streamSize, SectorSize)), directorySector(streamSectors)
    {
        // FAT sectors map themselves and the DIFAT too: grow both until they cover all.
        for (;;) {
            const std::uint32_t total = streamSectors + 1 + fatSectors + difatSectors;
            const std::uint32_t fat = sectorsFor(total, EntriesPerSector);
            const std::uint32_t difat =
                fat > HeaderDifatEntries ? sectorsFor(fat - HeaderDifatEntries, EntriesPerSector - 1) : 0;
            if (fat == fatSectors && difat == difatSectors)
                break;
            fatSectors = fat;
            difatSectors = difat;
        }
        fatStart = directorySector + 1;
        difatStart = fatStart + fatSectors;
    }
};

void appendDirectoryEntry(ByteWriter &out, const QString &name, std::uint8_t type, std::uint32_t child,
                          std::uint32_t startSector, std::uint32_t size)
{
    const qsizetype start = out.size();
    for (QChar c : name)
        out.u16(c.unicode());
    out.zeros(64 - 2 * name.size());
    out.u16(std::uint16_t(name.isEmpty() ? 0 : 2 * (name.size() + 1)));
    out.u8(type);
    out.u8(type == 0 ? 0 : Black);
    out.u32(NoStream); // left sibling
    out.u32(NoStream); // right sibling
    out.u32(child);
    out.zeros(16 + 4 + 8 + 8); // class id, state bits, creation and modification times
    out.u32(startSector);
    out.u32(size);
    out.u32(0); // high half of the size, zero in version 3
    Q_ASSERT(out.size() - start == DirectoryEntrySize);
}

void appendHeader(ByteWriter &out, const Layout &layout)
{
    out.raw(QByteArrayView("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    out.zeros(16); // class id
    out.u16(0x003E); // minor version
    out.u16(0x0003); // major version: 512-byte sectors
    out.u16(0xFFFE); // little-endian
    out.u16(9); // sector size 2^9
    out.u16(6); // mini sector size 2^6
    out.zeros(6);
    out.u32(0); // directory sectors, always 0 in version 3
    out.u32(layout.fatSectors);
    out.u32(layout.directorySector);
    out.u32(0); // transaction signature
    out.u32(MiniStreamCutoff);
    out.u32(EndOfChain); // no mini FAT
    out.u32(0);
    out.u32(layout.difatSectors ? layout.difatStart : EndOfChain);
    out.u32(layout.difatSectors);
    for (std::uint32_t i = 0; i < HeaderDifatEntries; ++i)
        out.u32(i < layout.fatSectors ? layout.fatStart + i : FreeSector);
}

} // namespace

QByteArray compoundFile(const QString &streamName, const QByteArray &stream)
{
    if (streamName.isEmpty() || streamName.size() > 31 || streamName.contains(QLatin1Char('/'))
        || streamName.contains(QLatin1Char('\\')) || streamName.contains(QLatin1Char(':'))
        || streamName.contains(QLatin1Char('!')))
        throw std::invalid_argument("invalid compound file stream name");
    if (stream.size() < MiniStreamCutoff)
        throw std::invalid_argument("compound file stream shorter than the mini stream cutoff");
    if (quint64(stream.size()) > 0x7FFFFFFFull)
        throw std::invalid_argument("compound file stream over 2 GiB");

    const Layout layout(stream.size());
    ByteWriter out;
    appendHeader(out, layout);

    out.raw(stream);
    out.zeros(qsizetype(layout.streamSectors) * SectorSize - stream.size());

    appendDirectoryEntry(out, QStringLiteral("Root Entry"), RootObject, 1, EndOfChain, 0);
    appendDirectoryEntry(out, streamName, StreamObject, NoStream, 0, std::uint32_t(stream.size()));
    appendDirectoryEntry(out, QString(), 0, NoStream, 0, 0);
    appendDirectoryEntry(out, QString(), 0, NoStream, 0, 0);

    std::vector<std::uint32_t> fat(std::size_t(layout.fatSectors) * EntriesPerSector, FreeSector);
    for (std::uint32_t s = 0; s < layout.streamSectors; ++s)
        fat[s] = s + 1 < layout.streamSectors ? s + 1 : EndOfChain;
    fat[layout.directorySector] = EndOfChain;
    for (std::uint32_t i = 0; i < layout.fatSectors; ++i)
        fat[layout.fatStart + i] = FatSector;
    for (std::uint32_t i = 0; i < layout.difatSectors; ++i)
        fat[layout.difatStart + i] = DifatSector;
    for (std::uint32_t entry : fat)
        out.u32(entry);

    // Each DIFAT sector lists the FAT sectors past the header's 109 and ends with
    // the next DIFAT sector.
    std::uint32_t nextFat = HeaderDifatEntries;
    for (std::uint32_t d = 0; d < layout.difatSectors; ++d) {
        for (std::uint32_t i = 0; i + 1 < EntriesPerSector; ++i, ++nextFat)
            out.u32(nextFat < layout.fatSectors ? layout.fatStart + nextFat : FreeSector);
        out.u32(d + 1 < layout.difatSectors ? layout.difatStart + d + 1 : EndOfChain);
    }
    return out.bytes();
}

} // namespace xls
