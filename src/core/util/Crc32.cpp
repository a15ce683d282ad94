// Table-driven CRC-32 (see Crc32.h). The table is built once, at compile time.
#include "Crc32.h"

#include <array>

namespace {

constexpr std::array<uint32_t, 256> MakeTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
        table[n] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kTable = MakeTable();

} // namespace

void Crc32Init(uint32_t& reg)
{
    reg = 0xFFFFFFFFu;
}

uint32_t Crc32Step(uint32_t& reg, uint8_t byte)
{
    reg = kTable[(reg ^ byte) & 0xFFu] ^ (reg >> 8);
    return reg ^ 0xFFFFFFFFu;
}

uint32_t Crc32(const void* data, size_t size)
{
    uint32_t reg;
    Crc32Init(reg);
    const auto* p = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i)
        reg = kTable[(reg ^ p[i]) & 0xFFu] ^ (reg >> 8);
    return reg ^ 0xFFFFFFFFu;
}
