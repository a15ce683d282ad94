// The differences between two configurations: the program codes whose value text (as the
// parameter list shows it, empty when not programmed) or security level differ. Both
// documents have the same chain, so program codes are paired by their place in it.
// Read-only program codes (the device's clock) are left out unless asked for: they are not
// configuration and differ from one reading to the next.
#pragma once

#include "DBParam.h"

#include <QString>
#include <vector>

class CquillTrakDoc;

class ConfigComparison {
public:
    struct Side {
        bool programmed = false;
        QString value; // FormatValue when programmed, else empty
        int level = 0;
    };
    struct Difference {
        const DBParam* param = nullptr; // in the first document
        int section = 0;                // as the tree shows it: 14 to 17 for the recipes
        Side a;
        Side b;
    };

    // Every difference in chain order. section -1 compares the whole chain; 0 to 17 only the
    // program codes a selected-folder read of that section covers.
    static std::vector<Difference> Compare(const CquillTrakDoc& a, const CquillTrakDoc& b, int section = -1,
                                           bool includeReadOnly = false);
};
