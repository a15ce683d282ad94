// The values of one configuration document: a configuration block of 1828 bytes and a
// run-data block of 3938 bytes, both zero when new. Every ParamDef names a fixed location in
// one block; instance i lies i * stride bytes further. Security levels are bytes of the
// configuration block, shared by all instances of a program code.
#pragma once

#include "DBParam.h"

#include <array>
#include <cstdint>
#include <span>

class ConfigImage {
public:
    static constexpr int kConfigSize = 1828;
    static constexpr int kRunDataSize = 3938;

    ConfigImage() { Clear(); }
    void Clear();

    std::span<uint8_t> Block(ImageBlock block);
    std::span<const uint8_t> Block(ImageBlock block) const;

    // Offset of a ParamDef's instance in its block (the value's location).
    static int Offset(const ParamDef& def, int instance) { return def.location.offset + instance * def.instanceStride; }

    // The bytes from the instance's location to the end of its block; empty when the
    // location lies outside the block.
    std::span<uint8_t> LocateValue(const ParamDef& def, int instance);
    std::span<const uint8_t> LocateValue(const ParamDef& def, int instance) const;
    std::span<uint8_t> LocateValue(const DBParam& p) { return LocateValue(*p.def, p.instance); }
    std::span<const uint8_t> LocateValue(const DBParam& p) const { return LocateValue(*p.def, p.instance); }

    // 0 when the ParamDef has no security-level location.
    uint8_t GetSecurityLevel(const DBParam& p) const;
    // Does nothing when the ParamDef has no security-level location.
    void SetSecurityLevel(const DBParam& p, uint8_t level);

private:
    std::array<uint8_t, kConfigSize> m_config{};
    std::array<uint8_t, kRunDataSize> m_runData{};
};
