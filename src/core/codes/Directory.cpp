// Directory titles and kinds (see Directory.h).
#include "Directory.h"

namespace {

using K = DirectoryKind;

const DirectoryInfo kDirectories[36] = {
    {"Pulse Input Configuration", K::Configuration, true},
    {"Digital I/O Configuration", K::Configuration, true},
    {"Analog I/O Configuration", K::Configuration, true},
    {"System Configuration", K::Configuration, true},
    {"Security Configuration", K::Configuration, true},
    {"Prompt Configuration", K::Configuration, true},
    {"Alarm Configuration", K::Configuration, true},
    {"User Alarm Configuration", K::Configuration, true},
    {"Communications Configuration", K::Configuration, true},
    {"Injector Configuration", K::Configuration, true},
    {"Load Arm Configuration", K::Configuration, true},
    {"Meter Configuration", K::Configuration, true},
    {"Product Configuration", K::Configuration, true},
    {"Recipe Configuration", K::Configuration, true},
    {"System Run Data", K::RunData, false},
    {"Transaction Data", K::RunData, false},
    {"Batch Data", K::RunData, false},
    {"Product Run Data", K::RunData, false},
    {"Product Run Data for Batch", K::RunData, false},
    {"Injector Data", K::RunData, false},
    {"Digital I/O Status", K::RunData, false},
    {"Analog I/O Values", K::RunData, false},
    {"Recipe Run Data", K::RunData, false},
    {"Meter Run Data", K::RunData, false},
    {"System Alarms", K::RunData, false},
    {"Load Arm Alarms", K::RunData, false},
    {"Meter Alarms", K::RunData, false},
    {"Product Alarm Status", K::RunData, false},
    {"Injector Alarms", K::RunData, false},
    {"System Commands", K::Command, false},
    {"Digital Output Commands", K::Command, false},
    {"User Data", K::Configuration, false},
    {"Meter Commands", K::Command, false},
    {"Recipe Alarms", K::RunData, false},
    {"Analog Output Commands", K::Command, false},
    {"Arm Commands", K::Command, false},
};

} // namespace

const DirectoryInfo* Directory(int number)
{
    if (number < 0 || number >= 36)
        return nullptr;
    return &kDirectories[number];
}

const char* DirectoryTitle(int number)
{
    const DirectoryInfo* d = Directory(number);
    return d ? d->title : "";
}
