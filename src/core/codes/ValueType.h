// The value types of the program-code table. The numeric codes are part of register ids,
// configuration data files and device images, so they never change.
// Types 1 to 3 occur in no table entry but are still handled everywhere (1 like 6, 2 like 7,
// 3 like 8).
#pragma once

#include <cstdint>

enum class ValueType : uint8_t {
    Text = 0,
    Int8 = 1,
    Int16 = 2,
    Int32 = 3,
    Float = 4,
    Double = 5,
    UInt8 = 6,
    UInt16 = 7,
    UInt32 = 8,
    Flag = 9,
};

constexpr int kValueTypeCount = 10;

// Bytes a value of this type takes in a configuration data file record: Text 25, numbers
// their width, unknown types (above 9) nothing.
int FileValueSize(int type);

// Bytes a numeric value occupies in the image (0 for Text and unknown types).
int NumericSize(int type);

// "Text", "Int8", ... ; "Type%d" for codes above 9.
const char* ValueTypeName(int type);

// 1, 2, 3, 6, 7, 8 and 9.
bool IsIntegralType(int type);
