#pragma once

#include "xls/ByteWriter.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace xls {

// The workbook's shared strings: every text cell refers to one entry by index.
class SharedStringTable {
public:
    // Index of the text, adding it when new; each call counts one cell referring to it.
    std::uint32_t add(const QString &text);

    qsizetype uniqueCount() const { return strings_.size(); }

    // Appends SST with its CONTINUE records and the EXTSST index to a workbook
    // stream whose first byte is the workbook's start.
    void write(ByteWriter &stream) const;

private:
    QHash<QString, std::uint32_t> indexes_;
    QStringList strings_;
    std::uint32_t references_ = 0;
};

} // namespace xls
