#pragma once

#include "FieldDef.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <cstdint>
#include <vector>

namespace tables {

// The fixed header and field descriptors of a .dbf file.
struct DbfHeader {
    std::uint8_t version = 0x03;
    int level = 4; // 3, 4, 7; 25 for FoxPro
    std::uint8_t languageId = 0; // byte 29
    QByteArray driverName; // level 7 language driver name
    int headerSize = 0;
    int recordSize = 1;
    std::uint32_t storedCount = 0; // as written; the file size decides what is read
    bool productionIndex = false; // byte 28
    std::vector<FieldDef> fields;

    static constexpr int kFixedSize = 32;
    static constexpr int kFixedSize7 = 68;

    bool hasMemo() const;
    // Size of the fixed part and of one descriptor for this level.
    int fixedSize() const { return level == 7 ? kFixedSize7 : kFixedSize; }
    int descriptorSize() const { return level == 7 ? 48 : 32; }

    // Parses and validates; errors name `path`.
    static DbfHeader parse(const QByteArray &bytes, qint64 fileSize, const QString &path);
    // How many bytes parse() needs at least to see the whole header.
    static int bytesNeeded(const QByteArray &first32);

    // Header bytes (fixed part, descriptors, 0x0D), recordCount and date filled in.
    QByteArray serialize(std::uint32_t recordCount, const QDate &today) const;
    // Computes offsets, record size and header size from the fields.
    void layOut();
};

} // namespace tables
