// One entry of the static program-code table: a program code (directories 0-13) or a
// run-data register (directories 14-35). Entries are immutable data; the whole table lives in
// ParamTable.cpp in table order (value type, then directory, then index).
#pragma once

#include "ValueType.h"

#include <QString>
#include <cstdint>

// Which block of the ConfigImage holds a value.
enum class ImageBlock : uint8_t { Config = 0, RunData = 1 };

struct ValueLocation {
    ImageBlock block;
    uint16_t offset; // byte offset of instance 0 in its block
};

struct ParamDef {
    ValueLocation location;
    uint32_t sectionCode;   // selects the section of a program code; 0 for run-data items
    int16_t nameLiteral;    // LiteralTable entry of the device's short name, -1 when absent
    int16_t helpLiteral;    // LiteralTable entry of the device's help line, -1 when absent
    int16_t optionList;     // first LiteralTable entry of the option texts, -1 when absent
    int16_t securityOffset; // configuration-block byte of the security level, -1 when absent
    float minimum;
    float maximum;          // for Text: the maximum number of characters
    ValueType type;
    uint8_t directory;      // 0..35
    uint8_t index;          // position among the entries of the same type and directory
    const char* format;     // printf conversion, e.g. "%*.*f"
    uint8_t width;
    uint8_t precision;
    uint16_t instanceStride;
    uint16_t instanceCount; // 0 and 1 both mean a single instance
    const char* name;       // "111 Flow Rate Time"; "{O}" at the end marks read-only
    uint16_t storage;       // bytes one instance may occupy in its block (Text: capacity with NUL)

    int Type() const { return static_cast<int>(type); }
    bool IsReadOnly() const;
    bool HasSecurityLevel() const { return securityOffset >= 0; }
    bool HasOptions() const { return optionList >= 0; }
    bool IsProgramCode() const { return directory < 14; }
    // The decimal number at the start of the name (program codes only).
    int ProgramCodeNumber() const;
    // The name as lists show it: without the "{O}" mark.
    QString DisplayName() const;
};
