#pragma once

#include <cstdint>

namespace tables {

// The order in which a cursor visits physical record numbers. The stored
// order is the default; an index tag supplies another. 0 means "none".
class RecordOrder {
public:
    virtual ~RecordOrder() = default;
    virtual std::uint32_t first() = 0;
    virtual std::uint32_t last() = 0;
    virtual std::uint32_t next(std::uint32_t recno) = 0;
    virtual std::uint32_t prior(std::uint32_t recno) = 0;
};

} // namespace tables
