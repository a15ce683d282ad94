// Copies n bytes in reverse order. Device images store 16- and 32-bit integers most
// significant byte first; on this little-endian host that is a reversed copy.
// Source and destination must not overlap.
#pragma once

#include <cstddef>

void ReverseBytes(void* destination, const void* source, size_t n);
