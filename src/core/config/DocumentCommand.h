// The device commands of a configuration document, with their command ids, and the one rule
// that says which of them are enabled. The desktop application greys its menu entries with
// it, the command-line tool refuses with it, and the operations themselves check it first.
#pragma once

class CquillTrakDoc;

enum class DocumentCommand : int {
    DeviceOptions = 143,       // "Options for this Corvantix.net Liquid..."
    RetryCommunications = 144, // "&Retry Communications"
    GoOffline = 145,           // "Go &Offline"
    UpgradeFirmware = 148,     // "&Upgrade Firmware..."
    ReadSelectedFolder = 150,  // "&Read Selected Folder"
    ReadAll = 151,             // "Read &All"
    DumpSelectedFolder = 152,  // "&Dump Selected Folder"
    DumpAll = 153,             // "D&ump All"
    EventLog = 162,            // "&Event Log to File..."
    AuditLog = 163,            // "&Audit Log to File..."
    TransactionLog = 164,      // "&Transaction Log to File..."
    BrowseDevice = 167,        // "&Browse Corvantix.net Liquid..."
    VisitWebSite = 168,        // the maker's web site
    CheckForUpdates = 169,     // "&Check for Updates..."
    TerminalEmulator = 32771,  // "&Terminal Emulator\tAlt-F10"
};

// Whether a command of the document is enabled: reading, logs, Go Offline and Browse need a
// connection state of ReadOnly or better, dumping needs Online, the firmware upgrade a TCP/IP
// port (port 0), the update check the application's update-check flag; the rest always are.
// An id that is not a document command is disabled.
bool IsCommandEnabled(const CquillTrakDoc& doc, DocumentCommand command, bool updateCheckFlag = false);
