// The static program-code table: 578 ParamDef entries in table order (value type, then
// directory 0-35, then index). The entries themselves are data in ParamTable.cpp; this class
// only answers questions about them.
//
// Invariants checked by the tests: per type Text 83, Float 113, Double 38, UInt8 166,
// UInt16 82, UInt32 26, Flag 70; 248 entries in configuration directories (245 program codes
// in sections plus the three access codes), 330 in run-data directories.
#pragma once

#include "ParamDef.h"

#include <span>

class ParamTable {
public:
    static constexpr int kEntryCount = 578;
    static constexpr int kDirectoryCount = 36;
    static constexpr int kFirstRunDataDirectory = 14;

    // Every entry in table order.
    static std::span<const ParamDef> Entries();
    // The entries of one value type and directory, in index order (empty when none, or when
    // the type or directory is out of range).
    static std::span<const ParamDef> Slot(int type, int directory);
    // Position of an entry in table order, -1 when it is not part of the table.
    static int IndexOf(const ParamDef* def);
    // The program code with this number in a configuration directory among the entries of a
    // section code range, or nullptr.
    static const ParamDef* FindProgramCode(int number, uint32_t sectionLow, uint32_t sectionHigh);
};
