#pragma once

#include <cstdint>
#include <cstring>

// Byte layout of a dBase IV production index (.mdx): 512-byte pages, index
// structures in 1024-byte blocks of two pages, the file header and the tag
// table in pages 0..3.
namespace tables::mdx {

constexpr int kPageSize = 512;
constexpr int kBlockSize = 1024;
constexpr int kPagesPerBlock = kBlockSize / kPageSize;
constexpr int kHeaderPages = 4;
constexpr int kHeaderBytes = kHeaderPages * kPageSize;

// File header.
constexpr int kVersionOffset = 0;
constexpr int kCreatedOffset = 1;
constexpr int kTableNameOffset = 4;
constexpr int kTableNameSize = 16;
constexpr int kBlockPagesOffset = 20;
constexpr int kBlockBytesOffset = 22;
constexpr int kProductionOffset = 24;
constexpr int kTagSlotsOffset = 25;
constexpr int kTagEntrySizeOffset = 26;
constexpr int kTagsUsedOffset = 28;
constexpr int kLanguageOffset = 31;
constexpr int kPageCountOffset = 32;
constexpr int kFirstFreeOffset = 36;
constexpr int kFreeBlocksOffset = 40;
constexpr int kUpdatedOffset = 44;
constexpr int kAlwaysOneOffset = 529;
// In the reserved part of the header, which dBase and TDbf neither read nor
// change: our mark of an update in progress (left set by a crash) and a
// counter of our updates, which tells other table objects to re-read.
constexpr int kUpdatingOffset = 47;
constexpr int kChangeCounterOffset = 48;

constexpr int kTagSlots = 48;
constexpr int kMaxTags = 47; // TDbf uses one slot less than the table has
constexpr int kTagEntrySize = 32;

// Tag table entry (at 544 + 32 * i).
constexpr int kTagTableOffset = 544;
constexpr int kTagHeaderPageOffset = 0;
constexpr int kTagNameOffset = 4;
constexpr int kTagNameSize = 11; // 10 characters and a NUL
constexpr int kTagKeyFormatOffset = 15;
constexpr int kTagReservedOffset = 19;
constexpr int kTagKeyTypeOffset = 20;
constexpr std::uint8_t kKeyFormatField = 0x10;
constexpr std::uint8_t kKeyFormatCalculated = 0x00;

// Tag header block.
constexpr int kRootOffset = 0;
constexpr int kTagPagesOffset = 4;
constexpr int kHeaderKeyFormatOffset = 8;
constexpr int kHeaderKeyTypeOffset = 9;
constexpr int kKeyLengthOffset = 12;
constexpr int kMaxKeysOffset = 14;
constexpr int kSecondaryTypeOffset = 16;
constexpr int kEntryLengthOffset = 18;
constexpr int kHeaderVersionOffset = 20;
constexpr int kUniqueOffset = 23;
constexpr int kExpressionOffset = 24;
constexpr int kExpressionSize = 220; // NUL included
constexpr int kForExistsOffset = 245;
constexpr int kKeyExistsOffset = 246;
constexpr std::uint8_t kHeaderFormatCharacter = 0x10;

// B-tree block: entry count, previous block, then entries of `entry length`
// bytes (a 4-byte record or block number, then the key).
constexpr int kNodeCountOffset = 0;
constexpr int kNodeEntriesOffset = 8;
constexpr int kEntryNumberSize = 4;

// The longest key a block can hold at least three of (an inner block needs
// two keyed entries and its rightmost child to split).
constexpr int kMaxKeyLength = 250;

inline std::uint16_t get16(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return std::uint16_t(u[0] | (u[1] << 8));
}

inline std::uint32_t get32(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return std::uint32_t(u[0]) | (std::uint32_t(u[1]) << 8) | (std::uint32_t(u[2]) << 16) | (std::uint32_t(u[3]) << 24);
}

inline void put16(char *p, std::uint16_t v)
{
    p[0] = char(v & 0xFF);
    p[1] = char(v >> 8);
}

inline void put32(char *p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = char((v >> (8 * i)) & 0xFF);
}

// Entry length for a key length: key plus number, rounded up to 4 bytes.
constexpr int entryLengthFor(int keyLength) { return (keyLength + kEntryNumberSize + 3) & ~3; }
constexpr int maxKeysFor(int entryLength) { return (kBlockSize - kNodeEntriesOffset) / entryLength; }

} // namespace tables::mdx
