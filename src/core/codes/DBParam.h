// One program code of one section instance in a configuration document. A document holds
// 275 of them in one chain, in section order and within a section in position order; the
// values themselves live in the document's ConfigImage.
#pragma once

#include "ParamDef.h"

#include <cstdint>

struct DBParam {
    static constexpr uint32_t kReadOnlyFlag = 2;

    int32_t section = 0;      // 0..14; all four recipe instances carry 14
    int32_t position = 0;     // position within its section (0-based)
    int32_t instance = 0;     // 0..3 for the recipe sections, else 0
    int32_t sectionSize = 0;  // program codes in the section
    uint8_t programmed = 0;   // 1 once read, loaded or edited
    uint32_t flags = 0;       // kReadOnlyFlag when the name carries "{O}"
    const ParamDef* def = nullptr;
    int32_t number = 0;       // the program code number
    DBParam* next = nullptr;

    bool IsReadOnly() const { return (flags & kReadOnlyFlag) != 0; }
    // The section as the tree shows it: 14 + instance for recipes.
    int DisplaySection() const { return section == 14 ? 14 + instance : section; }
};
