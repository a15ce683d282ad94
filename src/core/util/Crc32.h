// CRC-32 of ISO-HDLC / IEEE 802.3: reflected polynomial 0xEDB88320, register preset to
// 0xFFFFFFFF, one table step per byte, result inverted. "123456789" gives 0xCBF43926.
// Crc32Init/Crc32Step keep a running register so images can be checked while they stream.
#pragma once

#include <cstddef>
#include <cstdint>

// Presets a running CRC register.
void Crc32Init(uint32_t& reg);
// Feeds one byte into the register and returns the CRC of every byte fed so far.
uint32_t Crc32Step(uint32_t& reg, uint8_t byte);
// The CRC of a whole buffer.
uint32_t Crc32(const void* data, size_t size);
