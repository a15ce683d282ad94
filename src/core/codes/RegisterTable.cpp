// Register id lookups over the program-code table (see RegisterTable.h).
#include "RegisterTable.h"

#include "ParamTable.h"

const ParamDef* FindRegister(RegisterId id)
{
    const int type = static_cast<int>(id >> 24);
    const int directory = static_cast<int>((id >> 16) & 0xFF);
    const int index = static_cast<int>((id >> 8) & 0xFF);
    const std::span<const ParamDef> slot = ParamTable::Slot(type, directory);
    if (index >= static_cast<int>(slot.size()))
        return nullptr;
    return &slot[index];
}

RegisterId MakeRegisterId(const ParamDef& def, int instance)
{
    return (static_cast<RegisterId>(def.type) << 24) | (static_cast<RegisterId>(def.directory) << 16)
        | (static_cast<RegisterId>(def.index) << 8) | (static_cast<RegisterId>(instance) & 0xFF);
}

int NormaliseInstance(const ParamDef& def, int instance)
{
    if (def.instanceCount == 0)
        return 0;
    return instance == 0 ? 1 : instance;
}
