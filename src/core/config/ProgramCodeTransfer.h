// Reading program codes from the device into a configuration document and dumping them back,
// one program code at a time: Read Selected Folder, Read All, Dump Selected Folder and Dump
// All. Each runs behind the progress window with Cancel, on the document's link.
//
// Reading sends "PV dd nnn" per program code and stores the value from offset 10 of the
// reply; program codes with a security level (first two recipe instances and every
// non-recipe program code) also get "XV dd nnn" and store the level digit at offset 10.
// Dumping sends "PC dd nnn value" per programmed program code and "XC dd nnn level" where a
// level is set, and logs the device off after a completed walk.
//
// Invariants: every program code a read visits is programmed afterwards, and a read that
// stored anything leaves the document modified however it ended. A level is stored only from
// an accepted "XV" reply whose level character is a digit 0 to 3. A dump never changes the
// document. Nothing is sent while the device does not answer or the command is not enabled.
#pragma once

#include "DocumentCommand.h"

#include <QString>

class CquillTrakDoc;
class DeviceConnection;
class UserInterface;
struct DBParam;

class ProgramCodeTransfer {
public:
    enum class Outcome {
        Completed,     // the walk reached the end of its range
        Cancelled,     // Cancel in the progress window
        Aborted,       // Abort in an Abort / Retry / Ignore box
        SendFailed,    // a command could not be sent; the walk stopped
        NotResponding, // the device did not answer before the walk
        NoSelection,   // a selected-folder command with no section selected
        NotEnabled,    // the connection state does not allow the command
    };

    // The program codes of the selected folder: [first, end) along the chain and the count.
    struct Range {
        DBParam* first = nullptr;
        DBParam* end = nullptr;
        int size = 0;
    };

    explicit ProgramCodeTransfer(DeviceConnection& connection);

    Outcome ReadSelectedFolder();
    Outcome ReadAll();
    Outcome DumpSelectedFolder();
    Outcome DumpAll();
    Outcome Run(DocumentCommand command);

    // Section s with program codes: from its first to the first of the next section that has
    // any. Section 0 ("Configuration"): sections 1 to 4. Section 13 ("Recipe"): the four recipe
    // instances. No section (-1, or out of range): an empty range.
    static Range SelectedRange(const CquillTrakDoc& doc, int section);

private:
    enum class Kind { ReadSelected, ReadAll, DumpSelected, DumpAll };
    enum class Step { Next, Retry, Stop };

    Outcome Transfer(Kind kind);
    Step ReadOne(Kind kind, DBParam& p, Outcome& outcome);
    Step DumpOne(Kind kind, DBParam& p, Outcome& outcome);
    void DumpSecurityLevel(const DBParam& p);

    DeviceConnection& m_connection;
    CquillTrakDoc& m_doc;
    UserInterface& m_ui;
    bool m_stored = false; // a read stored at least one value
};
