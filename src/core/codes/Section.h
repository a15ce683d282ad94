// The 18 sections of a configuration document. A section takes the program codes whose
// section code lies in its range; sections 14-17 share one range and are the four recipe
// instances. Each section fixes the two-character command directory of "PV"/"PC"/"XC".
#pragma once

#include <cstdint>
#include <QString>

struct SectionInfo {
    const char* title;
    uint32_t low;
    uint32_t high;
    int instance;
};

constexpr int kSectionCount = 18;
constexpr int kFirstRecipeSection = 14;
constexpr int kRecipeInstances = 4;

// nullptr for numbers outside 0-17.
const SectionInfo* Section(int number);

// "CF" below section 5, "SY" for 5 to 12, otherwise the instance plus one as two digits.
QString CommandDirectory(int section, int instance);

// A section number from "5" or a title ("General Purpose", case ignored); -1 when none.
int ParseSection(const QString& text);
