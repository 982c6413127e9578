#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace ordering {

struct OrderInput;

// Fills the order file at `path` (a fresh copy of the template) with one row
// per ordered price row, each field by its Order.ini "Association" value;
// the message is spread over the rows 50 characters at a time and what does
// not fit is dropped. TableError on failure.
void WriteOrderFile(const QString &path, const QString &orderIniPath, const OrderInput &input,
                    const std::vector<std::uint32_t> &orderedRows, int orderNumber);

// Characters of the message one row's comment field takes.
constexpr int kCommentChunk = 50;

} // namespace ordering
