// The terminal's command menus (see TerminalCommandTable.h).
#include "TerminalCommandTable.h"

#include <algorithm>
#include <vector>

namespace {

#define CR "\r"

constexpr TerminalMenuItem kItems[] = {
    {18101, "Status", "EQ - Status Bitmap (F4)", "EQ" CR, "Returns the state of condition flags in the Corvantix as a bit field.", false},
    {18102, "Status", "EA - Alarm Bitmap", "EA ", "Returns alarm states in a bit field format (EA dd) where dd=directory)", false},
    {18103, "Status", "RS - Status Codes", "RS" CR, "Returns condition flags in a text string consisting of two-character mnemonic codes.", false},
    {18104, "Status", "RA - Alarm Codes", "RA ", "Returns active alarms in string of two-character mnemonics. (RA dd) where dd=dir", false},
    {18106, "Status", "RR - Show Current Recipe", "RR" CR, "Returns the currently selected recipe", false},
    {18107, "Status", "GP - Get EPROM CRC32", "GP" CR, "Returns a hexadecimal 32 bit value uniquely identifying the installed firmware revision (crc)", false},
    {18108, "Status", "LO - Immediate Program Mode Log Off", "LO" CR, "Exit program mode via communications; begin checking entries (LO)", false},
    {18201, "System Data", "GD - Get Date and Time", "GD" CR, "Returns the date and time in text format", false},
    {18202, "System Data", "PV - Program Code Value", "PV ", "Retrieves a program code value from the Corvantix (PV xx yyy) where xx=dir yyy=param#", false},
    {18203, "System Data", "FL - Flow Pulse Count", "FL" CR, "Returns current flow count (in meter pulses) (FL VVVVVVVVVV)", false},
    {18305, "System Data", "RD - Current Analog Input Data", "RD ", "Returns current analog input data (RD y) where y=T Temp P Press D Dens", false},
    {18204, "System Data", "RQ - Flow Rate", "RQ" CR, "Returns current flow rate (in selected volume/time units, such as GPM)", false},
    {18205, "System Data", "PF - Time of Power Fail", "PF" CR, "Returns the time the last interruption in power occurred", false},
    {18206, "System Data", "VT - Request Non-reset Data", "VT ", "Returns nonresettable totalizer data (VT t)(VT t rr)(VT Ay) where t=vol type, rr=recipe y=additive #", false},
    {18221, "System Data", "SD - Set Date and Time", "SD ", "Sets the date and time (SD mmddyyyy hhMM a)", false},
    {18222, "System Data", "PC - Change Program Value", "PC ", "Sets the value of a program code (PC xx yyy n...n) where xx=dir, yyy=param#, n...n=value {HC}(P/P)", false},
    {18224, "System Data", "XV - Read Program Code Securlty Level", "XV ", "Retrieve security level for program code (XV dd ppp where dd=directory, ppp=program code#)", false},
    {18223, "System Data", "XC - Set Program Code Security Level", "XC ", "Set security level for program code (XC DD PPP S where s is new level 1-3) {HC}", false},
    {18226, "System Data", "IC - Send Injector Command", "IC ", "Send command to smart injector (IC cmd) where cmd is passed to injector", false},
    {18225, "System Data", "IR - Get Injector Response", "IR" CR, "Retrieve response to injector command (IR)", false},
    {18230, "System Data", "MC - Send Mass Meter Command", "MC ", "Sends a command to an K-Drum or Zephan meter (MC m...m)", false},
    {18229, "System Data", "MR - Get Mass Meter Response", "MR" CR " ", "Retrieves responses to K-Drum or Zephan meter commands (MR)", false},
    {18301, "Transaction Data", "AT - Additive Totals by Transaction", "AT ", "Retrieves Transaction Additive volumes (AT x) where x=additive", false},
    {18303, "Transaction Data", "LT - Load Average Temp", "LT ", "Returns Load Average Temperature (LT R)(LT yy[ nnn]) yy=batch# nnn=Trans#", false},
    {18311, "Transaction Data", "LP - Load Average Pressure", "LP ", "Returns Load Average Pressure data (LP R)(LP yy[ nnn]) yy=batch#)", false},
    {18310, "Transaction Data", "LD - Load Average Density", "LD ", "Returns load average density value (LD R)(LD yy[ nnn]) yy=batch#)", false},
    {18804, "Transaction Data", "RL - Recipes Loaded", "RL", "Returns a bitmap of recipes loaded for transaction (RL[ nnn])", false},
    {18307, "Transaction Data", "RT - Request Batch Volume", "RT ", "Returns current batch volume (RT t[ nnn])(RT t rr[ nnn]) t=vol type, rr=rec)", false},
    {18309, "Transaction Data", "TN - Batch Number  Stop Date/Time", "TN", "Returns transaction end date and time (TN[ nnn])", false},
    {18401, "Historical Data", "ER - Event Recall", "ER ", "Retrieves data from the event log (ER sss..s) where s is seq. no.", false},
    {18402, "Historical Data", "ES - Latest Event Sequence Number", "ES" CR, "Retrieve the sequence number of the latest event in the event log", false},
    {18403, "Historical Data", "PR - Program Change Recall", "PR ", "Retrieves data from the program change log (PR sss..s) where s is seq. no.", false},
    {18404, "Historical Data", "PS - Latest Program Change Sequence Number", "PS" CR, "Retrieves the sequence number of the latest event in the program change log", false},
    {18405, "Historical Data", "TR - Batch Recall", "TR ", "Retrieves transaction data requested (TR sss..s) where s is seq. #", false},
    {18408, "Historical Data", "TU - Recall of Archived User Data", "TU ", "Retrieves transaction archived user data requested (TU sss..s) where s is seq. #", false},
    {18407, "Historical Data", "TS - Latest Batch Number", "TS" CR, "Returns sequence number of most recent transaction", false},
    {18501, "User Data", "BR - Read User Register", "BR ", "Read from the user data area (BR x yyy) where x=B(bool) F(float) T(Timer) S(String), yyy=register", false},
    {18502, "User Data", "BW - Write User Register", "BW ", "Write to the user data area (BW x yyy d..d) where x=B(bool) F(float) T(Timer) S(String) or A(Alarm), yyy=reg d..d=data", false},
    {18624, "Run Time Display", "DY - Dynamic Display Data", "DY ", "Retrieve dynamic display data (DY xxyy)  xx=dir index, yy is item #)", true},
    {18708, "Control", "AR - Alarm Reset", "AR", "Resets an alarm (AR), (AR xx dd), (AR xx IN yy) where xx=alarm, dd=dir, yy=inj {HC}", false},
    {18706, "Control", "OR - Set Output Relay", "OR ", "Sets state of general purpose output relay (OR xx y) where xx is output #, y is 0 (off) or 1 (on)", false},
    {18707, "Control", "RE - Reset Status Flag", "RE ", "Reset condition flag (RE xx) where xx=PC, PF, TD, etc.)", false},
    {18731, "Control", "PP - Print Report at Printer", "PP", "Forces a reprint of a stored transaction (PP[ NNN])", false},
    {18732, "Control", "PT - Print Batch to Host", "PT", "Returns a transaction report to the requesting host (PT[ nnn])", false},
    {18722, "Control", "SB - Reset Batch", "SB ", "Authorizes and presets a batch (SB[ v...v])(SB a1 v...v) where v...v=vol, a1=inj map {HC}", false},
};

// Prefixes that have no menu item; they only select a help topic while typing.
constexpr TerminalPrefix kHelpOnlyPrefixes[] = {
    {19105, "SR" CR}, {19109, "TS"}, {19110, "TR"}, {19121, "CV" CR}, {19122, "CF" CR}, {19123, "SW" CR},
    {19227, "OA" CR}, {19228, "BA" CR}, {19302, "AV"}, {19304, "RB"}, {19306, "RP" CR}, {19308, "TI"},
    {19312, "CP"}, {19313, "DS"}, {19314, "LS"}, {19406, "TB"}, {19503, "SV"}, {19601, "WA"},
    {19602, "WB"}, {19603, "WC"}, {19604, "WD"}, {19605, "WE"}, {19606, "WF"}, {19607, "WG"},
    {19608, "WP"}, {19609, "WQ"}, {19610, "WX"}, {19621, "RK" CR}, {19622, "GK" CR}, {19623, "DA" CR},
    {19625, "FS" CR}, {19626, "SS" CR}, {19701, "AB"}, {19702, "AU"}, {19703, "AP"}, {19704, "EB" CR},
    {19705, "ET" CR}, {19709, "CT" CR}, {19721, "TA"}, {19723, "SA" CR}, {19724, "ST" CR}, {19725, "SP" CR},
    {19726, "TD"}, {19727, "TW"}, {19728, "AO"}, {19729, "MS"}, {19730, "SF"}, {19805, "RN"},
    {19901, "CD"}, {19902, "DI"}, {19903, "DD"}, {19904, "DU" CR}, {19905, "DQ"},
};

#undef CR

std::vector<TerminalPrefix> BuildPrefixes()
{
    std::vector<TerminalPrefix> all(std::begin(kHelpOnlyPrefixes), std::end(kHelpOnlyPrefixes));
    for (const TerminalMenuItem& item : kItems)
        all.push_back({item.id + 1000, item.prefix});
    std::sort(all.begin(), all.end(), [](const TerminalPrefix& a, const TerminalPrefix& b) { return a.id < b.id; });
    return all;
}

} // namespace

std::span<const TerminalMenuItem> TerminalCommandTable::MenuItems()
{
    return kItems;
}

const TerminalMenuItem* TerminalCommandTable::FindItem(int id)
{
    for (const TerminalMenuItem& item : kItems) {
        if (item.id == id)
            return &item;
    }
    return nullptr;
}

std::span<const TerminalPrefix> TerminalCommandTable::Prefixes()
{
    static const std::vector<TerminalPrefix> all = BuildPrefixes();
    return all;
}

int TerminalCommandTable::HelpTopicFor(const QString& input)
{
    int topic = kDefaultHelpTopic;
    if (input.size() < 2)
        return topic;
    const QString head = input.left(2);
    for (const TerminalPrefix& p : Prefixes()) {
        if (head == QLatin1String(p.prefix).left(2))
            topic = p.id - 11000;
    }
    return topic;
}

QString TerminalCommandTable::TypedText(const QString& typed)
{
    if (typed.size() >= 8)
        return typed.left(7).toUpper() + typed.mid(7);
    return typed.toUpper();
}
