// Locations in the configuration image (see ConfigImage.h). Every access is bounded by its
// block, so a damaged table entry or file can never reach outside the image.
#include "ConfigImage.h"

void ConfigImage::Clear()
{
    m_config.fill(0);
    m_runData.fill(0);
}

std::span<uint8_t> ConfigImage::Block(ImageBlock block)
{
    if (block == ImageBlock::Config)
        return m_config;
    return m_runData;
}

std::span<const uint8_t> ConfigImage::Block(ImageBlock block) const
{
    if (block == ImageBlock::Config)
        return m_config;
    return m_runData;
}

std::span<uint8_t> ConfigImage::LocateValue(const ParamDef& def, int instance)
{
    std::span<uint8_t> block = Block(def.location.block);
    const int offset = Offset(def, instance);
    if (offset < 0 || offset >= static_cast<int>(block.size()))
        return {};
    return block.subspan(offset);
}

std::span<const uint8_t> ConfigImage::LocateValue(const ParamDef& def, int instance) const
{
    std::span<const uint8_t> block = Block(def.location.block);
    const int offset = Offset(def, instance);
    if (offset < 0 || offset >= static_cast<int>(block.size()))
        return {};
    return block.subspan(offset);
}

uint8_t ConfigImage::GetSecurityLevel(const DBParam& p) const
{
    if (!p.def->HasSecurityLevel() || p.def->securityOffset >= kConfigSize)
        return 0;
    return m_config[p.def->securityOffset];
}

void ConfigImage::SetSecurityLevel(const DBParam& p, uint8_t level)
{
    if (!p.def->HasSecurityLevel() || p.def->securityOffset >= kConfigSize)
        return;
    m_config[p.def->securityOffset] = level;
}
