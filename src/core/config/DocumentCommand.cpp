// The enable rule of the configuration document's device commands (see DocumentCommand.h).
#include "DocumentCommand.h"

#include "CquillTrakDoc.h"

bool IsCommandEnabled(const CquillTrakDoc& doc, DocumentCommand command, bool updateCheckFlag)
{
    const int state = doc.connectionState;
    switch (command) {
    case DocumentCommand::DeviceOptions:
    case DocumentCommand::RetryCommunications:
    case DocumentCommand::TerminalEmulator:
    case DocumentCommand::VisitWebSite:
        return true;
    case DocumentCommand::GoOffline:
    case DocumentCommand::BrowseDevice:
    case DocumentCommand::ReadSelectedFolder:
    case DocumentCommand::ReadAll:
    case DocumentCommand::EventLog:
    case DocumentCommand::AuditLog:
    case DocumentCommand::TransactionLog:
        return state >= CquillTrakDoc::ReadOnly;
    case DocumentCommand::DumpSelectedFolder:
    case DocumentCommand::DumpAll:
        return state == CquillTrakDoc::Online;
    case DocumentCommand::UpgradeFirmware:
        return doc.port == 0;
    case DocumentCommand::CheckForUpdates:
        return updateCheckFlag;
    }
    return false;
}
