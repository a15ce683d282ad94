// The four tables of rejection texts, in one place. A number picks its table by range
// (compared unsigned, so negative numbers fall outside every table).
#include "RejectionTexts.h"

#include <iterator>

namespace {

const char* const kNoxx[] = {
    "Invalid Command", "In Program Mode", "PendraLux Released", "Value out of Range", "Flow Active",
    "No Transaction Ever Done", "Operation Not Allowed", "Wrong Control Mode", "Transaction In Progress",
    "Alarm Condition", "Storage Full", "Operation Out of Sequence", "Power Failed During Transaction",
    "Comm Authorized", "Program Code Not Used", "Keypad/Display in Use", "Ticket Not In Printer",
    "No Keypad Data Pending", "No Transaction In Progress", "Option Not Installed", "Start after Stop Delay",
    "Permissive Delay Active", "Print Request Pending", "No Meter Enabled", "Must be in Program Mode",
    "Ticket Alarm During Transaction", "Volume Type Not Selected", "Exactly 1 Recipe Must be Enabled",
    "Batch Limit Reached", "Checking Entries", "Product/Recipe/Additive Not Assigned",
    "Invalid for Current Configuration", "No Key Ever Pressed", "Maximum active arms exceeded",
    "Transaction Not Standby", "Swing Arm out of Position", "Card-In Required", "Data Not Available",
    "Multiple Additives Enabled On Meter", "No Current Batch On This Arm",
};

const char* const kNo9x[] = {
    "Minicomputer Protocol Required", "Buffer Allocation Failure", "Keypad Locked", "Data Recall Failure",
    "Not in Program Mode", "Security Access Not Available", "Undefined Error", "Undefined Error",
    "Undefined Error", "Internal Error",
};

const char* const kCritical[] = {
    "Empty Configuration", "Block Not Found", "Bad Message Format", "Block Out of Sequence",
    "Invalid Flash Data", "Data too large for Target Buffer", "Bad CRC", "No Configuration Available",
    "Download Already in Progress", "Bad Database Identifier", "In Program Mode", "PendraLux Released",
    "Value Out of Range", "Flow Active", "No Transaction Ever Done", "Operation Not Allowed",
    "Wrong Control Mode", "Transaction in Progress", "Alarm Active", "Storage Full",
    "Operation Out of Sequence", "Power Failed During Transaction", "PendraLux Authorized",
    "Program Code Not Used", "Display/Keypad in Remote Control", "No Keypad data pending",
    "No Transaction in Progress", "Option Not Installed", "Start after Stop Delay", "Permissive Delay Active",
    "Print Request Pending", "No Meter Enabled", "Must be in Program Mode", "Ticket Alarm During Transaction",
    "Volume Type Not Selected", "Exactly 1 Recipe Must be Enabled", "Batch Limit Reached", "Checking Entries",
    "Product/Recipe/Additive Not Assigned", "Minicomputer Protocol Required", "Buffer Allocation Error",
    "Keypad Locked", "Data Recall Failed", "Internal Error", "Transmit Reply", "Unknown Error", "Unused Batch",
};

const char* const kFatal[] = {
    "Internal Flash Error", "Flash Has Overrun", "Internal Buffer Error", "Buffer Allocation Error",
    "Buffer Overrun", "Flash Erase Error", "Flash Write Error",
};

static_assert(std::size(kNoxx) == 40 && std::size(kNo9x) == 10 && std::size(kCritical) == 47 && std::size(kFatal) == 7);

struct Table {
    uint32_t first;
    const char* const* texts;
    uint32_t count;
};

// From the highest range down, as the ranges nest: fatal from 0xC000, critical from 0x8000,
// NO9x from 90, NOxx from 0.
const Table kTables[] = {
    {0xC000, kFatal, uint32_t(std::size(kFatal))},
    {0x8000, kCritical, uint32_t(std::size(kCritical))},
    {90, kNo9x, uint32_t(std::size(kNo9x))},
    {0, kNoxx, uint32_t(std::size(kNoxx))},
};

} // namespace

QString RejectionTextFor(int32_t number)
{
    const uint32_t n = uint32_t(number);
    for (const Table& t : kTables) {
        if (n >= t.first) {
            if (n - t.first < t.count)
                return QString::fromLatin1(t.texts[n - t.first]);
            break;
        }
    }
    return QStringLiteral("Unknown rejection %1").arg(number);
}

QString FormatRejection(int32_t number)
{
    // Two digits at least, as "NO%02.2d" gives (the 0 flag adds nothing to a precision).
    return QString::asprintf("NO%.2d - ", number) + RejectionTextFor(number);
}
