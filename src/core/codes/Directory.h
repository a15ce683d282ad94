// The 36 directories of the program-code table: titles and kinds. Directories 0-13 hold
// program codes, 14-35 run data. The register browser treats some run-data directories as
// commands and directory 31 "User Data" as configuration.
#pragma once

enum class DirectoryKind { Configuration, RunData, Command };

struct DirectoryInfo {
    const char* title;
    DirectoryKind kind;        // as the register browser offers it
    bool configurationTable;   // true for directories 0-13 (program codes)
};

// nullptr for numbers outside 0-35.
const DirectoryInfo* Directory(int number);
const char* DirectoryTitle(int number);
