// Test helper: firmware images with a chosen CRC-32. CRC-32 is linear, so four bytes appended
// to any data can steer the register to any value: run the wanted final register back
// through 32 inverse bit steps and XOR it with the register after the data.
#pragma once

#include "Crc32.h"

#include <QByteArray>
#include <cstdint>

inline QByteArray WithCrc32(QByteArray data, uint32_t wanted)
{
    constexpr uint32_t kPolynomial = 0xEDB88320u;
    const uint32_t after = Crc32(data.constData(), size_t(data.size())) ^ 0xFFFFFFFFu;
    uint32_t reg = wanted ^ 0xFFFFFFFFu;
    for (int bit = 0; bit < 32; ++bit)
        reg = (reg & 0x80000000u) ? ((reg ^ kPolynomial) << 1) | 1u : reg << 1;
    const uint32_t tail = reg ^ after;
    for (int i = 0; i < 4; ++i)
        data.append(char(tail >> (8 * i) & 0xFF));
    return data;
}
