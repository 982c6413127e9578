#pragma once

namespace codepages::detail {

struct CodePageTable {
    int number;
    const char16_t *high; // characters of bytes 0x80..0xFF
};

extern const CodePageTable kCodePageTables[];
extern const int kCodePageTableCount;

} // namespace codepages::detail
