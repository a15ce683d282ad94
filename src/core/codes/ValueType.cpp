// Sizes and names of the value types (see ValueType.h).
#include "ValueType.h"

int FileValueSize(int type)
{
    if (type == 0)
        return 25;
    return NumericSize(type);
}

int NumericSize(int type)
{
    switch (type) {
    case 1: case 6: case 9: return 1;
    case 2: case 7: return 2;
    case 3: case 8: case 4: return 4;
    case 5: return 8;
    default: return 0;
    }
}

const char* ValueTypeName(int type)
{
    static const char* const names[kValueTypeCount] = {
        "Text", "Int8", "Int16", "Int32", "Float", "Double", "UInt8", "UInt16", "UInt32", "Flag",
    };
    if (type >= 0 && type < kValueTypeCount)
        return names[type];
    return "Unknown";
}

bool IsIntegralType(int type)
{
    return (type >= 1 && type <= 3) || (type >= 6 && type <= 9);
}
