#pragma once

#include <QtGlobal>

#include <atomic>

namespace tables::buserror {

// Another process may shrink a file while this one has it mapped; touching a
// mapped page past the new end raises SIGBUS. For the ranges registered here
// the handler maps a page of zeros over the faulting one and marks the range
// damaged, so the access completes and the owner, checking the mark after
// reading, falls back to reading the file. Faults elsewhere keep their
// previous handling.

// A slot number, or -1 when every slot is taken (then do not map).
int registerRange(const char *start, qint64 length);
void unregisterRange(int slot);
// The slot's mark, read without a call per record.
const std::atomic<bool> &damagedFlag(int slot);

} // namespace tables::buserror
