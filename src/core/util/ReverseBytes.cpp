// Byte-order reversal for device images (see ReverseBytes.h).
#include "ReverseBytes.h"

#include <cstdint>

void ReverseBytes(void* destination, const void* source, size_t n)
{
    auto* d = static_cast<uint8_t*>(destination);
    const auto* s = static_cast<const uint8_t*>(source);
    for (size_t i = 0; i < n; ++i)
        d[i] = s[n - 1 - i];
}
