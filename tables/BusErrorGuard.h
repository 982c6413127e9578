#pragma once

#include <cstddef>

namespace tables {

// Copies bytes out of a file mapping. Another process may have shrunk the
// file, and touching a mapped page past its end raises SIGBUS: such a copy
// returns false instead, and the caller reads the file the ordinary way.
// Faults outside a guarded copy keep their previous handling.
bool copyGuarded(char *to, const char *from, std::size_t size);

} // namespace tables
