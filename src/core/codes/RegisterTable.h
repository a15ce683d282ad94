// Register ids: value type << 24 | directory << 16 | index << 8 | instance byte.
// The instance byte is 0 for an item without instances and counts from 1 otherwise.
// Report, display and equation documents store these ids.
#pragma once

#include "ParamDef.h"

#include <cstdint>

using RegisterId = uint32_t;

// The ParamDef an id names, or nullptr when its type, directory or index names none.
// The instance byte plays no part in the lookup.
const ParamDef* FindRegister(RegisterId id);

// The id of an instance of a ParamDef.
RegisterId MakeRegisterId(const ParamDef& def, int instance);

// The instance a register browser returns: entries with instances count an instance of 0
// as 1; entries without instances always use 0.
int NormaliseInstance(const ParamDef& def, int instance);
